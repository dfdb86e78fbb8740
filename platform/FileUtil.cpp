#include "platform/FileUtil.h"

#include <QFile>
#include <QSaveFile>

namespace lingrove::platform {
namespace detail {

ReadResult readWholeFile(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    QFile f(path);
    if (!f.exists())
        return ReadResult::Missing;
    if (!f.open(QIODevice::ReadOnly))
        return ReadResult::Unreadable;
    bytes = f.readAll();
    return ReadResult::Read;
}

} // namespace detail

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why)
{
    QSaveFile f(path);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok && f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        ok = false;
    }
    if (ok)
        ok = f.commit();
    if (!ok && why)
        *why = f.errorString();
    return ok;
}

} // namespace lingrove::platform
