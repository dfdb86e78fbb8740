#pragma once
// What the window tests of the build commands share: the application, the
// program-wide state reset to the stand-ins, scratch folders and fake tools.
#include "app/AppState.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "toolchain/BuildCommands.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>
#include <memory>

namespace toolchain_test {

inline void ensureApp()
{
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "toolchain_test";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);   // lives until the process ends
    }
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

class BuildFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApp();
        ASSERT_TRUE(tmp.isValid());
        auto& st = lingrove::app::state();
        st.project = lingrove::app::Project();
        st.settings = lingrove::app::Settings::defaults();
        st.settings.CompilerDir = st.settings.IdeDir = st.settings.ResCompDir = QStringLiteral(LINGROVE_STANDINS);
        QDir().mkpath(lingrove::platform::programFolder());
        editor = std::make_unique<QTextEdit>();
        lingrove::toolchain::BuildContext ctx;
        ctx.projectEditor = editor.get();
        commands = std::make_unique<lingrove::toolchain::BuildCommands>(ctx);
    }

    void TearDown() override
    {
        commands.reset();
        editor.reset();
    }

    QString path(const QString& name) const { return tmp.filePath(name); }

    QTemporaryDir tmp;
    lingrove::platform::ScriptedUi ui;
    std::unique_ptr<QTextEdit> editor;
    std::unique_ptr<lingrove::toolchain::BuildCommands> commands;
};

} // namespace toolchain_test
