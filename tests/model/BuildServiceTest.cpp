// Compiling and running the Delphi project: the compall line, the folder
// every program runs in.
#include "model/BuildService.h"
#include "model/Workspace.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove;
using namespace lingrove::model;

namespace {

class BuildServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(platform::programFolder());
        Settings s = Settings::defaults();
        s.compiler.folder = s.ide.folder = s.resourceCompiler.folder = LINGROVE_STANDINS "/";
        workspace.setSettings(s);
    }
    QString path(const QString& name) const { return tmp.filePath(name); }
    // A compiler that prints its folder, its arguments one per line, and a last line.
    void useCompiler(const QString& folder)
    {
        Settings s = workspace.settings();
        s.compiler = {folder + u'/', "dcc32.exe"};
        workspace.setSettings(s);
        QDir().mkpath(folder);
        QFile f(folder + "/dcc32.exe");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"pwd:$(pwd)\"\nfor a in \"$@\"; do echo \"arg:$a\"; done\necho 'Done.'\n");
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    void useProjectSource(const QString& dpr)
    {
        Project p;
        p.name = "Demo";
        p.delphiProjectFile = dpr;
        workspace.setProject(p);
    }
    static QString canonical(const QString& folder) { return QDir(folder).canonicalPath(); }

    QTemporaryDir tmp;
    Workspace workspace;
    BuildService build{workspace};
};

} // namespace

TEST_F(BuildServiceTest, CompileAllLineByteForByte)
{
    useCompiler(path("bin"));
    useProjectSource(path("My Work/Demo App.dpr"));
    EXPECT_EQ(build.compileAllLine(), QString("\"%1//dcc32.exe\" -b %2 >\"%3/result.txt\"")
                                          .arg(path("bin"), path("My Work/Demo App.dpr"), platform::programFolder()));
}

TEST_F(BuildServiceTest, CompileAllPassesPathsWithShellSyntaxUnharmed)
{
    useCompiler(path("bin $HOME `x`"));
    const QString project = path("My Work;  'q' $(id)");
    QDir().mkpath(project);
    const QString dpr = project + "/Demo.dpr";
    useProjectSource(dpr);

    const BuildService::CompileAll run = build.compileAll({});
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.error.isEmpty()) << run.error.toStdString();
    QFile script(BuildService::compileAllScript());
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_EQ(script.readAll(), build.compileAllLine().toUtf8() + "\r\n");

    // The compiler runs in the project's folder and joins its words with
    // single spaces: that gives the path back.
    ASSERT_GE(run.output.size(), 3);
    EXPECT_EQ(run.output.first(), "pwd:" + canonical(project));
    EXPECT_EQ(run.output.at(1), "arg:-b");
    EXPECT_EQ(run.output.last(), "Done.");
    QStringList words;
    for (const QString& line : run.output.mid(2, run.output.size() - 3))
        words << line.mid(4);
    EXPECT_EQ(words.join(u' '), dpr);
}

TEST_F(BuildServiceTest, ProgramsRunInTheProjectSourcesFolder)
{
    useCompiler(path("bin"));
    QDir().mkpath(path("src"));
    useProjectSource(path("src/Demo.dpr"));
    EXPECT_EQ(build.workingFolder(), path("src"));
    const platform::ProcessResult compiled = build.compile(false, {});
    EXPECT_EQ(compiled.exitCode, 0);
    EXPECT_EQ(compiled.output,
              "pwd:" + canonical(path("src")).toUtf8() + "\narg:" + path("src/Demo.dpr").toUtf8() + "\nDone.\n");

    // Without a project source: the program's folder, and no argument at all.
    useProjectSource(QString());
    EXPECT_EQ(build.workingFolder(), platform::programFolder());
    EXPECT_EQ(build.compile(false, {}).output, "pwd:" + canonical(platform::programFolder()).toUtf8() + "\nDone.\n");

    // Programs that are not there do not start.
    useProjectSource(path("src/Demo.dpr"));
    EXPECT_EQ(build.programFile(), path("src/Demo.exe"));
    EXPECT_FALSE(build.runProgram({}).started);
    Settings s = workspace.settings();
    s.ide.folder = path("nowhere/");
    workspace.setSettings(s);
    EXPECT_FALSE(build.runIde({}).started);
}

// The console example compiled and run with the stand-ins: tests/ui/build/EndToEndTest.cpp.
