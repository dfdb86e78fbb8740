#pragma once
// The files of a folder and its sub-folders copied into another, writable.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

inline bool copyTree(const QString& from, const QString& to)
{
    bool all = true;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        all = QFile::copy(file, target) && all;
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    return all;
}
