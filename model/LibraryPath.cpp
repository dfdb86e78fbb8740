#include "model/LibraryPath.h"

#include "model/DelphiInstallation.h"
#include "platform/KeyStore.h"

namespace lingrove::model {

LibraryPath delphiLibraryPath(const platform::KeyStore& store, int version)
{
    LibraryPath result;
    const QString key = delphi::libraryKey(version);
    if (!store.keyExists(key))
        return result;
    result.searchPath = store.readString(key, QStringLiteral("SearchPath"));
    result.unitAliases = store.readString(key, QStringLiteral("UnitAliases"));
    return result;
}

QStringList splitLibraryPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    return path.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

QString joinLibraryPath(const QStringList& lines)
{
    return lines.join(QLatin1Char(';'));
}

} // namespace lingrove::model
