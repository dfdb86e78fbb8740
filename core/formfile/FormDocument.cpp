// Page text of a form file and writing the file back from an edited page text.
#include "core/formfile/FormDocument.h"

#include "core/text/Encoding.h"
#include "core/formfile/Events.h"

#include <deque>
#include <vector>

namespace lingrove::formfile {

using namespace detail;

namespace {

struct Event {
    enum Kind : std::uint8_t {
        Object, Property, Value, BeginList, EndList, BeginCollection, Item, EndItem, EndCollection,
        EndProperties, EndObject,
    };
    explicit Event(Kind k) : kind(k) {}
    Kind kind;
    std::uint8_t flags = 0;
    bool inList = false;        // a value (or list, collection) that is an item of a list
    Scalar value;               // Value; Object: the child position; Item: the index
    std::string_view name;      // Property, Object
    std::string_view className; // Object
    Origin at;
    std::size_t owner = 0;      // Value: where its property's name starts (text)
};

// Keeps every event with copies of what does not point into the source.
class Recorder : public Sink {
public:
    explicit Recorder(std::string_view source) : source_(source) {}

    std::vector<Event> events;

    void object(const ObjectHeader& h, const Origin& at) override
    {
        Event e{Event::Object};
        e.flags = h.flags;
        e.value = h.position;
        e.name = keep(h.name);
        e.className = keep(h.className);
        push(e, at);
        inList_.push_back(false);
    }
    void property(std::string_view name, const Origin& at) override
    {
        Event e{Event::Property};
        e.name = keep(name);
        push(e, at);
        owner_ = at.start;
    }
    void value(const Scalar& v, const Origin& at) override
    {
        Event e{Event::Value};
        e.value = v;
        e.value.bytes = keep(v.bytes);
        e.inList = inList_.back();
        e.owner = owner_;
        push(e, at);
    }
    void beginList(const Origin& at) override
    {
        Event e{Event::BeginList};
        e.inList = inList_.back();
        push(e, at);
        inList_.push_back(true);
    }
    void endList() override { end(Event::EndList); }
    void beginCollection(const Origin& at) override
    {
        Event e{Event::BeginCollection};
        e.inList = inList_.back();
        push(e, at);
        inList_.push_back(false);
    }
    void item(const Scalar& index, const Origin& at) override
    {
        Event e{Event::Item};
        e.value = index;
        push(e, at);
        inList_.push_back(false);
    }
    void endItem() override { end(Event::EndItem); }
    void endCollection() override { end(Event::EndCollection); }
    void endProperties() override
    {
        Event e{Event::EndProperties};
        push(e, last_);
    }
    void endObject() override { end(Event::EndObject); }

private:
    std::string_view keep(std::string_view s)
    {
        if (s.empty() || (s.data() >= source_.data() && s.data() + s.size() <= source_.data() + source_.size()))
            return s;
        store_.emplace_back(s);
        return store_.back();
    }
    void push(Event& e, const Origin& at)
    {
        e.at = at;
        last_ = at;
        events.push_back(e);
    }
    void end(Event::Kind kind)
    {
        Event e{kind};
        push(e, last_);
        inList_.pop_back();
    }

    std::string_view source_;
    std::deque<std::string> store_;
    std::vector<bool> inList_{false};
    Origin last_;
    std::size_t owner_ = 0;
};

bool hasNonAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

bool wideBeyondAscii(const Scalar& v)
{
    if (v.type == vaUTF8String)
        return hasNonAscii(v.bytes);
    if (v.type == vaWString)
        for (std::size_t i = 1; i < v.bytes.size(); i += 2)
            if (v.bytes[i] != 0 || static_cast<unsigned char>(v.bytes[i - 1]) >= 0x80)
                return true;
    return false;
}

// Line and column (characters) of offset in a text.
void position(std::string_view text, std::size_t offset, long& line, long& column)
{
    const bool utf8 = text::hasUtf8ByteOrderMark(text);
    line = 1, column = 1;
    for (std::size_t i = utf8 ? 3 : 0; i < offset && i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++line;
            column = 1;
        } else if (c != '\r' && !(utf8 && (c & 0xC0) == 0x80)) {
            ++column;
        }
    }
}

std::string describe(const Event& e)
{
    switch (e.kind) {
    case Event::Object:
        return "object '" + (e.name.empty() ? std::string() : std::string(e.name) + ": ") + std::string(e.className)
               + "'";
    case Event::Property: return "property '" + std::string(e.name) + "'";
    case Event::Value: return "a value";
    case Event::BeginList: return "a list";
    case Event::EndList: return "the end of a list";
    case Event::BeginCollection: return "a collection";
    case Event::Item: return "an item";
    case Event::EndItem: return "the end of an item";
    case Event::EndCollection: return "the end of a collection";
    case Event::EndProperties: return "the end of the properties";
    case Event::EndObject: return "the end of an object";
    }
    return {};
}

bool sameStructure(const Event& a, const Event& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Event::Object:
        return a.flags == b.flags && a.name == b.name && a.className == b.className
               && (!(a.flags & kFlagChildPos) || (a.value.type == b.value.type && a.value.integer == b.value.integer));
    case Event::Property: return a.name == b.name;
    case Event::Item: return a.value.type == b.value.type && a.value.integer == b.value.integer;
    default: return true;
    }
}

