// Binary form data -> events.
#include "core/formfile/Events.h"

namespace lingrove::formfile::detail {

namespace {

class BinaryParser : private ByteCursor {
public:
    BinaryParser(std::string_view input, long long base, Sink& sink) : ByteCursor(input, base), sink_(sink) {}

    void run()
    {
        signature();
        component(0);
    }

private:
    Origin origin(const unsigned char* start) const
    {
        const auto b = static_cast<std::size_t>(base_);
        return {b + static_cast<std::size_t>(start - begin_), b + static_cast<std::size_t>(start - begin_),
                b + static_cast<std::size_t>(p_ - begin_)};
    }

    void component(int depth)
    {
        checkDepth(depth);
        const unsigned char* start = p_;
        const ComponentPrefix prefix = componentPrefix(true);
        ObjectHeader h;
        h.flags = prefix.flags;
        h.prefixByte = prefix.present;
        if (prefix.hasPosition) {
            h.position.type = prefix.positionType;
            h.position.integer = prefix.position;
        }
        h.className = shortString();
        h.name = shortString();
        sink_.object(h, origin(start));
        properties(depth);
        sink_.endProperties();
        while (peek() != 0)
            component(depth + 1);
        ++p_;
        sink_.endObject();
    }

    void properties(int depth)
    {
        while (peek() != 0) {
            const unsigned char* at = p_;
            const std::string_view name = shortString();
            sink_.property(name, origin(at));
            value(depth + 1);
        }
        ++p_;
    }

    void value(int depth)
    {
        checkDepth(depth);
        const unsigned char* at = p_;
        Scalar v;
        v.type = byte();
        switch (v.type) {
        case vaList:
            sink_.beginList(origin(at));
            while (peek() != 0)
                value(depth + 1);
            ++p_;
            sink_.endList();
            return;
        case vaCollection:
            sink_.beginCollection(origin(at));
            while (peek() != 0) {
                const unsigned char* itemAt = p_;
                Scalar index;
                const std::uint8_t first = peek();
                if (first >= vaInt8 && first <= vaInt32) {
                    ++p_;
                    index.type = first;
                    index.integer = intPayload(first);
                }
                const unsigned char* listAt = p_;
                if (byte() != vaList)
                    fail(FormError::Kind::UnknownValueType,
                         "collection item must start with a list (value type 1) or an index", listAt);
                sink_.item(index, origin(itemAt));
                properties(depth + 1);
                sink_.endItem();
            }
            ++p_;
            sink_.endCollection();
            return;
        case vaInt8:
        case vaInt16:
        case vaInt32:
            v.integer = intPayload(v.type);
            break;
        case vaInt64:
            v.integer = static_cast<std::int64_t>(u64());
            break;
        case vaExtended:
            v.bytes = bytes(10);
            break;
        case vaSingle:
            v.bytes = bytes(4);
            break;
        case vaCurrency:
        case vaDate:
        case vaDouble:
            v.bytes = bytes(8);
            break;
        case vaString:
        case vaIdent:
            v.bytes = shortString();
            break;
        case vaLString:
        case vaUTF8String:
        case vaBinary:
            v.bytes = bytes(u32());
            break;
        case vaWString: {
            const std::uint64_t units = u32();
            v.bytes = bytes(static_cast<std::size_t>(units * 2));
            break;
        }
        case vaFalse:
        case vaTrue:
        case vaNil:
            break;
        case vaSet: {
            const unsigned char* first = p_;
            while (shortString().size() != 0) {
            }
            v.bytes = std::string_view(reinterpret_cast<const char*>(first), static_cast<std::size_t>(p_ - first));
            break;
        }
        default:
            fail(FormError::Kind::UnknownValueType,
                 "unknown value type " + std::to_string(v.type) + " (0x" + hex2(v.type) + ")", at);
        }
        sink_.value(v, origin(at));
    }

    Sink& sink_;
};

} // namespace

void parseBinary(std::string_view data, long long base, Sink& sink)
{
    BinaryParser(data, base, sink).run();
}

} // namespace lingrove::formfile::detail
