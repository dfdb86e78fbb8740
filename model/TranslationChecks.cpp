#include "model/TranslationChecks.h"

#include "model/RtfReader.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

namespace lingrove::model {

namespace {

CheckWarning warning(CheckWarning::Kind kind, const QString& message)
{
    CheckWarning w;
    w.kind = kind;
    w.message = message;
    return w;
}

QString quoted(const QString& text)
{
    return QStringLiteral("\u201C%1\u201D").arg(text);
}

// ---- Format -------------------------------------------------------------

// One argument a format string takes: its number (-1 once a "*" index made
// the numbers unknown) and the type letter ("d" for a "*" width or
// precision, which takes an integer).
struct ArgumentUse {
    int argument = -1;
    QChar type;
};

struct FormatString {
    std::vector<ArgumentUse> uses;
    QStringList specifiers;   // as written, "%%" left out
    QStringList invalid;      // what Format would reject
    bool numbered = true;     // every argument number known
};

bool isFormatType(QChar c)
{
    return QStringLiteral("dDuUeEfFgGnNmMpPsSxX").contains(c);
}

// Reads text as Delphi's Format does: the argument index starts at 0, an
// index specifier sets it, every "*" and every specifier takes the argument
// at the index and moves it on.
FormatString parseFormat(const QString& text)
{
    FormatString f;
    int argument = 0;
    const qsizetype n = text.size();
    auto digitsFrom = [&](qsizetype i) {
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        return i;
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'%')
            continue;
        const qsizetype start = i++;
        if (i < n && text[i] == u'%')
            continue;
        auto take = [&](QChar type) {
            f.uses.push_back({f.numbered ? argument : -1, type});
            ++argument;
        };
        // [index ":"]
        qsizetype j = digitsFrom(i);
        if (j > i && j < n && text[j] == u':') {
            argument = text.mid(i, j - i).toInt();
            f.numbered = true;
            i = j + 1;
        } else if (i + 1 < n && text[i] == u'*' && text[i + 1] == u':') {
            take(u'd');
            f.numbered = false;
            i += 2;
        }
        // ["-"] [width] ["." precision]
        if (i < n && text[i] == u'-')
            ++i;
        if (i < n && text[i] == u'*') {
            take(u'd');
            ++i;
        } else {
            i = digitsFrom(i);
        }
        if (i < n && text[i] == u'.') {
            ++i;
            if (i < n && text[i] == u'*') {
                take(u'd');
                ++i;
            } else {
                i = digitsFrom(i);
            }
        }
        if (i < n && isFormatType(text[i])) {
            take(text[i].toLower());
            f.specifiers << text.mid(start, i - start + 1);
        } else {
            f.invalid << text.mid(start, std::min(i + 1, n) - start);
            if (i >= n)
                break;
        }
    }
    return f;
}

QString specifierList(const QStringList& specifiers)
{
    return specifiers.join(QStringLiteral(", "));
}

// ---- Accelerators and codes ----------------------------------------------

// The positions of the characters that follow a single "&".
QList<qsizetype> acceleratorPositions(const QString& text)
{
    QList<qsizetype> positions;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (i + 1 < text.size() && text[i + 1] == u'&') {
            ++i;
            continue;
        }
        if (i + 1 < text.size())
            positions << i + 1;
    }
    return positions;
}

enum class Ending { None, Colon, Period, Ellipsis };

Ending endingOf(const QString& text)
{
    QString t = text;
    while (!t.isEmpty() && t.back().isSpace())
        t.chop(1);
    if (t.endsWith(QStringLiteral("...")) || t.endsWith(QChar(0x2026)))
        return Ending::Ellipsis;
    if (t.endsWith(u':') || t.endsWith(QChar(0xFF1A)))
        return Ending::Colon;
    if (t.endsWith(u'.') || t.endsWith(QChar(0x3002)) || t.endsWith(QChar(0xFF0E)))
        return Ending::Period;
    return Ending::None;
}

QString endingName(Ending e)
{
    switch (e) {
    case Ending::Colon:
        return quoted(QStringLiteral(":"));
    case Ending::Period:
        return quoted(QStringLiteral("."));
    case Ending::Ellipsis:
        return quoted(QStringLiteral("..."));
    case Ending::None:
        break;
    }
    return QString();
}

qsizetype leadingSpaces(const QString& text)
{
    qsizetype n = 0;
    while (n < text.size() && text[n].isSpace())
        ++n;
    return n;
}

