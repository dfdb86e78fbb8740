#pragma once
// The locale- and font-dependent kind tests of the string filters: font
// names, numbers and dates under the current locale. The scanner gets
// them as callbacks on Windows-1252 text.
#include "model/TextCodec.h"
#include "core/scanner/Scanner.h"

#include <QLocale>
#include <QString>

#include <string_view>

namespace lingrove::model {

// True when text is a font family, compared exactly: one of those Windows
// ships (which the projects' forms name whatever this machine has), or one
// installed here (known only with a QGuiApplication).
bool isFontName(const QString& text);

// True when text reads as a floating-point number under locale: blanks around
// it, an optional sign, digits with at most one of the locale's decimal
// separators, an optional exponent ("E" or "e", optional sign, digits). At
// least one digit before the exponent. No thousands separators. A value
// beyond the extended range (about 1.1E4932) is no number.
bool isLocaleNumber(const QString& text, const QLocale& locale);

// True when text reads as a date under locale, optionally followed by a time:
// two or three numbers joined by the locale's date separator, in the order of
// its short date format (with two numbers the year is the current one; a
// year below 100 lies in the current century), then optionally hours, minutes,
// seconds and milliseconds joined by the time separator (milliseconds by the
// decimal separator) and an AM/PM marker. Blanks may stand around every part.
// A time alone is no date.
bool isLocaleDateTime(const QString& text, const QLocale& locale);

struct Settings;

// The three kind tests bound to the default locale (QLocale()) and the font
// families of isFontName at the time of the call.
scanner::KindTests currentKindTests();

// The filters of settings, with the current kind tests.
scanner::ScanFilters scanFilters(const Settings& settings);

} // namespace lingrove::model