// ---- writing values into a text form file ----

struct TextFile {
    std::string_view text;
    bool utf8;
    std::string eol;
};

// The blanks that start the line holding offset.
std::string_view lineIndent(std::string_view text, std::size_t offset)
{
    std::size_t start = offset;
    while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
        --start;
    std::size_t end = start;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t'))
        ++end;
    return text.substr(start, end - start);
}

// A string as Delphi writes one: quoted runs and #nnn codes, in pieces of at
// most 64 characters joined by " +" and a new line; a value of more than 64
// characters starts on a line of its own.
void delphiString(std::string& out, const std::u16string& units, const TextFile& file, std::string_view indent)
{
    struct Char {
        std::string literal; // empty: written as a code
        unsigned code = 0;
    };
    std::vector<Char> chars;
    chars.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        Char c;
        c.code = u;
        if (u < 32 || u == '\'' || (u >= 0x7F && u < 0xA0 && file.utf8)) {
        } else if (!file.utf8) {
            const int b = text::toWindows1252(u);
            if (b >= 0)
                c.literal.assign(1, static_cast<char>(b));
        } else if (text::isHighSurrogate(u) && i + 1 < units.size() && text::isLowSurrogate(units[i + 1])) {
            text::appendUtf8(c.literal, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            // The pair counts as one character.
            ++i;
        } else if (!text::isHighSurrogate(u) && !text::isLowSurrogate(u)) {
            text::appendUtf8(c.literal, u);
        }
        chars.push_back(std::move(c));
    }
    const std::size_t n = chars.size();
    if (n == 0) {
        out += "''";
        return;
    }
    constexpr std::size_t kLine = 64;
    if (n > kLine) {
        out += file.eol;
        out += indent;
    }
    std::size_t i = 0, lineStart = 0;
    while (i < n) {
        bool lineBreak = false;
        if (!chars[i].literal.empty()) {
            out += '\'';
            do {
                out += chars[i].literal;
                ++i;
            } while (i < n && !chars[i].literal.empty() && i - lineStart < kLine);
            out += '\'';
        } else {
            out += '#';
            out += std::to_string(chars[i].code);
            ++i;
        }
        lineBreak = i - lineStart >= kLine;
        if (lineBreak && i < n) {
            out += " +";
            out += file.eol;
            out += indent;
            lineStart = i;
        }
    }
}

void textValue(std::string& out, const Scalar& v, const TextFile& file, std::string_view indent)
{
    if (isStringType(v.type)) {
        delphiString(out, unitsOf(v), file, std::string(indent) + "  ");
        return;
    }
    int level = 0;
    for (char c : indent)
        level += c == '\t' ? 4 : 1;
    TextEmitter::scalar(out, v, TextStyle::Delphi, level / 2, file.eol);
}

// ---- the string type of an edited value in a binary form ----

struct FormKinds {
    bool wide = false; // the form holds wide strings (written by a Delphi that has them)
    bool utf8 = false; // the form holds UTF-8 strings
};

