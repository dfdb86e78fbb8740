#pragma once
// A main window over a Delphi project in a temporary folder, with scripted
// message boxes.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "platform/UserInterface.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace pagetest {

using lingrove::app::MainWindow;
using lingrove::app::state;

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("LINGROVE_HOME", (dir.path() + "/home").toUtf8());
        qputenv("LINGROVE_KEYSTORE", (dir.path() + "/home/registry.txt").toUtf8());
        state() = lingrove::app::AppState{};
        project = dir.path() + "/project";
        QDir().mkpath(project);
    }
    void TearDown() override
    {
        window.reset();
        state() = lingrove::app::AppState{};
        QDir::setCurrent(QDir::tempPath());
    }

    // The demo project of examples/ copied into the project folder.
    QString copyDemo()
    {
        const QString from = QString(LINGROVE_SOURCE_ROOT) + "/examples/demo";
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString rel = QDir(from).relativeFilePath(file);
            if (!rel.startsWith("src-text"))
                writeBytes(project + "/" + rel, readBytes(file));
        }
        return project + "/Demo.dpr";
    }

    // The window with the project source dpr loaded.
    MainWindow& open(const QString& dpr)
    {
        state().project.ProjectName = "Test";
        state().project.DelphiProjectFile = dpr;
        window = std::make_unique<MainWindow>();
        window->AlteDatei(dpr);
        return *window;
    }

    QStringList captions() const
    {
        QStringList out;
        for (int i = 0; i < window->PageControl1->count(); ++i)
            out << window->PageControl1->tabText(i);
        return out;
    }

    // Names of the files left in the project folder with this extension.
    QStringList leftOver(const QString& pattern) const
    {
        QStringList out;
        QDirIterator it(project, {pattern}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next();
        return out;
    }

    QTemporaryDir dir;
    QString project;
    lingrove::platform::ScriptedUi ui;
    std::unique_ptr<MainWindow> window;
};

} // namespace pagetest
