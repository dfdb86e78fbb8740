#pragma once
// The Delphi compiler's library path as an installed Delphi IDE keeps it in
// the key store, and the library path as a list of folders.
#include <QString>
#include <QStringList>

namespace lingrove::platform {
class KeyStore;
}

namespace lingrove::model {

struct LibraryPath {
    QString searchPath;   // folders separated by ";"
    QString unitAliases;  // as the IDE keeps them
};

// SearchPath and UnitAliases of "Software\Borland\Delphi\<n>.0\Library". A
// missing key or value gives an empty field; the key store is only read.
LibraryPath delphiLibraryPath(const platform::KeyStore& store, int version);

// A library path as lines: split at every ";", empty pieces kept (a path
// ending in ";" gives an empty last line). An empty path gives no lines.
QStringList splitLibraryPath(const QString& path);
// The lines joined with ";" between them.
QString joinLibraryPath(const QStringList& lines);

} // namespace lingrove::model
