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
    platform::KeyStore store{dir.filePath("registry.txt")};
};

} // namespace

TEST_F(ColourSchemeTest, StoredValuesWinOverTheClassicColours)
{
    // A missing key gives the classic colours and is not made.
    EXPECT_EQ(model::readColourScheme(2, store).styles, pascal::ColourScheme::classic().styles);
    EXPECT_FALSE(store.keyExists("Software\\Borland\\Delphi\\2.0"));

    const QString key = model::delphi::highlightKey(2);
    store.writeString(key, "Comment", "255,0,B,0,0,0,0");
    store.writeString(key, "reserved_word", "0,0,,0,0,0,0");
    // Values for the kinds without a value name are never read.
    store.writeString(key, "IGNORE", "255,0,BIU");
    const auto s = model::readColourScheme(2, store);
    EXPECT_EQ(s[TokenKind::Comment], (TokenStyle{Rgb{255, 0, 0}, true, false, false}));
    EXPECT_EQ(s[TokenKind::ReservedWord], TokenStyle{});
    EXPECT_EQ(s[TokenKind::String], pascal::ColourScheme::classic()[TokenKind::String]);
    EXPECT_EQ(s[TokenKind::BareWord], TokenStyle{});
    // Delphi 3 has its own key; there is no other.
    EXPECT_EQ(model::readColourScheme(3, store).styles, pascal::ColourScheme::classic().styles);
    EXPECT_THROW(model::readColourScheme(4, store), pascal::HighlightVersionError);
}

TEST_F(ColourSchemeTest, SystemColoursComeFromThePalette)
{
    store.writeString(model::delphi::highlightKey(3), "Symbol", "-16777208,0,B");   // window text
    const QColor text = QGuiApplication::palette().color(QPalette::Text);
    const auto s = model::readColourScheme(3, store);
    EXPECT_EQ(s[TokenKind::Symbol].colour, (Rgb{quint8(text.red()), quint8(text.green()), quint8(text.blue())}));
    EXPECT_TRUE(s[TokenKind::Symbol].bold);
    EXPECT_EQ(model::systemColour(2), (Rgb{0, 0, 128}));   // no palette role: classic
}
