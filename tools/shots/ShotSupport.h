#pragma once
// What the picture and trial programs share: a program folder and settings
// of their own in a temporary folder, copies of project folders, and
// pictures of the whole screen.
#include "model/Dictionary.h"
#include "model/SettingsStore.h"
#include "platform/KeyStore.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <utility>

namespace lingrove::shots {

// The files of a folder and its sub-folders copied into another, writable.
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

// The program's folder and its settings under folder/home. With configured,
// the tools are set, so that the first start asks nothing.
inline void useHome(const QString& folder, bool configured)
{
    const QString home = folder + "/home";
    QDir().mkpath(home);
    qputenv("LINGROVE_HOME", home.toUtf8());
    qputenv("LINGROVE_KEYSTORE", (home + "/registry.txt").toUtf8());
    if (!configured)
        return;
    model::Settings settings = model::Settings::defaults();
    settings.compiler.folder = settings.ide.folder = settings.resourceCompiler.folder = folder + "/";
    platform::KeyStore store;
    model::settings_store::save(store, settings, false);
}

// A dictionary table that knows these pairs.
inline void makeTable(const QString& name, const QList<std::pair<QString, QString>>& pairs)
{
    QString error;
    model::createTable(name, model::kDefaultFieldSize, &error);
    model::Dictionary dictionary;
    dictionary.open(name, &error);
    for (const auto& [source, translation] : pairs)
        dictionary.store(source, translation);
}

inline void settle()
{
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

// The whole screen into path, once the windows are painted.
inline bool shoot(const QString& path)
{
    settle();
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const bool saved = screen.save(path, "PNG");
    std::printf("%s: %s\n", qPrintable(path), saved ? "written" : "NOT WRITTEN");
    return saved;
}

} // namespace lingrove::shots
