#include "model/DictionaryExchange.h"

#include "model/SourceFile.h"
#include "model/StringFilters.h"
#include "model/TranslationSession.h"
#include "platform/FileUtil.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cctype>

namespace lingrove::model {

namespace {

// ---- Characters ---------------------------------------------------------

// Why text cannot be written into an exchange file, or empty: XML 1.0 takes
// tab, line feed, carriage return and the characters from U+0020 on, except
// U+FFFE, U+FFFF and halves of surrogate pairs.
QString unwritable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800)
                             || (c >= 0xE000 && c <= 0xFFFD);
        if (!allowed)
            return QStringLiteral("the character U+%1 has no place in an exchange file")
                .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'));
    }
    return {};
}

// Text inside an element; a carriage return as a character reference, which
// a reader gives back as one (a literal one it would turn into a line feed).
void writeText(QXmlStreamWriter& xml, const QString& text)
{
    qsizetype from = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
        if (cr > from)
            xml.writeCharacters(text.mid(from, cr - from));
        xml.writeEntityReference(QStringLiteral("#13"));
        from = cr + 1;
    }
    if (from < text.size())
        xml.writeCharacters(text.mid(from));
}

void writeTextElement(QXmlStreamWriter& xml, const QString& name, const QString& text)
{
    xml.writeStartElement(name);
    writeText(xml, text);
    xml.writeEndElement();
}

// "page:line" as page and line.
std::pair<QString, QString> splitLocation(const QString& location)
{
    const qsizetype colon = location.lastIndexOf(u':');
    if (colon <= 0)
        return {location, QString()};
    return {location.left(colon), location.mid(colon + 1)};
}

QString generatorVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("0.5") : version;
}

// ---- Writers ------------------------------------------------------------

