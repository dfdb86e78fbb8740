// Binary form data -> text form.
#include "formfile/Extended.h"
#include "formfile/FormFile.h"
#include "formfile/Internal.h"

#include <charconv>

namespace lingrove::formfile {

using namespace detail;

namespace {

class BinaryReader : private ByteCursor {
public:
    BinaryReader(std::string_view input, std::string& out) : ByteCursor(input), out_(out) {}

    void run()
    {
        signature();
        out_.reserve(out_.size() + static_cast<std::size_t>(end_ - begin_) * 2 + 256);
        writeComponent(0, 0);
    }

private:
    void appendInt(long long v)
    {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out_.append(buf, r.ptr);
    }

    void indent(int level) { out_.append(static_cast<std::size_t>(level) * 2, ' '); }

    void newLine(int level)
    {
        out_ += "\r\n";
        indent(level);
    }

    void writeComponent(int level, int depth)
    {
        checkDepth(depth);
        const ComponentPrefix prefix = componentPrefix(true);
        const std::string_view className = shortString();
        const std::string_view name = shortString();

        indent(level);
        out_ += (prefix.flags & kFlagInherited) ? "inherited " : "object ";
        if (!name.empty()) {
            out_ += name;
            out_ += ": ";
        }
        out_ += className;
        if (prefix.hasPosition) {
            out_ += " [";
            appendInt(prefix.position);
            out_ += ']';
        }
        out_ += "\r\n";

        while (peek() != 0) {
            indent(level + 1);
            out_ += shortString();
            out_ += " = ";
            writeValue(level + 1, depth + 1);
            out_ += "\r\n";
        }
        ++p_;
        while (peek() != 0)
            writeComponent(level + 1, depth + 1);
        ++p_;
        indent(level);
        out_ += "end\r\n";
    }

    void writeString(std::string_view s)
    {
        if (s.empty()) {
            out_ += "''";
            return;
        }
        const char* p = s.data();
        const char* const end = p + s.size();
        auto plain = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u >= 32 && u != '\'';
        };
        while (p < end) {
            const char* run = p;
            while (p < end && plain(*p))
                ++p;
            if (p > run) {
                out_ += '\'';
                out_.append(run, static_cast<std::size_t>(p - run));
                out_ += '\'';
            }
            while (p < end && !plain(*p)) {
                out_ += '#';
                appendInt(static_cast<unsigned char>(*p));
                ++p;
            }
        }
    }

    void writeBinary(int level)
    {
        const std::uint32_t length = u32();
        need(length);
        static const char digits[] = "0123456789ABCDEF";
        out_ += '{';
        const bool multiLine = length >= 32;
        const unsigned char* p = p_;
        const unsigned char* const end = p_ + length;
        while (p < end) {
            if (multiLine)
                newLine(level + 1);
            const std::size_t chunk = std::min<std::size_t>(32, static_cast<std::size_t>(end - p));
            const std::size_t at = out_.size();
            out_.resize(at + chunk * 2);
            char* o = out_.data() + at;
            for (std::size_t i = 0; i < chunk; ++i) {
                o[2 * i] = digits[p[i] >> 4];
                o[2 * i + 1] = digits[p[i] & 15];
            }
            p += chunk;
        }
        p_ = end;
        out_ += '}';
    }

    void writeValue(int level, int depth)
    {
        checkDepth(depth);
        const unsigned char* at = p_;
        const std::uint8_t type = byte();
        switch (type) {
        case vaList:
            out_ += '(';
            while (peek() != 0) {
                newLine(level + 1);
                writeValue(level + 1, depth + 1);
            }
            ++p_;
            out_ += ')';
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
            appendInt(intPayload(type));
            break;
        case vaExtended:
            need(10);
            if (!extendedToText(p_, out_))
                fail(FormError::Kind::NotFinite, "floating-point value is infinite or not a number", at);
            p_ += 10;
            break;
        case vaString:
            writeString(shortString());
            break;
        case vaLString: {
            writeString(bytes(u32()));
            break;
        }
        case vaIdent:
            out_ += shortString();
            break;
        case vaFalse:
            out_ += "False";
            break;
        case vaTrue:
            out_ += "True";
            break;
        case vaNil:
            out_ += "nil";
            break;
        case vaBinary:
            writeBinary(level);
            break;
        case vaSet: {
            out_ += '[';
            bool first = true;
            for (;;) {
                const std::string_view element = shortString();
                if (element.empty())
                    break;
                if (!first)
                    out_ += ", ";
                out_ += element;
                first = false;
            }
            out_ += ']';
            break;
        }
        case vaCollection:
            writeCollection(level, depth);
            break;
        default:
            fail(FormError::Kind::UnknownValueType,
                 "unknown value type " + std::to_string(type) + " (0x" + hex2(type) + ")", at);
        }
    }

    void writeCollection(int level, int depth)
    {
        out_ += '<';
        while (peek() != 0) {
            newLine(level + 1);
            out_ += "item";
            const std::uint8_t first = peek();
            if (first >= vaInt8 && first <= vaInt32) {
                ++p_;
                out_ += " [";
                appendInt(intPayload(first));
                out_ += ']';
            }
            const unsigned char* listAt = p_;
            if (byte() != vaList)
                fail(FormError::Kind::UnknownValueType,
                     "collection item must start with a list (value type 1) or an index", listAt);
            out_ += "\r\n";
            while (peek() != 0) {
                indent(level + 2);
                out_ += shortString();
                out_ += " = ";
                writeValue(level + 2, depth + 1);
                out_ += "\r\n";
            }
            ++p_;
            indent(level + 1);
            out_ += "end";
        }
        ++p_;
        out_ += '>';
    }

    std::string& out_;
};

} // namespace

void BinaryToText(std::string_view input, std::string& output)
{
    BinaryReader(input, output).run();
}

} // namespace lingrove::formfile
