#include "toolchain/Codepage.h"

#include "sources/TextCodec.h"
#include "core/text/Windows1252.h"

#include <QList>
#include <QStringDecoder>

namespace lingrove::toolchain {

QByteArray encodeCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t cp : text.toUcs4()) {
        const int b = text::toWindows1252(cp);
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string toCp1252String(const QString& text) { return encodeCp1252(text).toStdString(); }

QString decodeCp1252(const QByteArray& bytes)
{
    return sources::fromWindows1252(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString decodeCp1252(const std::string& bytes)
{
    return sources::fromWindows1252(bytes);
}

QString decodeToolOutput(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

} // namespace lingrove::toolchain