qsizetype trailingSpaces(const QString& text)
{
    qsizetype n = 0;
    while (n < text.size() && text[text.size() - 1 - n].isSpace())
        ++n;
    return n;
}

QString spaces(qsizetype n)
{
    if (n == 0)
        return QStringLiteral("no space");
    return n == 1 ? QStringLiteral("1 space") : QStringLiteral("%1 spaces").arg(n);
}

// How often text holds a carriage return, a line feed and a tab, as codes
// (#13, #$0D) or as characters.
std::array<int, 3> breakCodes(const QString& text)
{
    static const QRegularExpression code(QStringLiteral("#(?:\\$([0-9A-Fa-f]+)|([0-9]+))"));
    std::array<int, 3> counts{0, 0, 0};
    auto count = [&](int value) {
        if (value == 13)
            ++counts[0];
        else if (value == 10)
            ++counts[1];
        else if (value == 9)
            ++counts[2];
    };
    for (auto it = code.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        bool ok = false;
        const int value = m.capturedLength(1) ? m.captured(1).toInt(&ok, 16) : m.captured(2).toInt(&ok, 10);
        if (ok)
            count(value);
    }
    for (const QChar c : text)
        count(c == u'\r' ? 13 : c == u'\n' ? 10 : c == u'\t' ? 9 : 0);
    return counts;
}

// ---- Forms --------------------------------------------------------------

using formfile::FormComponent;
using formfile::FormValue;

bool isClass(const FormComponent& c, std::string_view name)
{
    return formfile::sameIdentifier(c.className, name);
}

bool isMenuClass(const FormComponent& c)
{
    return isClass(c, "TMenuItem") || isClass(c, "TMainMenu") || isClass(c, "TPopupMenu");
}

QString nameOf(const FormComponent& c)
{
    return QString::fromUtf8(c.name.empty() ? c.className.c_str() : c.name.c_str());
}

// The captions c's accelerator must differ from: the other items of its
// menu, or the other controls of its parent.
std::vector<const FormComponent*> acceleratorSiblings(const FormComponent& c, const FormComponent* parent)
{
    std::vector<const FormComponent*> out;
    if (!parent)
        return out;
    const bool menuItem = isClass(c, "TMenuItem");
    // Actions and other non-visual components show their captions elsewhere.
    if (!menuItem && (isMenuClass(c) || QString::fromStdString(c.className).contains(QLatin1String("Action"))))
        return out;
    for (const FormComponent& s : parent->children) {
        if (&s == &c)
            continue;
        if (menuItem ? isClass(s, "TMenuItem") : !isMenuClass(s))
            out.push_back(&s);
    }
    return out;
}

// The room a control leaves for its caption, or -1 when its caption is not
// held to its width (it grows, wraps, or the class is not known here).
int captionRoom(const FormComponent& c)
{
    const FormValue* width = c.find("Width");
    if (!width || !width->isInteger())
        return -1;
    const int w = width->integer;
    if (isClass(c, "TButton") || isClass(c, "TBitBtn"))
        return w - 8;
    if (isClass(c, "TSpeedButton"))
        return w - 4;
    if (isClass(c, "TCheckBox") || isClass(c, "TRadioButton"))
        return w - 18;
    if (isClass(c, "TGroupBox") || isClass(c, "TRadioGroup"))
        return w - 16;
    if (isClass(c, "TPanel"))
        return w - 4;
    if (isClass(c, "TLabel") || isClass(c, "TStaticText")) {
        if (c.boolean("AutoSize", true) || c.boolean("WordWrap", false))
            return -1;
        return w;
    }
    return -1;
}

} // namespace

QChar acceleratorOf(const QString& caption)
{
    const QList<qsizetype> at = acceleratorPositions(caption);
    return at.isEmpty() ? QChar() : caption[at.first()];
}

