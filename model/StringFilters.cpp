#include "model/StringFilters.h"

#include "model/Settings.h"
#include "model/TextCodec.h"

#include <QCoreApplication>
#include <QDate>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_set>

namespace lingrove::model {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A reading position in a text, with the steps shared by the number, date and
// time readers.
struct Reader {
    const QString& s;
    qsizetype i = 0;

    bool atEnd() const { return i >= s.size(); }
    void skipBlanks()
    {
        while (i < s.size() && s[i] == u' ')
            ++i;
    }
    // Reads the literal text t (case-insensitive when asked) at the position.
    bool take(const QString& t, Qt::CaseSensitivity cs = Qt::CaseSensitive)
    {
        if (t.isEmpty() || QStringView(s).mid(i, t.size()).compare(t, cs) != 0)
            return false;
        i += t.size();
        return true;
    }
    bool takeChar(char16_t c)
    {
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    // Counts and skips a run of ASCII digits.
    int digits()
    {
        int n = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++n;
        }
        return n;
    }
    // Blanks, then an unsigned decimal number (at most 9 significant digits kept
    // exact; larger values saturate).
    bool number(int& value)
    {
        skipBlanks();
        const qsizetype start = i;
        long long v = 0;
        while (i < s.size() && isDigit(s[i])) {
            v = std::min<long long>(v * 10 + (s[i].unicode() - u'0'), 1'000'000'000LL);
            ++i;
        }
        value = static_cast<int>(v);
        return i > start;
    }
    // Blanks, then the separator text.
    bool separator(const QString& sep)
    {
        skipBlanks();
        return take(sep);
    }
};

enum class DateOrder { DMY, MDY, YMD };

// The first separator character of a Qt date or time format after its first
// field letter (letters and quoted text are fields and literals).
QString formatSeparator(const QString& format, const QString& fieldLetters, const QString& fallback)
{
    qsizetype i = 0;
    while (i < format.size() && !fieldLetters.contains(format[i]))
        ++i;
    for (; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c.isLetter() || c == u' ' || c == u'\'')
            continue;
        return QString(c);
    }
    return fallback;
}

DateOrder dateOrder(const QString& format)
{
    for (QChar c : format) {
        if (c == u'y')
            return DateOrder::YMD;
        if (c == u'M')
            return DateOrder::MDY;
        if (c == u'd')
            return DateOrder::DMY;
    }
    return DateOrder::MDY;
}

// What dates and times look like under a locale, worked out once: asking the
// locale for its formats costs more than reading a literal.
struct DateTimeFormat {
    QString dateSeparator;
    DateOrder order = DateOrder::MDY;
    QString timeSeparator;
    QString decimalPoint;
    QString am;
    QString pm;

    explicit DateTimeFormat(const QLocale& locale)
    {
        const QString date = locale.dateFormat(QLocale::ShortFormat);
        dateSeparator = formatSeparator(date, QStringLiteral("dMy"), QStringLiteral("/"));
        order = dateOrder(date);
        timeSeparator =
            formatSeparator(locale.timeFormat(QLocale::ShortFormat), QStringLiteral("Hh"), QStringLiteral(":"));
        decimalPoint = locale.decimalPoint();
        am = locale.amText();
        pm = locale.pmText();
    }
};

bool readTime(Reader& r, const DateTimeFormat& f)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    if (!r.number(hour))
        return false;
    if (r.separator(f.timeSeparator)) {
        if (!r.number(minute))
            return false;
        if (r.separator(f.timeSeparator)) {
            if (!r.number(second))
                return false;
            if (r.separator(f.decimalPoint) && !r.number(msec))
                return false;
        }
    }
    r.skipBlanks();
    int base = -1;
    for (const QString& am : {f.am, QStringLiteral("AM")})
        if (base < 0 && r.take(am, Qt::CaseInsensitive))
            base = 0;
    for (const QString& pm : {f.pm, QStringLiteral("PM")})
        if (base < 0 && r.take(pm, Qt::CaseInsensitive))
            base = 12;
    if (base >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        hour = hour % 12 + base;
    }
    r.skipBlanks();
    return r.atEnd() && hour < 24 && minute < 60 && second < 60 && msec < 1000;
}

