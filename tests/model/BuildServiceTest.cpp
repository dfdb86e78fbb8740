// Compiling and running the Delphi project: the compall line, the folder
// every program runs in, and the console example built with the stand-ins.
#include "model/BuildService.h"
#include "model/Workspace.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove;
using namespace lingrove::model;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// A compiler that prints its folder, its arguments one per line, and a last line.
const QByteArray kEchoCompiler =
    "#!/bin/sh\necho \"pwd:$(pwd)\"\nfor a in \"$@\"; do echo \"arg:$a\"; done\necho 'Done.'\n";

class BuildServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(platform::programFolder());
        Settings s = Settings::defaults();
        const QString standIns = QStringLiteral(LINGROVE_STANDINS "/");
        s.compiler.folder = s.ide.folder = s.resourceCompiler.folder = standIns;
        workspace.setSettings(s);
    }
    QString path(const QString& name) const { return tmp.filePath(name); }
    void useCompiler(const QString& folder)
    {
        Settings s = workspace.settings();
        s.compiler = {folder + u'/', QStringLiteral("dcc32.exe")};
        workspace.setSettings(s);
        writeFile(folder + QStringLiteral("/dcc32.exe"), kEchoCompiler, true);
    }
    void useProjectSource(const QString& dpr)
    {
        Project p;
        p.name = QStringLiteral("Demo");
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
    useCompiler(path(QStringLiteral("bin")));
    useProjectSource(path(QStringLiteral("My Work/Demo App.dpr")));
    EXPECT_EQ(build.compileAllLine(), QStringLiteral("\"%1//dcc32.exe\" -b %2 >\"%3/result.txt\"")
                                          .arg(path(QStringLiteral("bin")),
                                               path(QStringLiteral("My Work/Demo App.dpr")),
                                               platform::programFolder()));
    EXPECT_EQ(BuildService::compileAllScript(), platform::programFolder() + QStringLiteral("/compall.bat"));
    EXPECT_EQ(BuildService::compileAllOutput(), platform::programFolder() + QStringLiteral("/result.txt"));
}

TEST_F(BuildServiceTest, CompileAllPassesPathsWithShellSyntaxUnharmed)
{
    const QString folder = path(QStringLiteral("bin $HOME `x`"));
    useCompiler(folder);
    const QString project = path(QStringLiteral("My Work;  'q' $(id)"));
    QDir().mkpath(project);
    const QString dpr = project + QStringLiteral("/Demo.dpr");
    useProjectSource(dpr);

    const BuildService::CompileAll run = build.compileAll({});
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.error.isEmpty()) << run.error.toStdString();
    const QByteArray script = readAll(BuildService::compileAllScript());
    EXPECT_EQ(script, build.compileAllLine().toUtf8() + "\r\n");

    // The compiler runs in the project's folder and joins its words with
    // single spaces: that gives the path back.
    ASSERT_GE(run.output.size(), 3);
    EXPECT_EQ(run.output.first(), QStringLiteral("pwd:") + canonical(project));
    EXPECT_EQ(run.output.at(1), QStringLiteral("arg:-b"));
    EXPECT_EQ(run.output.last(), QStringLiteral("Done."));
    QStringList words;
    for (const QString& line : run.output.mid(2, run.output.size() - 3))
        words << line.mid(4);
    EXPECT_EQ(words.join(u' '), dpr);
}

TEST_F(BuildServiceTest, ProgramsRunInTheProjectSourcesFolder)
{
    useCompiler(path(QStringLiteral("bin")));
    QDir().mkpath(path(QStringLiteral("src")));
    useProjectSource(path(QStringLiteral("src/Demo.dpr")));
    EXPECT_EQ(build.workingFolder(), path(QStringLiteral("src")));
    const platform::ProcessResult compiled = build.compile(false, {});
    EXPECT_EQ(compiled.exitCode, 0);
    EXPECT_EQ(compiled.output, "pwd:" + canonical(path(QStringLiteral("src"))).toUtf8() + "\narg:"
                                   + path(QStringLiteral("src/Demo.dpr")).toUtf8() + "\nDone.\n");

    // Without a project source: the program's folder, and no argument at all.
    useProjectSource(QString());
    EXPECT_EQ(build.workingFolder(), platform::programFolder());
    EXPECT_EQ(build.compile(false, {}).output,
              "pwd:" + canonical(platform::programFolder()).toUtf8() + "\nDone.\n");

    // Programs that are not there do not start.
    useProjectSource(path(QStringLiteral("src/Demo.dpr")));
    EXPECT_EQ(build.programFile(), path(QStringLiteral("src/Demo.exe")));
    EXPECT_FALSE(build.runProgram({}).started);
    Settings s = workspace.settings();
    s.ide.folder = path(QStringLiteral("nowhere/"));
    workspace.setSettings(s);
    EXPECT_FALSE(build.runIde({}).started);
}

TEST_F(BuildServiceTest, CompilesAndRunsTheConsoleExampleWithTheStandIns)
{
    if (QStandardPaths::findExecutable(QStringLiteral("fpc")).isEmpty())
        GTEST_SKIP() << "fpc is not installed (scripts/setup installs it)";
    const QString folder = path(QStringLiteral("console example"));
    QDir().mkpath(folder);
    const QString from = QStringLiteral(LINGROVE_SOURCE_ROOT "/examples/console");
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(from + u'/' + name, folder + u'/' + name));
    useProjectSource(folder + QStringLiteral("/Greeter.dpr"));

    const platform::ProcessResult compiled = build.compile(false, {});
    ASSERT_TRUE(compiled.started);
    EXPECT_EQ(compiled.exitCode, 0) << compiled.output.toStdString();
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/Greeter.exe")));

    const platform::ProcessResult ran = build.runProgram({});
    ASSERT_TRUE(ran.started);
    EXPECT_EQ(ran.exitCode, 0);
    EXPECT_TRUE(ran.output.contains("Hello, world!")) << ran.output.toStdString();
    EXPECT_TRUE(ran.output.contains("You asked for 1 greeting(s)."));
}