QByteArray writeTmx(const std::vector<ExchangeUnit>& units, const ExportOptions& options)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("tmx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.4"));
    xml.writeEmptyElement(QStringLiteral("header"));
    xml.writeAttribute(QStringLiteral("creationtool"), QStringLiteral("Lingrove"));
    xml.writeAttribute(QStringLiteral("creationtoolversion"), generatorVersion());
    xml.writeAttribute(QStringLiteral("segtype"), QStringLiteral("sentence"));
    xml.writeAttribute(QStringLiteral("o-tmf"), QStringLiteral("Lingrove dictionary"));
    xml.writeAttribute(QStringLiteral("adminlang"), QStringLiteral("en"));
    xml.writeAttribute(QStringLiteral("srclang"), options.sourceLanguage);
    xml.writeAttribute(QStringLiteral("datatype"), QStringLiteral("plaintext"));
    xml.writeStartElement(QStringLiteral("body"));
    for (const ExchangeUnit& unit : units) {
        xml.writeStartElement(QStringLiteral("tu"));
        for (const QString& location : unit.locations) {
            xml.writeStartElement(QStringLiteral("prop"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("x-location"));
            xml.writeCharacters(location);
            xml.writeEndElement();
        }
        for (const auto& [language, text] : {std::pair{options.sourceLanguage, unit.source},
                                             std::pair{options.targetLanguage, unit.translation}}) {
            xml.writeStartElement(QStringLiteral("tuv"));
            xml.writeAttribute(QStringLiteral("xml:lang"), language);
            writeTextElement(xml, QStringLiteral("seg"), text);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

QByteArray writeXliff(const std::vector<ExchangeUnit>& units, const ExportOptions& options)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("urn:oasis:names:tc:xliff:document:1.2"));
    xml.writeStartElement(QStringLiteral("xliff"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
    xml.writeStartElement(QStringLiteral("file"));
    xml.writeAttribute(QStringLiteral("original"), options.original.isEmpty() ? QStringLiteral("dictionary")
                                                                              : options.original);
    xml.writeAttribute(QStringLiteral("source-language"), options.sourceLanguage);
    xml.writeAttribute(QStringLiteral("target-language"), options.targetLanguage);
    xml.writeAttribute(QStringLiteral("datatype"), QStringLiteral("plaintext"));
    xml.writeStartElement(QStringLiteral("header"));
    xml.writeEmptyElement(QStringLiteral("tool"));
    xml.writeAttribute(QStringLiteral("tool-id"), QStringLiteral("lingrove"));
    xml.writeAttribute(QStringLiteral("tool-name"), QStringLiteral("Lingrove"));
    xml.writeAttribute(QStringLiteral("tool-version"), generatorVersion());
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("body"));
    int id = 0;
    for (const ExchangeUnit& unit : units) {
        xml.writeStartElement(QStringLiteral("trans-unit"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(++id));
        // Stored translations are the translator's own: approved.
        xml.writeAttribute(QStringLiteral("approved"), QStringLiteral("yes"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        writeTextElement(xml, QStringLiteral("source"), unit.source);
        xml.writeStartElement(QStringLiteral("target"));
        xml.writeAttribute(QStringLiteral("state"), QStringLiteral("final"));
        writeText(xml, unit.translation);
        xml.writeEndElement();
        for (const QString& location : unit.locations) {
            const auto [page, line] = splitLocation(location);
            xml.writeStartElement(QStringLiteral("context-group"));
            xml.writeAttribute(QStringLiteral("purpose"), QStringLiteral("location"));
            xml.writeStartElement(QStringLiteral("context"));
            xml.writeAttribute(QStringLiteral("context-type"), QStringLiteral("sourcefile"));
            xml.writeCharacters(page);
            xml.writeEndElement();
            if (!line.isEmpty()) {
                xml.writeStartElement(QStringLiteral("context"));
                xml.writeAttribute(QStringLiteral("context-type"), QStringLiteral("linenumber"));
                xml.writeCharacters(line);
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

QString poEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// keyword "text", or keyword "" and one line per line of a text of several.
QString poField(const QString& keyword, const QString& text)
{
    const qsizetype firstBreak = text.indexOf(u'\n');
    if (firstBreak < 0 || firstBreak == text.size() - 1)
        return keyword + QStringLiteral(" \"") + poEscaped(text) + QStringLiteral("\"\n");
    QString out = keyword + QStringLiteral(" \"\"\n");
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf(u'\n', from);
        end = end < 0 ? text.size() : end + 1;
        out += u'"' + poEscaped(QStringView(text).mid(from, end - from)) + QStringLiteral("\"\n");
        from = end;
    }
    return out;
}

QByteArray writePo(const std::vector<ExchangeUnit>& units, const ExportOptions& options)
{
    QString out;
    out += QStringLiteral("# Lingrove dictionary table \"%1\"\n").arg(options.original);
    out += QStringLiteral("msgid \"\"\nmsgstr \"\"\n");
    const QStringList header = {
        QStringLiteral("Project-Id-Version: %1").arg(poEscaped(options.original)),
        QStringLiteral("MIME-Version: 1.0"),
        QStringLiteral("Content-Type: text/plain; charset=UTF-8"),
        QStringLiteral("Content-Transfer-Encoding: 8bit"),
        QStringLiteral("Language: %1").arg(options.targetLanguage),
        QStringLiteral("X-Source-Language: %1").arg(options.sourceLanguage),
        QStringLiteral("X-Generator: Lingrove %1").arg(generatorVersion()),
    };
    for (const QString& line : header)
        out += u'"' + line + QStringLiteral("\\n\"\n");
    // Units of the same source after the first need a context to stay apart.
    QHash<QString, int> seen;
    for (const ExchangeUnit& unit : units) {
        out += u'\n';
        if (!unit.locations.isEmpty())
            out += QStringLiteral("#: ") + unit.locations.join(u' ') + u'\n';
        const int n = ++seen[unit.source];
        if (n > 1)
            out += poField(QStringLiteral("msgctxt"), QStringLiteral("alternative %1").arg(n));
        out += poField(QStringLiteral("msgid"), unit.source);
        out += poField(QStringLiteral("msgstr"), unit.translation);
    }
    return out.toUtf8();
}

// ---- Readers ------------------------------------------------------------

QString xmlError(const QXmlStreamReader& xml)
{
    return QStringLiteral("line %1, column %2: %3").arg(xml.lineNumber()).arg(xml.columnNumber()).arg(xml.errorString());
}

// The text of the element the reader stands on, up to its end: characters,
// and the text of marking elements inside; the native codes and
// placeholders of inline elements are left out.
QString readInline(QXmlStreamReader& xml)
{
    static const QStringList codes = {QStringLiteral("bpt"), QStringLiteral("ept"), QStringLiteral("ph"),
                                      QStringLiteral("it"),  QStringLiteral("ut"),  QStringLiteral("sub"),
                                      QStringLiteral("x"),   QStringLiteral("bx"),  QStringLiteral("ex")};
    QString text;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            if (codes.contains(xml.name().toString()))
                xml.skipCurrentElement();
            else
                text += readInline(xml);
            break;
        case QXmlStreamReader::EndElement:
            return text;
        default:
            break;
        }
    }
    return text;
}

bool sameLanguage(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    auto primary = [](const QString& tag) { return tag.section(QRegularExpression(QStringLiteral("[-_]")), 0, 0); };
    return a.compare(b, Qt::CaseInsensitive) == 0 || primary(a).compare(primary(b), Qt::CaseInsensitive) == 0;
}

bool readTmx(const QByteArray& bytes, const ImportOptions& options, ImportedFile* file, QString* why)
{
    QXmlStreamReader xml(bytes);
    bool sawTmx = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == u"tmx") {
            sawTmx = true;
        } else if (name == u"header") {
            file->sourceLanguage = xml.attributes().value(QLatin1String("srclang")).toString();
        } else if (name == u"tu") {
            std::vector<std::pair<QString, QString>> variants;   // language, text
            QStringList locations;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"tuv") {
                    const QXmlStreamAttributes attributes = xml.attributes();
                    QString language = attributes.value(QLatin1String("xml:lang")).toString();
                    if (language.isEmpty())
                        language = attributes.value(QLatin1String("lang")).toString();
                    QString text;
                    bool hasSeg = false;
                    while (xml.readNextStartElement()) {
                        if (xml.name() == u"seg") {
                            text = readInline(xml);
                            hasSeg = true;
                        } else {
                            xml.skipCurrentElement();
                        }
                    }
                    if (hasSeg)
                        variants.emplace_back(language, text);
                } else if (xml.name() == u"prop"
                           && xml.attributes().value(QLatin1String("type")) == QLatin1String("x-location")) {
                    locations << xml.readElementText();
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (variants.empty())
                continue;
            const QString sourceLanguage =
                options.sourceLanguage.isEmpty() ? file->sourceLanguage : options.sourceLanguage;
            std::size_t source = 0;
            for (std::size_t i = 0; i < variants.size(); ++i)
                if (sameLanguage(variants[i].first, sourceLanguage)) {
                    source = i;
                    break;
                }
            std::optional<std::size_t> target;
            for (std::size_t i = 0; i < variants.size(); ++i) {
                if (i == source)
                    continue;
                if (!target || (!options.targetLanguage.isEmpty()
                                && sameLanguage(variants[i].first, options.targetLanguage)
                                && !sameLanguage(variants[*target].first, options.targetLanguage)))
                    target = i;
            }
            if (file->sourceLanguage.isEmpty() || !options.sourceLanguage.isEmpty())
                file->sourceLanguage = variants[source].first;
            if (!target || variants[*target].second.isEmpty() || variants[source].second.isEmpty()) {
                ++file->untranslated;
                continue;
            }
            if (file->targetLanguage.isEmpty())
                file->targetLanguage = variants[*target].first;
            file->units.push_back({variants[source].second, variants[*target].second, locations});
        }
    }
    if (xml.hasError()) {
        *why = xmlError(xml);
        return false;
    }
    if (!sawTmx) {
        *why = QStringLiteral("This is no TMX file: it has no <tmx> element.");
        return false;
    }
    return true;
}

bool readXliff(const QByteArray& bytes, ImportedFile* file, QString* why)
{
    QXmlStreamReader xml(bytes);
    bool sawXliff = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == u"xliff") {
            sawXliff = true;
        } else if (name == u"file") {
            if (file->sourceLanguage.isEmpty())
                file->sourceLanguage = xml.attributes().value(QLatin1String("source-language")).toString();
            if (file->targetLanguage.isEmpty())
                file->targetLanguage = xml.attributes().value(QLatin1String("target-language")).toString();
        } else if (name == u"trans-unit") {
            // The header of a PO file that became a unit is no translation.
            if (xml.attributes().value(QLatin1String("restype")) == u"x-gettext-domain-header") {
                ++file->other;
                xml.skipCurrentElement();
                continue;
            }
            ExchangeUnit unit;
            bool hasSource = false;
            bool translated = false;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"source") {
                    unit.source = readInline(xml);
                    hasSource = true;
                } else if (xml.name() == u"target") {
                    const QStringView state = xml.attributes().value(QLatin1String("state"));
                    translated = state != u"new" && state != u"needs-translation";
                    unit.translation = readInline(xml);
                } else if (xml.name() == u"context-group"
                           && xml.attributes().value(QLatin1String("purpose")) == u"location") {
                    QString page;
                    QString line;
                    while (xml.readNextStartElement()) {
                        const QStringView type = xml.attributes().value(QLatin1String("context-type"));
                        const QString value = xml.readElementText();
                        if (type == u"sourcefile")
                            page = value;
                        else if (type == u"linenumber")
                            line = value;
                    }
                    if (!page.isEmpty())
                        unit.locations << (line.isEmpty() ? page : page + u':' + line);
                } else {
                    xml.skipCurrentElement();   // alternatives, notes, ...
                }
            }
            if (!hasSource)
                continue;
            if (!translated || unit.translation.isEmpty() || unit.source.isEmpty())
                ++file->untranslated;
            else
                file->units.push_back(unit);
        }
    }
    if (xml.hasError()) {
        *why = xmlError(xml);
        return false;
    }
    if (!sawXliff) {
        *why = QStringLiteral("This is no XLIFF file: it has no <xliff> element.");
        return false;
    }
    return true;
}