bool isDateTime(const QString& text, const DateTimeFormat& f)
{
    Reader r{text};
    int n[3] = {0, 0, 0};
    if (!r.number(n[0]) || !r.separator(f.dateSeparator) || !r.number(n[1]))
        return false;
    const qsizetype afterTwo = r.i;
    int count = 2;
    if (r.separator(f.dateSeparator)) {
        if (!r.number(n[2]))
            return false;
        count = 3;
    } else {
        r.i = afterTwo;
    }
    int year = QDate::currentDate().year(), month = 0, day = 0;
    if (count == 2) {
        if (f.order == DateOrder::DMY) {
            day = n[0];
            month = n[1];
        } else {
            month = n[0];
            day = n[1];
        }
    } else {
        switch (f.order) {
        case DateOrder::DMY: day = n[0]; month = n[1]; year = n[2]; break;
        case DateOrder::MDY: month = n[0]; day = n[1]; year = n[2]; break;
        case DateOrder::YMD: year = n[0]; month = n[1]; day = n[2]; break;
        }
        if (year <= 99)
            year += QDate::currentDate().year() / 100 * 100;
    }
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    r.skipBlanks();
    return r.atEnd() || readTime(r, f);
}

bool hasDigit(std::string_view bytes)
{
    return bytes.find_first_of("0123456789") != std::string_view::npos;
}

// Strings looked up by a string_view without making a string.
struct BytesHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using ByteStringSet = std::unordered_set<std::string, BytesHash, std::equal_to<>>;

// The font families Windows has shipped since Windows 95, which the forms
// of a Delphi project name whether or not this machine has them.
const QStringList& windowsFontFamilies()
{
    static const QStringList families = {
        // Bitmap and system fonts of every Windows.
        QStringLiteral("MS Sans Serif"), QStringLiteral("MS Serif"), QStringLiteral("MS Shell Dlg"),
        QStringLiteral("MS Shell Dlg 2"), QStringLiteral("System"), QStringLiteral("Fixedsys"),
        QStringLiteral("Terminal"), QStringLiteral("Small Fonts"), QStringLiteral("Courier"),
        QStringLiteral("Modern"), QStringLiteral("Roman"), QStringLiteral("Script"), QStringLiteral("Marlett"),
        // The TrueType core.
        QStringLiteral("Arial"), QStringLiteral("Arial Black"), QStringLiteral("Arial Narrow"),
        QStringLiteral("Arial Unicode MS"), QStringLiteral("Courier New"), QStringLiteral("Times New Roman"),
        QStringLiteral("Symbol"), QStringLiteral("Wingdings"), QStringLiteral("Wingdings 2"),
        QStringLiteral("Wingdings 3"), QStringLiteral("Webdings"), QStringLiteral("Tahoma"),
        QStringLiteral("Verdana"), QStringLiteral("Georgia"), QStringLiteral("Trebuchet MS"),
        QStringLiteral("Comic Sans MS"), QStringLiteral("Impact"), QStringLiteral("Lucida Console"),
        QStringLiteral("Lucida Sans Unicode"), QStringLiteral("Lucida Sans"), QStringLiteral("Palatino Linotype"),
        QStringLiteral("Book Antiqua"), QStringLiteral("Bookman Old Style"), QStringLiteral("Century Gothic"),
        QStringLiteral("Garamond"), QStringLiteral("Franklin Gothic Medium"), QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("Sylfaen"), QStringLiteral("Estrangelo Edessa"), QStringLiteral("Mangal"),
        QStringLiteral("Latha"), QStringLiteral("Gautami"), QStringLiteral("Raavi"), QStringLiteral("Shruti"),
        QStringLiteral("Tunga"), QStringLiteral("Kartika"), QStringLiteral("Vrinda"), QStringLiteral("MV Boli"),
        // Vista and later.
        QStringLiteral("Segoe UI"), QStringLiteral("Segoe UI Light"), QStringLiteral("Segoe UI Semibold"),
        QStringLiteral("Segoe UI Semilight"), QStringLiteral("Segoe UI Black"), QStringLiteral("Segoe UI Symbol"),
        QStringLiteral("Segoe UI Emoji"), QStringLiteral("Segoe Print"), QStringLiteral("Segoe Script"),
        QStringLiteral("Segoe MDL2 Assets"), QStringLiteral("Segoe Fluent Icons"), QStringLiteral("Calibri"),
        QStringLiteral("Calibri Light"), QStringLiteral("Cambria"), QStringLiteral("Cambria Math"),
        QStringLiteral("Candara"), QStringLiteral("Consolas"), QStringLiteral("Constantia"),
        QStringLiteral("Corbel"), QStringLiteral("Gabriola"), QStringLiteral("Ebrima"), QStringLiteral("Gadugi"),
        QStringLiteral("Nirmala UI"), QStringLiteral("Leelawadee UI"), QStringLiteral("Javanese Text"),
        QStringLiteral("Mongolian Baiti"), QStringLiteral("Myanmar Text"), QStringLiteral("Sitka Text"),
        QStringLiteral("Bahnschrift"), QStringLiteral("Ink Free"),
        // East Asian families, in their Latin names.
        QStringLiteral("MS Gothic"), QStringLiteral("MS PGothic"), QStringLiteral("MS UI Gothic"),
        QStringLiteral("MS Mincho"), QStringLiteral("MS PMincho"), QStringLiteral("Meiryo"),
        QStringLiteral("Meiryo UI"), QStringLiteral("Yu Gothic"), QStringLiteral("Yu Gothic UI"),
        QStringLiteral("Malgun Gothic"), QStringLiteral("Gulim"), QStringLiteral("Dotum"),
        QStringLiteral("Batang"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("SimHei"),
        QStringLiteral("Microsoft YaHei"), QStringLiteral("Microsoft YaHei UI"),
        QStringLiteral("Microsoft JhengHei"), QStringLiteral("MingLiU"), QStringLiteral("PMingLiU"),
    };
    return families;
}

// The installed families the code page can spell; none without a QGuiApplication.
QStringList installedFontFamilies()
{
    QStringList out;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return out;
    for (const QString& f : QFontDatabase::families()) {
        // A family the code page cannot spell is no 8-bit literal.
        if (std::all_of(f.begin(), f.end(), [](QChar c) { return unicodeToWindows1252(c.unicode()) >= 0; }))
            out << f;
    }
    return out;
}

} // namespace

