#pragma once
// Paths as the program stores them (Windows style, "\" separated) and as the
// file system takes them.
#include <QString>

namespace lingrove::platform {

struct SplitPath {
    QString folder;   // up to and including the last "\", "/" or ":"
    QString file;     // after it
};

// Split a stored tool path: C:\D\bin\dcc32.exe -> C:\D\bin\ + dcc32.exe
SplitPath splitToolPath(const QString& path);

// The platform's separator: "/" here.
QChar separator();

// folder + separator + name; a folder that ends in a separator already keeps
// that one.
QString joinPath(const QString& folder, const QString& name);

// A stored name with "\" turned into the platform's separator.
QString toNative(const QString& path);

// The folder part of a path (without trailing separator), "\" or "/" alike.
QString folderOf(const QString& path);
// The file-name part of a path, after the last "\", "/" or ":".
QString fileNameOf(const QString& path);

// Find a file as Windows would: relName may use "\" or "/" and any letter
// case; each part is matched without regard to case inside base. Returns the
// real path (base as given, then each part as spelled on disk, joined by
// "/"), or an empty string when there is no such file (or folder). When
// several entries differ only in case, the exact spelling wins, else the
// first in name order.
QString findCaseInsensitive(const QString& base, const QString& relName);

// The program's own folder, without a trailing separator: $LINGROVE_HOME when
// set, else the executable's folder (needs a QCoreApplication).
QString programFolder();

} // namespace lingrove::platform
