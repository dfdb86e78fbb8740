#include "model/ColourScheme.h"
#include "model/DelphiInstallation.h"

#include "platform/KeyStore.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove;
using pascal::Rgb;
using pascal::TokenKind;
using pascal::TokenStyle;

namespace {

struct ColourSchemeTest : ::testing::Test {
    QTemporaryDir dir;
    platform::KeyStore store{dir.filePath(QStringLiteral("registry.txt"))};
};

} // namespace

TEST_F(ColourSchemeTest, MissingKeyGivesClassicColoursAndIsNotCreated)
{
    EXPECT_EQ(model::delphi::highlightKey(3), QStringLiteral("Software\\Borland\\Delphi\\3.0\\HighLight"));
    const auto s = model::readColourScheme(2, store);
    EXPECT_EQ(s.styles, pascal::ColourScheme::classic().styles);
    EXPECT_FALSE(store.keyExists(QStringLiteral("Software\\Borland\\Delphi\\2.0")));
}

TEST_F(ColourSchemeTest, StoredValuesWin)
{
    const QString key = model::delphi::highlightKey(2);
    store.writeString(key, QStringLiteral("Comment"), QStringLiteral("255,0,B,0,0,0,0"));
    store.writeString(key, QStringLiteral("reserved_word"), QStringLiteral("0,0,,0,0,0,0"));
    store.writeString(key, QStringLiteral("Identifier"), QStringLiteral("32768,0,IU,0,0,0,0"));
    // Values for the kinds without a value name are never read.
    store.writeString(key, QStringLiteral("IGNORE"), QStringLiteral("255,0,BIU"));

    const auto s = model::readColourScheme(2, store);
    EXPECT_EQ(s[TokenKind::Comment], (TokenStyle{Rgb{255, 0, 0}, true, false, false}));
    EXPECT_EQ(s[TokenKind::ReservedWord], TokenStyle{});
    EXPECT_EQ(s[TokenKind::Identifier], (TokenStyle{Rgb{0, 128, 0}, false, true, true}));
    EXPECT_EQ(s[TokenKind::String], pascal::ColourScheme::classic()[TokenKind::String]);
    EXPECT_EQ(s[TokenKind::LineBreak], TokenStyle{});
    EXPECT_EQ(s[TokenKind::BareWord], TokenStyle{});

    // Delphi 3 has its own key.
    EXPECT_EQ(model::readColourScheme(3, store).styles, pascal::ColourScheme::classic().styles);
}

TEST_F(ColourSchemeTest, SystemColoursComeFromThePalette)
{
    store.writeString(model::delphi::highlightKey(3), QStringLiteral("Symbol"),
                      QStringLiteral("-16777208,0,B"));   // window text
    const QColor text = QGuiApplication::palette().color(QPalette::Text);
    const auto s = model::readColourScheme(3, store);
    EXPECT_EQ(s[TokenKind::Symbol].colour,
              (Rgb{static_cast<quint8>(text.red()), static_cast<quint8>(text.green()),
                   static_cast<quint8>(text.blue())}));
    EXPECT_TRUE(s[TokenKind::Symbol].bold);
    EXPECT_EQ(model::systemColour(2), (Rgb{0, 0, 128}));   // no palette role: classic
}

TEST_F(ColourSchemeTest, OnlyDelphiTwoAndThree)
{
    try {
        model::readColourScheme(4, store);
        ADD_FAILURE() << "no error";
    } catch (const pascal::HighlightVersionError& e) {
        EXPECT_STREQ(e.what(), "Only syntax highlighting from Delphi 2 and 3 are supported");
    }
}