// The scalar to store for an edited value whose stored value is old.
Scalar storedValue(const Scalar& old, const Scalar& edited, const FormKinds& kinds, std::string& buffer)
{
    if (!isStringType(old.type) || !isStringType(edited.type))
        return edited;
    if (isByteString(old.type) && isByteString(edited.type))
        return edited;
    const std::u16string units = unitsOf(edited);
    std::uint8_t type = old.type;
    if (isByteString(old.type)) {
        // An 8-bit string stays 8-bit while Windows-1252 holds it and the form
        // has no wide strings; otherwise it becomes wide as Delphi stores it.
        bool fits = !kinds.wide;
        for (std::size_t i = 0; fits && i < units.size(); ++i)
            fits = text::toWindows1252(units[i]) >= 0;
        if (fits) {
            buffer.clear();
            for (char16_t u : units)
                buffer += static_cast<char>(text::toWindows1252(u));
            Scalar s;
            s.type = buffer.size() <= 255 ? vaString : vaLString;
            s.bytes = buffer;
            return s;
        }
        type = kinds.utf8 ? wideTypeFor(units) : std::uint8_t{vaWString};
    }
    buffer.clear();
    if (type == vaUTF8String && !text::unitsToUtf8(units, buffer)) {
        buffer.clear();
        type = vaWString;
    }
    if (type == vaWString)
        text::appendLE(buffer, units);
    Scalar s;
    s.type = type;
    s.bytes = buffer;
    return s;
}

} // namespace

struct FormDocument::Impl {
    std::string bytes;
    FormFormat format = FormFormat::Text;
    bool textUtf8 = false;
    std::size_t dataStart = 0; // binary: where "TPF0" starts
    PageEncoding encoding = PageEncoding::Windows1252;
    std::string page;

    // Tells the form to sink.
    void parse(Sink& sink) const
    {
        const std::string_view source = bytes;
        if (format == FormFormat::Text)
            parseText(source, sink);
        else
            parseBinary(source.substr(dataStart), static_cast<long long>(dataStart), sink);
    }
};

namespace {

// Whether a page needs UTF-8: a wide string with a character beyond ASCII,
// or a name beyond ASCII in UTF-8 (as Delphi 2009 and later store names).
class UnicodeProbe : public Sink {
public:
    bool unicode = false;
    void object(const ObjectHeader& h, const Origin&) override { unicode = unicode || utf8Name(h.name) || utf8Name(h.className); }
    void property(std::string_view name, const Origin&) override { unicode = unicode || utf8Name(name); }
    void value(const Scalar& v, const Origin&) override
    {
        unicode = unicode || wideBeyondAscii(v) || (v.type == vaIdent && utf8Name(v.bytes));
    }
    void beginList(const Origin&) override {}
    void endList() override {}
    void beginCollection(const Origin&) override {}
    void item(const Scalar&, const Origin&) override {}
    void endItem() override {}
    void endCollection() override {}
    void endProperties() override {}
    void endObject() override {}

private:
    static bool utf8Name(std::string_view s) { return hasNonAscii(s) && text::isValidUtf8(s); }
};

} // namespace

FormFormat formFormatOf(std::string_view bytes)
{
    if (!bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0xFF)
        return FormFormat::Resource;
    if (bytes.substr(0, 4) == "TPF0")
        return FormFormat::Data;
    return FormFormat::Text;
}

FormDocument FormDocument::load(std::string bytes)
{
    auto impl = std::make_shared<Impl>();
    impl->bytes = std::move(bytes);
    const std::string_view source = impl->bytes;
    impl->format = formFormatOf(source);
    if (impl->format == FormFormat::Resource)
        impl->dataStart = skipResourceHeader(source);
    impl->textUtf8 = impl->format == FormFormat::Text && text::hasUtf8ByteOrderMark(source);

    // Once to learn the page's encoding, once to write it.
    UnicodeProbe probe;
    impl->parse(probe);
    const bool unicode = probe.unicode || (impl->textUtf8 && hasNonAscii(source.substr(3)));
    impl->encoding = unicode ? PageEncoding::Utf8 : PageEncoding::Windows1252;
    if (unicode)
        impl->page = "\xEF\xBB\xBF";
    impl->page.reserve(source.size() * 2 + 256);
    TextEmitter page(impl->page, unicode ? TextStyle::PageUtf8 : TextStyle::Page1252);
    impl->parse(page);
    return FormDocument(std::move(impl));
}

FormFormat FormDocument::format() const { return impl_->format; }
bool FormDocument::textIsUtf8() const { return impl_->textUtf8; }
PageEncoding FormDocument::pageEncoding() const { return impl_->encoding; }
const std::string& FormDocument::pageText() const { return impl_->page; }
const std::string& FormDocument::bytes() const { return impl_->bytes; }