QString drawnCaption(const QString& caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&')
                out += u'&';
            else
                continue;
            ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

std::vector<CheckWarning> checkFormat(const QString& source, const QString& translation)
{
    using Kind = CheckWarning::Kind;
    std::vector<CheckWarning> out;
    const FormatString s = parseFormat(source);
    const FormatString t = parseFormat(translation);
    if (s.specifiers.isEmpty()) {
        // Not a format string as far as can be told; new specifiers would
        // make it one.
        if (!t.specifiers.isEmpty())
            out.push_back(warning(Kind::Format, QStringLiteral("The translation has format specifiers (%1), the "
                                                               "source none.")
                                                    .arg(specifierList(t.specifiers))));
        return out;
    }
    for (const QString& bad : std::as_const(t.invalid))
        out.push_back(warning(Kind::Format,
                              bad == QStringLiteral("%")
                                  ? QStringLiteral("The translation ends with a lone \"%\": Format would fail (write "
                                                   "\"%%\" for a percent sign).")
                                  : QStringLiteral("\"%1\" in the translation is no format specifier: Format would "
                                                   "fail (write \"%%\" for a percent sign).")
                                        .arg(bad)));
    const std::size_t before = out.size();
    if (s.numbered && t.numbered) {
        QMap<int, QChar> wanted;
        QMap<int, QChar> given;
        for (const ArgumentUse& u : s.uses)
            wanted.insert(u.argument, u.type);
        for (const ArgumentUse& u : t.uses)
            given.insert(u.argument, u.type);
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            if (!given.contains(it.key()))
                out.push_back(warning(Kind::Format, QStringLiteral("Argument %1 (%%2) is not used in the "
                                                                   "translation.")
                                                        .arg(it.key() + 1)
                                                        .arg(it.value())));
            else if (given.value(it.key()) != it.value())
                out.push_back(warning(Kind::Format, QStringLiteral("Argument %1 is %%2 in the source but %%3 in the "
                                                                   "translation.")
                                                        .arg(it.key() + 1)
                                                        .arg(it.value())
                                                        .arg(given.value(it.key()))));
        }
        for (auto it = given.cbegin(); it != given.cend(); ++it)
            if (!wanted.contains(it.key()))
                out.push_back(warning(Kind::Format, QStringLiteral("The translation uses argument %1 (%%2), which "
                                                                   "the source does not: Format would fail.")
                                                        .arg(it.key() + 1)
                                                        .arg(it.value())));
    } else {
        // A "*" index: only the order of the types can be compared.
        QString a;
        QString b;
        for (const ArgumentUse& u : s.uses)
            a += u.type;
        for (const ArgumentUse& u : t.uses)
            b += u.type;
        if (a != b)
            out.push_back(warning(Kind::Format, QStringLiteral("The format specifiers differ: %1 in the source, %2 "
                                                               "in the translation.")
                                                    .arg(specifierList(s.specifiers),
                                                         specifierList(t.specifiers))));
    }
    if (out.size() == before && s.specifiers.size() != t.specifiers.size())
        out.push_back(warning(Kind::Format, QStringLiteral("The source has %1 format specifiers (%2), the "
                                                           "translation %3 (%4).")
                                                .arg(QString::number(s.specifiers.size()),
                                                     specifierList(s.specifiers),
                                                     QString::number(t.specifiers.size()),
                                                     specifierList(t.specifiers))));
    return out;
}

std::vector<CheckWarning> checkAccelerator(const QString& source, const QString& translation)
{
    std::vector<CheckWarning> out;
    const QList<qsizetype> s = acceleratorPositions(source);
    if (s.isEmpty())
        return out;
    const QList<qsizetype> t = acceleratorPositions(translation);
    if (t.isEmpty()) {
        out.push_back(warning(CheckWarning::Kind::Accelerator,
                              QStringLiteral("The source has the accelerator &%1, the translation none.")
                                  .arg(source[s.first()])));
    } else if (t.size() > 1) {
        QStringList keys;
        for (const qsizetype at : t)
            keys << QStringLiteral("&") + translation[at];
        out.push_back(warning(CheckWarning::Kind::Accelerator,
                              QStringLiteral("The translation has %1 accelerators (%2); one is enough.")
                                  .arg(t.size())
                                  .arg(keys.join(QStringLiteral(", ")))));
    }
    return out;
}

