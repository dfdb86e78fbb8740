#pragma once
// The readers of both layouts report a form as a sequence of events to a
// Sink; the writers are sinks. Values that are neither lists nor collections
// are Scalars in the terms of the binary layout, so that every writer sees the
// exact type and bytes a value has.
#include "core/formfile/Internal.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lingrove::formfile::detail {

struct Scalar {
    std::uint8_t type = vaNull;
    // vaInt8, vaInt16, vaInt32, vaInt64: the number.
    std::int64_t integer = 0;
    // Strings: the stored bytes (8-bit, UTF-8, or UTF-16LE for vaWString);
    // vaIdent: the name; vaBinary: the data; vaSet: the element names as short
    // strings with the closing empty one; vaSingle, vaDouble, vaDate,
    // vaCurrency, vaExtended: the little-endian payload.
    std::string_view bytes;

    bool operator==(const Scalar& o) const { return type == o.type && integer == o.integer && bytes == o.bytes; }
};

// Where an event stands in its source, in bytes from the start of the whole
// input: start and end of the value or name; for text, gap is where the
// whitespace before it begins (after the preceding token).
struct Origin {
    std::size_t gap = 0;
    std::size_t start = 0;
    std::size_t end = 0;
};

struct ObjectHeader {
    std::uint8_t flags = 0;     // kFlagInherited | kFlagChildPos | kFlagInline
    bool prefixByte = false;    // binary: a prefix byte was stored (possibly 0xF0)
    Scalar position;            // the child position (an integer) with flag 2
    std::string_view className;
    std::string_view name;
};

class Sink {
public:
    virtual ~Sink() = default;
    virtual void object(const ObjectHeader& header, const Origin& at) = 0;
    virtual void property(std::string_view name, const Origin& at) = 0;
    virtual void value(const Scalar& value, const Origin& at) = 0;
    virtual void beginList(const Origin& at) = 0;
    virtual void endList() = 0;
    virtual void beginCollection(const Origin& at) = 0;
    // index is vaNull when the item has none.
    virtual void item(const Scalar& index, const Origin& at) = 0;
    virtual void endItem() = 0;
    virtual void endCollection() = 0;
    virtual void endProperties() = 0;
    virtual void endObject() = 0;
};

// Binary form data from the "TPF0" signature on; origins and error offsets
// count from base.
void parseBinary(std::string_view data, long long base, Sink& sink);

struct TextOptions {
    // An 8-bit cast (String(...), LString(...)) whose text the type cannot
    // hold gives the wide string the plain notation would, instead of an error.
    bool lenientCasts = false;
};
// A text form (8-bit, or UTF-8 after a byte-order mark); origins count from
// the start of text, byte-order mark included.
void parseText(std::string_view text, Sink& sink, const TextOptions& options = {});

// The binary layout of everything the sink is told, appended to out
// (starting with "TPF0").
class BinaryEmitter : public Sink {
public:
    explicit BinaryEmitter(std::string& out) : out_(out) {}
    void object(const ObjectHeader& header, const Origin&) override;
    void property(std::string_view name, const Origin&) override { shortString(name); }
    void value(const Scalar& v, const Origin&) override { scalar(out_, v); }
    void beginList(const Origin&) override { out_ += static_cast<char>(vaList); }
    void endList() override { out_ += '\0'; }
    void beginCollection(const Origin&) override { out_ += static_cast<char>(vaCollection); }
    void item(const Scalar& index, const Origin&) override
    {
        if (index.type != vaNull)
            scalar(out_, index);
        out_ += static_cast<char>(vaList);
    }
    void endItem() override { out_ += '\0'; }
    void endCollection() override { out_ += '\0'; }
    void endProperties() override { out_ += '\0'; }
    void endObject() override { out_ += '\0'; }

    // The binary encoding of one scalar.
    static void scalar(std::string& out, const Scalar& v);

private:
    void shortString(std::string_view s);
    std::string& out_;
};

// How text is written by TextEmitter.
enum class TextStyle {
    Delphi,      // as Delphi writes a form: quoted runs with #nnn, 8-bit text
    Page1252,    // page text: one quoted literal per string, Windows-1252
    PageUtf8,    // page text: one quoted literal per string, UTF-8 (no byte-order mark)
};

// The text form of everything the sink is told, appended to out: two spaces
// of indentation per level, CR LF line ends.
class TextEmitter : public Sink {
public:
    TextEmitter(std::string& out, TextStyle style) : out_(out), style_(style) {}
    void object(const ObjectHeader& header, const Origin&) override;
    void property(std::string_view name, const Origin&) override;
    void value(const Scalar& v, const Origin&) override;
    void beginList(const Origin&) override;
    void endList() override;
    void beginCollection(const Origin&) override;
    void item(const Scalar& index, const Origin&) override;
    void endItem() override;
    void endCollection() override;
    void endProperties() override {}
    void endObject() override;

    // One scalar at the given level (the level of its property), in the
    // given style. Throws FormError (offset -1) for a value with no text
    // form (infinite or not-a-number floats, UTF-8 strings that are not UTF-8).
    static void scalar(std::string& out, const Scalar& v, TextStyle style, int level, std::string_view eol = "\r\n");
    // The same; errors name the byte offset at.
    static void scalarAt(std::string& out, const Scalar& v, TextStyle style, int level, std::string_view eol,
                         std::size_t at);

private:
    struct Frame {
        enum Kind { Object, List, Collection, Item } kind;
        int level;
    };
    void indent(int level) { out_.append(static_cast<std::size_t>(level) * 2, ' '); }
    void startValue();
    void finishValue();
    std::string& out_;
    TextStyle style_;
    std::vector<Frame> stack_;
    int valueLevel_ = 0;
};

// Helpers shared by the writers and readers.
std::uint8_t wideTypeFor(std::u16string_view units);  // vaUTF8String when shorter, else vaWString
std::u16string unitsOf(const Scalar& v);                // a string value as UTF-16 (8-bit as Windows-1252)
// The name of a value type as the casts of the text form spell it, or nullptr.
const char* castName(std::uint8_t type);

} // namespace lingrove::formfile::detail
