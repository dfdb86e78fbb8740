#pragma once
// Whole-file reading and writing for the Qt side of the program, over the one
// reader and writer in core/io/Files.h.
#include <QByteArray>
#include <QString>

namespace lingrove::platform {

// Replaces path with bytes through a temporary file beside it (see
// core/io/Files.h). On failure path is left as it was and, when why is
// given, it is set to one line naming the file and the reason. Every file the
// program writes goes through here.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why = nullptr);

// Outcome of reading a whole file.
enum class ReadResult {
    Read,     // bytes holds the content
    Missing,  // there is no such file; bytes is empty
    Failed,   // a folder, a device, or a file that could not be read; why says which
};

ReadResult readFile(const QString& path, QByteArray& bytes, QString* why = nullptr);

// Removes what writers that were killed left in folder (see core/io/Files.h).
void removeStaleTemporaries(const QString& folder);

} // namespace lingrove::platform