// The content of a PO string ("..." with C escapes); false when malformed.
bool poUnescape(QStringView quoted, QString* out)
{
    if (quoted.size() < 2 || quoted.front() != u'"' || quoted.back() != u'"')
        return false;
    const QStringView s = quoted.mid(1, quoted.size() - 2);
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"')
            return false;
        if (c != u'\\') {
            *out += c;
            continue;
        }
        if (++i >= s.size())
            return false;
        switch (s[i].unicode()) {
        case u'n': *out += u'\n'; break;
        case u't': *out += u'\t'; break;
        case u'r': *out += u'\r'; break;
        case u'a': *out += QChar(7); break;
        case u'b': *out += QChar(8); break;
        case u'f': *out += QChar(12); break;
        case u'v': *out += QChar(11); break;
        case u'\\': *out += u'\\'; break;
        case u'"': *out += u'"'; break;
        case u'\'': *out += u'\''; break;
        case u'?': *out += u'?'; break;
        case u'x': {
            qsizetype j = i + 1;
            while (j < s.size() && j < i + 3 && std::isxdigit(static_cast<unsigned char>(s[j].toLatin1())))
                ++j;
            if (j == i + 1)
                return false;
            *out += QChar(s.mid(i + 1, j - i - 1).toUShort(nullptr, 16));
            i = j - 1;
            break;
        }
        default:
            if (s[i] >= u'0' && s[i] <= u'7') {
                qsizetype j = i;
                while (j < s.size() && j < i + 3 && s[j] >= u'0' && s[j] <= u'7')
                    ++j;
                *out += QChar(s.mid(i, j - i).toUShort(nullptr, 8));
                i = j - 1;
                break;
            }
            return false;
        }
    }
    return true;
}

