#include "platform/FileUtil.h"

#include "core/io/Files.h"

#include <QFile>

namespace lingrove::platform {

ReadResult readFile(const QString& path, QByteArray& bytes, QString* why)
{
    std::string data;
    std::string reason;
    const io::ReadResult result = io::readFile(QFile::encodeName(path).toStdString(), data, &reason);
    bytes = result == io::ReadResult::Read ? QByteArray::fromStdString(data) : QByteArray();
    if (result != io::ReadResult::Read && why)
        *why = QFile::decodeName(reason.c_str());
    switch (result) {
    case io::ReadResult::Read:
        return ReadResult::Read;
    case io::ReadResult::Missing:
        return ReadResult::Missing;
    case io::ReadResult::Failed:
        break;
    }
    return ReadResult::Failed;
}

void removeStaleTemporaries(const QString& folder)
{
    io::removeStaleTemporaries(QFile::encodeName(folder).toStdString());
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* why)
{
    std::string reason;
    const bool ok = io::replaceFile(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), std::size_t(bytes.size())), &reason);
    if (!ok && why)
        *why = QFile::decodeName(reason.c_str());
    return ok;
}

} // namespace lingrove::platform
