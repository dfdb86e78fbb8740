#pragma once
// Whole-file reading and writing.
#include <QByteArray>
#include <QString>

namespace lingrove::platform {

// Writes bytes to a temporary file beside path and renames it over path.
// On failure path is left as it was and, when why is given, it is set to the
// reason. Every file the program writes goes through here.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why = nullptr);

namespace detail {

// Outcome of reading a whole file.
enum class ReadResult {
    Read,       // bytes holds the content
    Missing,    // there is no such file; bytes is empty
    Unreadable, // the file exists but could not be opened
};

ReadResult readWholeFile(const QString& path, QByteArray& bytes);

} // namespace detail
} // namespace lingrove::platform
