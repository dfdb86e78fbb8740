#include "model/Settings.h"
#include "model/StringFilters.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

class StringFilters : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // The bare texts that survive with all switches off under the default locale.
    static std::vector<std::string> kept(std::string_view line, const Settings& settings = {})
    {
        std::vector<std::string> out;
        lingrove::scanner::forEachAcceptedLiteral(line, scanFilters(settings),
                                                  [&](int, int, std::string_view text) { out.emplace_back(text); });
        return out;
    }
};

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);

} // namespace

TEST_F(StringFilters, NumbersUnderCommaAndPointLocales)
{
    for (const char* n : {"12340", "125,13", "-1,5", "+3", " 7 ", "1,5E3", "2e-7", ",5", "5,", "0,0e+0", "1e4931"})
        EXPECT_TRUE(isLocaleNumber(QString::fromLatin1(n), German)) << n;
    for (const char* n : {"125.13", "1.234,5", "", " ", ",", "-", "1e", "e5", "1,5,3", "12a", "1 2", "0x10", "inf",
                          "NaN", "1e4933", "99e4931"})
        EXPECT_FALSE(isLocaleNumber(QString::fromLatin1(n), German)) << n;
    EXPECT_TRUE(isLocaleNumber(QStringLiteral("125.13"), English));
    EXPECT_FALSE(isLocaleNumber(QStringLiteral("125,13"), English));
    EXPECT_FALSE(isLocaleNumber(QStringLiteral("1,250.5"), English));
    // Tiny values underflow to zero and still convert; leading zeros do not count.
    EXPECT_TRUE(isLocaleNumber(QStringLiteral("1e-6000"), English));
    EXPECT_TRUE(isLocaleNumber(QStringLiteral("0000000000001.5e4931"), English));
}

TEST_F(StringFilters, DatesFollowSeparatorAndOrderOfTheLocale)
{
    for (const char* d : {"19.04.98", "1.5", "29.2.2000", "31.12.1999 23:59", "1.5.98 12:25:30", " 1 . 5 "})
        EXPECT_TRUE(isLocaleDateTime(QString::fromLatin1(d), German)) << d;
    for (const char* d : {"12:25:30", "19/04/98", "32.1.98", "1.13.98", "29.2.1999", "1.5.", "1", "1.5 25:00",
                          "1.5 12:60", "1.5 x", "1.5.98.1", ""})
        EXPECT_FALSE(isLocaleDateTime(QString::fromLatin1(d), German)) << d;
    // English (US): month first, "/" between the numbers, AM/PM allowed.
    for (const char* d : {"4/19/98", "12/31", "4/19/1998 1:05 PM", "4/19/98 12:00:00.5"})
        EXPECT_TRUE(isLocaleDateTime(QString::fromLatin1(d), English)) << d;
    for (const char* d : {"19/4/98", "19.04.98", "4/19/98 13:00 PM", "12:25"})
        EXPECT_FALSE(isLocaleDateTime(QString::fromLatin1(d), English)) << d;
}

TEST_F(StringFilters, ScannerDropsByTheDefaultLocale)
{
    QLocale::setDefault(German);
    EXPECT_EQ(kept("a('12340', '125,13', '19.04.98', '1.5', '12:25:30', 'Datei')"),
              (std::vector<std::string>{"12:25:30", "Datei"}));
    QLocale::setDefault(English);
    EXPECT_EQ(kept("a('12340', '125,13', '125.13', '4/19/98', '1.5', '19.04.98')"),
              (std::vector<std::string>{"125,13", "19.04.98"}));
}

TEST_F(StringFilters, FontNamesExactAndCaseSensitive)
{
    const QStringList families = QFontDatabase::families();
    if (families.isEmpty())
        GTEST_SKIP() << "no fonts installed";
    const QString font = families.front();
    EXPECT_TRUE(isFontName(font));
    EXPECT_FALSE(isFontName(font + QLatin1Char(' ')));
    if (font.toUpper() != font) {
        EXPECT_FALSE(isFontName(font.toUpper()));
    }
    EXPECT_FALSE(isFontName(QStringLiteral("No Such Font Family 4711")));
    // The families of Windows count whether installed here or not.
    EXPECT_TRUE(isFontName(QStringLiteral("MS Sans Serif")));
    EXPECT_FALSE(isFontName(QStringLiteral("ms sans serif")));
    EXPECT_TRUE(kept("  Font.Name = 'Tahoma'\n  Caption = 'Arial'").empty());

    const std::string line = "  Font.Name = '" + font.toStdString() + "'";
    EXPECT_TRUE(kept(line).empty());
    Settings accept;
    accept.accept.Fonts = true;
    EXPECT_EQ(kept(line, accept).size(), 1u);
}