std::vector<CheckWarning> checkSpacesAndEnding(const QString& source, const QString& translation)
{
    std::vector<CheckWarning> out;
    const qsizetype sl = leadingSpaces(source), tl = leadingSpaces(translation);
    if (sl != tl && sl != source.size())
        out.push_back(warning(CheckWarning::Kind::Spaces, QStringLiteral("The source starts with %1, the "
                                                                         "translation with %2.")
                                                              .arg(spaces(sl), spaces(tl))));
    const qsizetype st = trailingSpaces(source), tt = trailingSpaces(translation);
    if (st != tt && st != source.size())
        out.push_back(warning(CheckWarning::Kind::Spaces, QStringLiteral("The source ends with %1, the "
                                                                         "translation with %2.")
                                                              .arg(spaces(st), spaces(tt))));
    const Ending se = endingOf(source);
    const Ending te = endingOf(translation);
    if (se != Ending::None && se != te)
        out.push_back(warning(CheckWarning::Kind::Ending,
                              te == Ending::None
                                  ? QStringLiteral("The source ends with %1, the translation does not.")
                                        .arg(endingName(se))
                                  : QStringLiteral("The source ends with %1, the translation with %2.")
                                        .arg(endingName(se), endingName(te))));
    return out;
}

std::vector<CheckWarning> checkLineBreakCodes(const QString& source, const QString& translation)
{
    const std::array<int, 3> s = breakCodes(source);
    const std::array<int, 3> t = breakCodes(translation);
    if (s == t)
        return {};
    static const char* names[] = {"#13 (carriage return)", "#10 (line feed)", "#9 (tab)"};
    QStringList parts;
    for (std::size_t i = 0; i < 3; ++i)
        if (s[i] != t[i])
            parts << QStringLiteral("%1: %2 in the source, %3 in the translation")
                         .arg(QLatin1String(names[i]))
                         .arg(s[i])
                         .arg(t[i]);
    return {warning(CheckWarning::Kind::LineBreaks,
                    QStringLiteral("Line-break codes changed: %1.").arg(parts.join(QStringLiteral("; "))))};
}

std::vector<CheckWarning> checkTranslation(const QString& source, const QString& translation)
{
    std::vector<CheckWarning> out = checkFormat(source, translation);
    for (auto* check : {&checkAccelerator, &checkSpacesAndEnding, &checkLineBreakCodes}) {
        std::vector<CheckWarning> more = (*check)(source, translation);
        out.insert(out.end(), more.begin(), more.end());
    }
    return out;
}

std::vector<CheckWarning> checkFormCaption(const FormOutline& form, int line)
{
    std::vector<CheckWarning> out;
    const std::optional<FormOutline::Place> place = form.placeOf(line);
    if (!place || place->item >= 0 || place->property.compare(QLatin1String("Caption"), Qt::CaseInsensitive) != 0)
        return out;
    const FormComponent& c = *place->component;
    const QString caption = FormOutline::text(c, "Caption");

    const QChar key = acceleratorOf(caption);
    if (!key.isNull()) {
        for (const FormComponent* s : acceleratorSiblings(c, place->parent)) {
            const QString other = FormOutline::text(*s, "Caption");
            const QChar otherKey = acceleratorOf(other);
            if (otherKey.isNull() || otherKey.toCaseFolded() != key.toCaseFolded())
                continue;
            CheckWarning w = warning(CheckWarning::Kind::AcceleratorClash,
                                     QStringLiteral("Alt+%1 of %2 (%3) is also the key of %4 (%5).")
                                         .arg(key.toUpper(), quoted(drawnCaption(caption)), nameOf(c),
                                              quoted(drawnCaption(other)), nameOf(*s)));
            w.clashWith = nameOf(*s);
            out.push_back(w);
        }
    }

    const int room = captionRoom(c);
    if (room >= 0) {
        const QFont font = form.fontOf(c);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& part : drawnCaption(caption).split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
            widest = std::max(widest, metrics.horizontalAdvance(part));
        if (widest > room) {
            CheckWarning w = warning(CheckWarning::Kind::Width,
                                     QStringLiteral("%1 is %2 px wide in %3 %4 px; %5 (%6) has room for %7 px.")
                                         .arg(quoted(drawnCaption(caption)), QString::number(widest), font.family(),
                                              QString::number(font.pixelSize()), nameOf(c),
                                              QString::fromStdString(c.className), QString::number(room)));
            w.textWidth = widest;
            w.roomWidth = room;
            out.push_back(w);
        }
    }
    return out;
}

std::vector<CheckWarning> checkCommit(const QString& source, const QString& translation,
                                      const QTextDocument* formPage, int line)
{
    std::vector<CheckWarning> out = checkTranslation(source, translation);
    if (formPage) {
        if (const std::optional<FormOutline> form = FormOutline::read(documentText(*formPage))) {
            std::vector<CheckWarning> more = checkFormCaption(*form, line);
            out.insert(out.end(), more.begin(), more.end());
        }
    }
    return out;
}

} // namespace lingrove::model