std::string FormDocument::apply(std::string_view edited) const
{
    const Impl& d = *impl_;
    Recorder original(d.bytes);
    d.parse(original);
    FormKinds kinds;
    for (const Event& e : original.events) {
        if (e.kind == Event::Value) {
            kinds.wide = kinds.wide || isWideString(e.value.type);
            kinds.utf8 = kinds.utf8 || e.value.type == vaUTF8String;
        }
    }
    Recorder recorder(edited);
    TextOptions options;
    options.lenientCasts = true;
    parseText(edited, recorder, options);
    const std::vector<Event>& was = original.events;
    const std::vector<Event>& now = recorder.events;

    auto changed = [&](std::size_t i, const std::string& what) {
        long line, column;
        position(edited, i < now.size() ? now[i].at.start : edited.size(), line, column);
        throw FormError(FormError::Kind::StructureChanged,
                        "line " + std::to_string(line) + ", column " + std::to_string(column)
                            + ": the page text no longer matches the form here (" + what
                            + "); only values can be edited",
                        line, -1, {}, column);
    };

    struct Patch {
        const Event* original;
        const Event* edited;
    };
    std::vector<Patch> patches;
    const std::size_t n = std::min(was.size(), now.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Event& a = was[i];
        const Event& b = now[i];
        if (!sameStructure(a, b))
            changed(i, "the form has " + describe(a) + ", the page text " + describe(b));
        if (a.kind == Event::Value && !(a.value == b.value))
            patches.push_back({&a, &b});
    }
    if (was.size() != now.size())
        changed(n, "the form has " + std::to_string(was.size()) + " parts, the page text "
                       + std::to_string(now.size()));

    const std::string_view source = d.bytes;
    std::string out;
    out.reserve(source.size() + 256);
    std::size_t pos = 0;
    std::string buffer;
    if (d.format != FormFormat::Text) {
        for (const Patch& p : patches) {
            out.append(source.substr(pos, p.original->at.start - pos));
            BinaryEmitter::scalar(out, storedValue(p.original->value, p.edited->value, kinds, buffer));
            pos = p.original->at.end;
        }
        out.append(source.substr(pos));
        if (d.format == FormFormat::Resource && out.size() != source.size()) {
            // The data size in the header changes by as much as the data did
            // (bytes after the data, which some files carry, stay as they are).
            std::uint64_t size = 0;
            for (int k = 3; k >= 0; --k)
                size = (size << 8) | static_cast<unsigned char>(source[d.dataStart - 4 + static_cast<std::size_t>(k)]);
            size += out.size();
            size -= source.size();
            if (size > 0xFFFFFFFFu)
                throw FormError(FormError::Kind::Io, "form too large for a resource", 0, -1);
            for (int k = 0; k < 4; ++k)
                out[d.dataStart - 4 + static_cast<std::size_t>(k)] = static_cast<char>(size >> (8 * k));
        }
        return out;
    }

    TextFile file{source, d.textUtf8, "\r\n"};
    const std::size_t lf = source.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || source[lf - 1] != '\r'))
        file.eol = "\n";
    for (const Patch& p : patches) {
        const Event& e = *p.original;
        std::size_t from;
        std::string_view indent;
        std::string text;
        if (!e.inList) {
            // From behind "=": one blank, then the value.
            from = e.at.gap;
            indent = lineIndent(source, e.owner);
            text.push_back(' ');
        } else {
            // An item of a list keeps its own line break and indentation.
            from = e.at.start;
            const std::string_view gap = source.substr(e.at.gap, e.at.start - e.at.gap);
            const std::size_t br = gap.find_first_of("\r\n");
            if (br != std::string_view::npos) {
                std::size_t k = br + (gap.compare(br, 2, "\r\n") == 0 ? 2 : 1);
                const std::size_t blanks = k;
                while (k < gap.size() && (gap[k] == ' ' || gap[k] == '\t'))
                    ++k;
                from = e.at.gap + k;
                indent = gap.substr(blanks, k - blanks);
            } else {
                indent = lineIndent(source, e.at.start);
            }
        }
        textValue(text, p.edited->value, file, indent);
        out.append(source.substr(pos, from - pos));
        out += text;
        pos = e.at.end;
    }
    out.append(source.substr(pos));
    return out;
}

} // namespace lingrove::formfile