struct PoEntry {
    QString context;
    QString id;
    QString plural;
    QString str;
    bool hasId = false;
    bool hasContext = false;
    bool plurals = false;
    bool fuzzy = false;
    bool obsolete = false;
    QStringList references;
};

bool parsePo(const QString& text, std::vector<PoEntry>* entries, QString* why)
{
    entries->clear();
    PoEntry entry;
    QString ignored;            // strings of plural forms after the first
    QString* field = nullptr;   // where continuation strings go
    bool inStr = false;         // the entry's msgstr was seen
    auto finish = [&] {
        if (entry.hasId)
            entries->push_back(entry);
        entry = PoEntry();
        field = nullptr;
        inStr = false;
    };
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        auto fail = [&](const QString& what) {
            *why = QStringLiteral("line %1: %2").arg(n + 1).arg(what);
            return false;
        };
        if (line.isEmpty()) {
            finish();
            continue;
        }
        if (line.startsWith(QLatin1String("#~"))) {
            // An obsolete entry: its lines are not read, it is counted once.
            if (!entry.obsolete && (entry.hasId || inStr))
                finish();
            if (line.mid(2).trimmed().startsWith(QLatin1String("msgid "))) {
                entry.obsolete = true;
                entry.hasId = true;
            }
            continue;
        }
        if (entry.obsolete || (line.startsWith(u'#') && inStr))
            finish();
        if (line.startsWith(u'#')) {
            if (line.startsWith(QLatin1String("#,")) && line.contains(QLatin1String("fuzzy")))
                entry.fuzzy = true;
            else if (line.startsWith(QLatin1String("#:")))
                entry.references << line.mid(2).split(u' ', Qt::SkipEmptyParts);
            continue;
        }
        if (line.startsWith(u'"')) {
            if (!field)
                return fail(QStringLiteral("a string without a keyword"));
            if (!poUnescape(line, field))
                return fail(QStringLiteral("a malformed string"));
            continue;
        }
        const qsizetype space = line.indexOf(u' ');
        const QString keyword = space < 0 ? line : line.left(space);
        const QString value = space < 0 ? QString() : line.mid(space + 1).trimmed();
        if (keyword == QLatin1String("msgctxt")) {
            if (entry.hasId || entry.hasContext)
                finish();
            entry.hasContext = true;
            field = &entry.context;
        } else if (keyword == QLatin1String("msgid")) {
            if (entry.hasId)
                finish();
            entry.hasId = true;
            field = &entry.id;
        } else if (keyword == QLatin1String("msgid_plural")) {
            entry.plurals = true;
            field = &entry.plural;
        } else if (keyword == QLatin1String("msgstr")) {
            inStr = true;
            field = &entry.str;
        } else if (keyword.startsWith(QLatin1String("msgstr["))) {
            inStr = true;
            entry.plurals = true;
            ignored.clear();
            field = keyword == QLatin1String("msgstr[0]") ? &entry.str : &ignored;
        } else {
            return fail(QStringLiteral("unknown keyword \"%1\"").arg(keyword));
        }
        if (!poUnescape(value, field))
            return fail(QStringLiteral("a malformed string"));
    }
    finish();
    return true;
}