bool isFontName(const QString& text)
{
    return windowsFontFamilies().contains(text, Qt::CaseSensitive)
           || installedFontFamilies().contains(text, Qt::CaseSensitive);
}

bool isLocaleNumber(const QString& text, const QLocale& locale)
{
    Reader r{text};
    r.skipBlanks();
    if (!r.takeChar(u'+'))
        r.takeChar(u'-');
    // Decimal exponent of the first significant digit, to reject overflow.
    const qsizetype intStart = r.i;
    const int intDigits = r.digits();
    qsizetype firstSignificant = -1;
    for (qsizetype k = intStart; k < intStart + intDigits; ++k)
        if (text[k] != u'0') {
            firstSignificant = k;
            break;
        }
    long long magnitude = firstSignificant >= 0 ? intStart + intDigits - firstSignificant - 1 : 0;
    int fracDigits = 0;
    if (r.take(locale.decimalPoint())) {
        const qsizetype fracStart = r.i;
        fracDigits = r.digits();
        if (firstSignificant < 0)
            for (qsizetype k = fracStart; k < fracStart + fracDigits; ++k)
                if (text[k] != u'0') {
                    firstSignificant = k;
                    magnitude = -(k - fracStart) - 1;
                    break;
                }
    }
    if (intDigits + fracDigits == 0)
        return false;
    if (r.takeChar(u'e') || r.takeChar(u'E')) {
        bool negative = false;
        if (!r.takeChar(u'+'))
            negative = r.takeChar(u'-');
        int exponent = 0;
        if (r.atEnd() || !isDigit(text[r.i]) || !r.number(exponent))
            return false;
        magnitude += negative ? -static_cast<long long>(exponent) : exponent;
    }
    r.skipBlanks();
    if (!r.atEnd())
        return false;
    constexpr long long MaxExtendedExponent = 4931;
    return firstSignificant < 0 || magnitude <= MaxExtendedExponent;
}

bool isLocaleDateTime(const QString& text, const QLocale& locale)
{
    return isDateTime(text, DateTimeFormat(locale));
}

scanner::KindTests currentKindTests()
{
    // Each test first looks at the bytes, so that the literals most pages
    // hold ('Save file') are turned away without being converted.
    auto locale = std::make_shared<const QLocale>();
    auto formats = std::make_shared<const DateTimeFormat>(*locale);
    auto fonts = std::make_shared<ByteStringSet>();
    for (const QStringList& families : {windowsFontFamilies(), installedFontFamilies()})
        for (const QString& f : families)
            fonts->insert(toWindows1252(f).toStdString());
    scanner::KindTests t;
    t.isFontName = [fonts](std::string_view s) { return fonts->find(s) != fonts->end(); };
    t.isNumber = [locale](std::string_view s) { return hasDigit(s) && isLocaleNumber(fromWindows1252(s), *locale); };
    t.isDateTime = [formats](std::string_view s) { return hasDigit(s) && isDateTime(fromWindows1252(s), *formats); };
    return t;
}

scanner::ScanFilters scanFilters(const Settings& settings)
{
    scanner::ScanFilters filters;
    filters.accept = settings.accept;
    filters.kinds = currentKindTests();
    return filters;
}

} // namespace lingrove::model
