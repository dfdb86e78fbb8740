#include "model/RtfReader.h"

#include "core/pascal/PasConversion.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace lingrove::model {

namespace {

constexpr char16_t kParagraph = 0x2029;

enum class Destination : quint8 { Text, FontTable, ColourTable, Skip };

struct GroupState {
    int colour = -1;   // index into the colour table; -1 = default
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int unicodeSkip = 1;   // \ucN: fallback characters after \uN
    Destination destination = Destination::Text;
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of the document.
bool isSkippedDestination(std::string_view w)
{
    static constexpr std::string_view kSkipped[] = {
        "info",     "stylesheet", "pict",    "object",    "header",    "headerl",  "headerr",
        "headerf",  "footer",     "footerl", "footerr",   "footerf",   "footnote", "themedata",
        "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "latentstyles",
        "datastore", "colorschememapping", "filetbl", "revtbl", "mmathPr",
    };
    for (auto s : kSkipped)
        if (s == w)
            return true;
    return false;
}

class Reader {
public:
    Reader(QTextCursor& cursor, const LoadPump& pump) : cursor_(cursor), pump_(pump) {}

    RtfContent run(std::string_view rtf)
    {
        const char* p = rtf.data();
        const char* end = p + rtf.size();
        while (p < end) {
            const char c = *p++;
            switch (c) {
            case '{':
                stack_.push_back(state_);
                skip_ = 0;
                break;
            case '}':
                if (state_.destination == Destination::FontTable)
                    endFont();
                if (!stack_.empty()) {
                    state_ = stack_.back();
                    stack_.pop_back();
                }
                skip_ = 0;
                break;
            case '\\':
                p = control(p, end);
                break;
            case '\r':
            case '\n':
                break;
            default:
                character(windows1252ToUnicode(static_cast<uchar>(c)).unicode());
                break;
            }
        }
        if (breaks_ > 1)
            pending_.append(QString(breaks_ - 1, QChar(kParagraph)));
        flush();
        return std::move(content_);
    }

private:
    const char* control(const char* p, const char* end)
    {
        if (p == end)
            return p;
        const char c = *p;
        if (!isLetter(c)) {
            ++p;
            switch (c) {
            case '\'':
                if (end - p >= 2 && hexValue(p[0]) >= 0 && hexValue(p[1]) >= 0) {
                    const auto byte = static_cast<uchar>(hexValue(p[0]) * 16 + hexValue(p[1]));
                    character(windows1252ToUnicode(byte).unicode());
                    p += 2;
                }
                break;
            case '\\':
            case '{':
            case '}':
                character(static_cast<char16_t>(c));
                break;
            case '~':
                character(0x00A0);
                break;
            case '_':
                character(0x2011);
                break;
            case '*':
                state_.destination = Destination::Skip;
                break;
            case '\r':
            case '\n':
                paragraph();
                break;
            default:
                break;   // \- and unknown symbols
            }
            return p;
        }
        const char* w = p;
        while (p < end && isLetter(*p))
            ++p;
        const std::string_view word(w, static_cast<std::size_t>(p - w));
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (p < end && *p == '-' && p + 1 < end && isDigit(p[1])) {
            negative = true;
            ++p;
        }
        while (p < end && isDigit(*p)) {
            hasParam = true;
            if (param < 100000000LL)
                param = param * 10 + (*p - '0');
            ++p;
        }
        if (negative)
            param = -param;
        if (p < end && *p == ' ')
            ++p;
        controlWord(word, hasParam, static_cast<int>(param));
        return p;
    }

    void controlWord(std::string_view w, bool hasParam, int param)
    {
        if (handled(w, hasParam, param))
            return;
        if (isSkippedDestination(w))
            state_.destination = Destination::Skip;
    }

    // False for a word this reader does not know.
    bool handled(std::string_view w, bool hasParam, int param)
    {
        const bool on = !hasParam || param != 0;
        if (w == "par" || w == "line") {
            paragraph();
        } else if (w == "cf") {
            state_.colour = hasParam ? param : -1;
        } else if (w == "b") {
            state_.bold = on;
        } else if (w == "i") {
            state_.italic = on;
        } else if (w == "u") {
            if (hasParam) {
                character(static_cast<char16_t>(param < 0 ? param + 65536 : param));
                skip_ = state_.unicodeSkip;
            } else {
                state_.underline = true;   // "\u " as an underline switch
            }
        } else if (w == "ul") {
            state_.underline = on;
        } else if (w == "ulnone") {
            state_.underline = false;
        } else if (w == "tab") {
            character(u'\t');
        } else if (w == "plain") {
            state_.bold = state_.italic = state_.underline = false;
            state_.colour = -1;
        } else if (w == "uc") {
            state_.unicodeSkip = param < 0 ? 0 : param;
        } else if (w == "f") {
            if (state_.destination == Destination::FontTable) {
                endFont();
                fontNumber_ = param;
            }
        } else if (w == "red" || w == "green" || w == "blue") {
            (w == "red" ? red_ : w == "green" ? green_ : blue_) = param;
            colourSeen_ = true;
        } else if (w == "fonttbl") {
            state_.destination = Destination::FontTable;
            fontNumber_ = -1;
            fontName_.clear();
        } else if (w == "colortbl") {
            state_.destination = Destination::ColourTable;
            resetColour();
        } else if (w == "emdash") {
            character(0x2014);
        } else if (w == "endash") {
            character(0x2013);
        } else if (w == "lquote") {
            character(0x2018);
        } else if (w == "rquote") {
            character(0x2019);
        } else if (w == "ldblquote") {
            character(0x201C);
        } else if (w == "rdblquote") {
            character(0x201D);
        } else if (w == "bullet") {
            character(0x2022);
        } else {
            return false;
        }
        return true;
    }

