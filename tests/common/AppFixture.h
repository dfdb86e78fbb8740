#pragma once
// The whole program over a program folder, key store and project folder of
// its own, with scripted message boxes and dialogs: the fixture of the tests
// that drive the window.
#include "tests/common/QtPrinters.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "model/Dictionary.h"
#include "model/Workspace.h"
#include "ui/pages/PagesFeature.h"
#include "ui/shell/UserInterface.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace lingrove::testing {

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

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        home = dir.path() + "/home";
        project = dir.path() + "/project";
        QDir().mkpath(home);
        QDir().mkpath(project);
        qputenv("LINGROVE_HOME", home.toUtf8());
        qputenv("LINGROVE_KEYSTORE", (home + "/registry.txt").toUtf8());
        app = std::make_unique<app::Application>();
    }
    void TearDown() override { app.reset(); }

    model::Workspace& workspace() { return app->workspace(); }
    app::MainWindow& window() { return app->window(); }
    ui::PagesFeature& pages() { return app->pages(); }

    // The demo project of examples/ copied into the project folder; its .dpr.
    QString copyDemo() { return copyExample("demo", "Demo.dpr"); }

    // A project of examples/ copied into the project folder; the path of its
    // project source.
    QString copyExample(const QString& name, const QString& projectSource)
    {
        const QString from = QString(LINGROVE_SOURCE_ROOT) + "/examples/" + name;
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString rel = QDir(from).relativeFilePath(file);
            if (!rel.startsWith("src-text"))
                writeBytes(project + "/" + rel, readBytes(file));
        }
        return project + "/" + projectSource;
    }

    // A dictionary table with these pairs.
    void makeTable(const QString& name, const QList<QPair<QString, QString>>& pairs = {})
    {
        QString error;
        ASSERT_TRUE(model::createTable(name, model::kDefaultFieldSize, &error)) << error.toStdString();
        model::Dictionary dictionary;
        ASSERT_TRUE(dictionary.open(name, &error)) << error.toStdString();
        for (const auto& [source, dest] : pairs)
            ASSERT_TRUE(dictionary.store(source, dest)) << dictionary.lastError().toStdString();
    }

    // Makes dpr the open project's source (with table as its dictionary,
    // when given) and shows it on the project page, as opening a project does.
    void openProjectSource(const QString& dpr, const QString& table = {})
    {
        model::Project p;
        p.name = "Test";
        p.folder = project;
        p.delphiProjectFile = dpr;
        p.dictionaryTable = table;
        if (!table.isEmpty()) {
            QString error;
            ASSERT_TRUE(workspace().dictionary().open(table, &error)) << error.toStdString();
        }
        workspace().setProject(p);
        pages().reloadProjectSource();
    }

    QStringList captions() const
    {
        QStringList out;
        for (int i = 0; i < app->pages().tabs()->count(); ++i)
            out << app->pages().tabs()->tabText(i);
        return out;
    }

    // The files in the project folder whose names match pattern.
    QStringList leftOver(const QString& pattern) const
    {
        QStringList out;
        QDirIterator it(project, {pattern}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next();
        return out;
    }

    ui::ScriptedUi ui;
    QTemporaryDir dir;
    QString home;
    QString project;
    std::unique_ptr<app::Application> app;
};

} // namespace lingrove::testing
