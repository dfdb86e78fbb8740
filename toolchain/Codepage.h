#pragma once
// Text between Qt and the 8-bit Windows-1252 files of a Delphi project.
#include <QByteArray>
#include <QString>
#include <string>

namespace lingrove::toolchain {

// A character that the code page lacks becomes "?", as an 8-bit edit field
// would have it.
QByteArray encodeCp1252(const QString& text);
std::string toCp1252String(const QString& text);
QString decodeCp1252(const QByteArray& bytes);
QString decodeCp1252(const std::string& bytes);
// UTF-8 when the bytes are valid UTF-8 (what the Linux tools print), else
// Windows-1252.
QString decodeToolOutput(const QByteArray& bytes);

} // namespace lingrove::toolchain