    void paragraph()
    {
        if (state_.destination != Destination::Text)
            return;
        skip_ = 0;
        ++breaks_;
    }

    void character(char16_t c)
    {
        switch (state_.destination) {
        case Destination::Text:
            break;
        case Destination::FontTable:
            if (c == u';')
                endFont();
            else
                fontName_.append(QChar(c));
            return;
        case Destination::ColourTable:
            if (c == u';') {
                content_.colours.append(colourSeen_ ? QColor(red_ & 255, green_ & 255, blue_ & 255)
                                                    : QColor());
                resetColour();
            }
            return;
        case Destination::Skip:
            return;
        }
        if (skip_ > 0) {
            --skip_;
            return;
        }
        if (breaks_ > 0) {
            if (pending_.isEmpty())
                pendingKey_ = key();
            pending_.append(QString(breaks_, QChar(kParagraph)));
            breaks_ = 0;
        }
        // The text goes in as runs of one look: colour indexes of the same
        // colour are one run, and a blank takes the look of the run it
        // follows unless it is underlined (its colour does not show). A
        // large unit is then a few runs per line instead of one per token.
        const quint64 k = key();
        if (k != pendingKey_ && !(c == u' ' && ((k | pendingKey_) & 4) == 0 && !pending_.isEmpty())) {
            flush();
            pendingKey_ = k;
        }
        pending_.append(QChar(c));
        if (pending_.size() >= kChunk)
            flush();
    }

    // The look of the text now: its colour (0 for the default, else the RGB
    // value + 1) above three bits for bold, italic and underline.
    quint64 key() const
    {
        const int c = state_.colour;
        const quint64 colour = c >= 0 && c < content_.colours.size() && content_.colours[c].isValid()
                                   ? quint64(content_.colours[c].rgb() & 0xFFFFFF) + 1
                                   : 0;
        return (colour << 3) | (state_.bold ? 1 : 0) | (state_.italic ? 2 : 0) | (state_.underline ? 4 : 0);
    }

    const QTextCharFormat& format(quint64 k)
    {
        auto it = formats_.find(k);
        if (it != formats_.end())
            return *it;
        QTextCharFormat f;
        if (const quint64 colour = k >> 3)
            f.setForeground(QColor(QRgb(colour - 1)));
        if (k & 1)
            f.setFontWeight(QFont::Bold);
        if (k & 2)
            f.setFontItalic(true);
        if (k & 4)
            f.setFontUnderline(true);
        return *formats_.insert(k, f);
    }

    void flush()
    {
        if (pending_.isEmpty())
            return;
        cursor_.insertText(pending_, format(pendingKey_));
        inserted_ += pending_.size();
        pending_.clear();
        if (pump_ && inserted_ >= kChunk) {
            inserted_ = 0;
            pump_();
        }
    }

    void endFont()
    {
        const QString name = fontName_.trimmed();
        if (fontNumber_ >= 0 && !name.isEmpty() && fontNumber_ < 4096) {
            while (content_.fonts.size() <= fontNumber_)
                content_.fonts.append(QString());
            content_.fonts[fontNumber_] = name;
        }
        fontName_.clear();
    }

    void resetColour()
    {
        red_ = green_ = blue_ = 0;
        colourSeen_ = false;
    }

    // About 2,500 lines of a unit: a few milliseconds of filling between
    // two calls of the pump.
    static constexpr qsizetype kChunk = 1 << 17;

    QTextCursor& cursor_;
    const LoadPump& pump_;
    qsizetype inserted_ = 0;
    RtfContent content_;
    std::vector<GroupState> stack_;
    GroupState state_;
    QString pending_;
    quint64 pendingKey_ = 0;
    int breaks_ = 0;
    int skip_ = 0;
    int fontNumber_ = -1;
    QString fontName_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSeen_ = false;
    QHash<quint64, QTextCharFormat> formats_;
};

} // namespace

QFont pageFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPixelSize(17);
    return f;
}

RtfContent loadRtf(QTextDocument& document, std::string_view rtf, const LoadPump& pump)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    document.setDefaultFont(pageFont());
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    Reader reader(cursor, pump);
    RtfContent content = reader.run(rtf);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return content;
}

QString documentText(const QTextDocument& document)
{
    QString text;
    text.reserve(document.characterCount());
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        if (b != document.begin())
            text.append(QChar(u'\n'));
        text.append(b.text());
    }
    return text;
}

namespace {

// The RTF of a file, and how it was decoded.
std::string colouredRtf(const QByteArray& fileBytes, const pascal::ColourScheme& scheme,
                        DecodedText& how)
{
    how = decode(fileBytes);
    pascal::TPasConversion conversion;
    conversion.setColourScheme(scheme);
    std::string_view source(fileBytes.constData(), static_cast<std::size_t>(fileBytes.size()));
    if (how.encoding == TextEncoding::Utf8WithBom) {
        conversion.setEncoding(pascal::SourceEncoding::Utf8);
        source.remove_prefix(3);
    }
    return conversion.convert(source);
}

} // namespace

DecodedText loadPascalSource(QTextDocument& document, const QByteArray& fileBytes,
                             const pascal::ColourScheme& scheme, const LoadPump& pump)
{
    DecodedText how;
    const std::string rtf = colouredRtf(fileBytes, scheme, how);
    loadRtf(document, rtf, pump);
    return how;
}

} // namespace lingrove::model