bool readPo(const QByteArray& bytes, ImportedFile* file, QString* why)
{
    std::vector<PoEntry> entries;
    QString text = QString::fromUtf8(bytes);
    if (!parsePo(text, &entries, why))
        return false;
    // The header names the character set; UTF-8 is read as it is.
    for (const PoEntry& e : entries) {
        if (!e.id.isEmpty() || e.hasContext || e.obsolete)
            continue;
        static const QRegularExpression charset(QStringLiteral("charset=([^\\s;]+)"),
                                                QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression language(QStringLiteral("^Language:\\s*(\\S*)"),
                                                 QRegularExpression::MultilineOption);
        static const QRegularExpression sourceLanguage(QStringLiteral("^X-Source-Language:\\s*(\\S*)"),
                                                       QRegularExpression::MultilineOption);
        file->targetLanguage = language.match(e.str).captured(1);
        file->sourceLanguage = sourceLanguage.match(e.str).captured(1);
        const QString name = charset.match(e.str).captured(1);
        const QString folded = name.toLower().remove(u'-');
        if (!name.isEmpty() && folded != QLatin1String("utf8") && folded != QLatin1String("charset")
            && folded != QLatin1String("ascii") && folded != QLatin1String("usascii")) {
            auto decoder = QStringDecoder(name.toLatin1().constData());
            if (!decoder.isValid()) {
                *why = QStringLiteral("The file's character set %1 cannot be read; convert it to UTF-8.").arg(name);
                return false;
            }
            text = decoder(bytes);
            if (!parsePo(text, &entries, why))
                return false;
        }
        break;
    }
    for (const PoEntry& e : entries) {
        if (e.id.isEmpty() && !e.hasContext && !e.obsolete)
            continue;   // the header
        if (e.obsolete || e.plurals)
            ++file->other;
        else if (e.fuzzy)
            ++file->fuzzy;
        else if (e.str.isEmpty() || e.id.isEmpty())
            ++file->untranslated;
        else
            file->units.push_back({e.id, e.str, e.references});
    }
    return true;
}

} // namespace

std::optional<ExchangeFormat> exchangeFormatOf(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"tmx")
        return ExchangeFormat::Tmx;
    if (ext == u"po" || ext == u"pot")
        return ExchangeFormat::Po;
    if (ext == u"xlf" || ext == u"xliff")
        return ExchangeFormat::Xliff;
    return std::nullopt;
}

QString languageTag(const QString& language)
{
    const QString trimmed = language.trimmed();
    static const QRegularExpression tag(QStringLiteral("^[A-Za-z]{2,3}([-_][A-Za-z0-9]{1,8})*$"));
    if (tag.match(trimmed).hasMatch()) {
        QString out = trimmed;
        out.replace(u'_', u'-');
        return out;
    }
    for (int i = QLocale::AnyLanguage + 1; i <= QLocale::LastLanguage; ++i) {
        const auto l = QLocale::Language(i);
        if (QLocale::languageToString(l).compare(trimmed, Qt::CaseInsensitive) == 0)
            return QLocale::languageToCode(l);
    }
    return QStringLiteral("und");
}

bool tableUnits(Dictionary& dictionary, const ExportOptions& options, std::vector<ExchangeUnit>* units, QString* why)
{
    units->clear();
    const bool ok = dictionary.forEachRecord([&](const QString& source, const Proposals& dests) {
        for (const QString& dest : dests) {
            if (dest.isEmpty())
                continue;
            ExchangeUnit unit{source, dest, options.locations.value(source)};
            for (const QString& place : options.locations.value(dest))
                if (!unit.locations.contains(place))
                    unit.locations << place;
            units->push_back(unit);
        }
    });
    if (!ok)
        *why = dictionary.lastError();
    return ok;
}

QByteArray writeExchange(const std::vector<ExchangeUnit>& units, ExchangeFormat format, const ExportOptions& options,
                         ExportResult* result)
{
    std::vector<ExchangeUnit> kept;
    kept.reserve(units.size());
    ExportResult r;
    for (const ExchangeUnit& unit : units) {
        QString why = unwritable(unit.source);
        if (why.isEmpty())
            why = unwritable(unit.translation);
        if (!why.isEmpty()) {
            r.leftOut << QStringLiteral("%1 -> %2: %3").arg(unit.source, unit.translation, why);
            continue;
        }
        kept.push_back(unit);
    }
    r.units = int(kept.size());
    if (result)
        *result = r;
    switch (format) {
    case ExchangeFormat::Tmx:
        return writeTmx(kept, options);
    case ExchangeFormat::Xliff:
        return writeXliff(kept, options);
    case ExchangeFormat::Po:
        break;
    }
    return writePo(kept, options);
}

bool exportTable(Dictionary& dictionary, const QString& path, ExchangeFormat format, const ExportOptions& options,
                 ExportResult* result, QString* why)
{
    std::vector<ExchangeUnit> units;
    if (!tableUnits(dictionary, options, &units, why))
        return false;
    const QByteArray bytes = writeExchange(units, format, options, result);
    return platform::writeFileAtomically(path, bytes, why);
}

bool readExchange(const QByteArray& bytes, ExchangeFormat format, const ImportOptions& options, ImportedFile* file,
                  QString* why)
{
    *file = ImportedFile();
    switch (format) {
    case ExchangeFormat::Tmx:
        return readTmx(bytes, options, file, why);
    case ExchangeFormat::Xliff:
        return readXliff(bytes, file, why);
    case ExchangeFormat::Po:
        break;
    }
    return readPo(bytes, file, why);
}

bool importFile(Dictionary& dictionary, const QString& path, ExchangeFormat format, const ImportOptions& importOptions,
                const MergeOptions& mergeOptions, ImportReport* report, QString* why)
{
    *report = ImportReport();
    QByteArray bytes;
    if (platform::readFile(path, bytes, why) != platform::ReadResult::Read)
        return false;
    QString problem;
    if (!readExchange(bytes, format, importOptions, &report->file, &problem)) {
        *why = QStringLiteral("%1: %2").arg(path, problem);
        return false;
    }
    std::vector<std::pair<QString, QStringList>> records;
    records.reserve(report->file.units.size());
    for (const ExchangeUnit& unit : report->file.units)
        records.emplace_back(unit.source, QStringList{unit.translation});
    if (!dictionary.merge(records, mergeOptions, &report->results)) {
        *why = dictionary.lastError();
        return false;
    }
    for (const MergeResult& r : report->results) {
        if (r.added)
            ++report->added;
        else if (r.updated())
            ++report->updated;
        if (r.conflicting())
            ++report->conflicting;
        if (!r.added && r.stored.isEmpty() && !r.conflicting())
            ++report->unchanged;
    }
    return true;
}

QHash<QString, QStringList> pageLocations(const std::vector<ProjectPage>& pages, const Settings& settings, int limit)
{
    QHash<QString, QStringList> places;
    const scanner::ScanFilters filters = scanFilters(settings);
    for (const ProjectPage& page : pages) {
        if (!page.isSource)
            continue;
        SourceFile file(page.path);
        QTextDocument document;
        FileProblem problem;
        if (!file.load(document, pascal::ColourScheme::classic(), &problem))
            continue;
        for (const ListEntry& entry : collectEntries(document, filters)) {
            QStringList& list = places[withoutAmpersands(pascalUnquoted(entry.text))];
            const QString place = QStringLiteral("%1:%2").arg(page.name).arg(entry.line);
            if (list.size() < limit && !list.contains(place))
                list << place;
        }
    }
    return places;
}

} // namespace lingrove::model
