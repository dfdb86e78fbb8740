// Compiling and running from the window: the wait window, "Compiler
// messages", "Compiler info", the error note of Run, the Tools menu and the
// readme.
#include "BuildFixture.h"

#include "platform/Paths.h"
#include "ui/build/CompilerMessagesWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace lingrove;
using namespace lingrove::testing;

namespace {

const QString kResting = QString::fromLatin1(ui::WaitWindow::RestingText);

// Closes "Compiler messages" with its button, as the user does.
int closeWithButton(QDialog& d)
{
    static_cast<ui::CompilerMessagesWindow&>(d).closeButton()->click();
    return d.result();
}

// Adds the lines of "Compiler messages" to said and closes it with its button.
std::function<int(QDialog&)> keepLines(QStringList& said)
{
    return [&said](QDialog& d) {
        said << static_cast<ui::CompilerMessagesWindow&>(d).lines();
        return closeWithButton(d);
    };
}

} // namespace

TEST_F(BuildTest, CompileAllShowsTheCompilerMessages)
{
    // A compiler that prints its arguments and a last line; a project path
    // with spaces and shell syntax in it.
    useCompiler("#!/bin/sh\necho \"args:$*\"\necho 'Done.'\n");
    const QString dpr = project + "/My Work;  'q' $(id)/Demo.dpr";
    setProjectSource(dpr);

    QString shown;
    ui->dialogs.push_back([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Compiler messages");
        shown = static_cast<ui::CompilerMessagesWindow&>(d).textView()->toPlainText();
        return closeWithButton(d);
    });
    WaitWatch watch(build().waitWindow());
    QElapsedTimer clock;
    clock.start();
    trigger(ui::Menu::Project, "Compileall1");
    EXPECT_GE(clock.elapsed(), 500) << "the wait window says Ready for half a second";

    EXPECT_EQ(shown, "args:-b " + dpr + "\nDone.");
    EXPECT_EQ(build().compilerMessages().lastMessage(), "Done.");
    EXPECT_EQ(watch.seen.value(watch.seen.size() - 1), "Ready");
    EXPECT_FALSE(build().waitWindow().isVisible());
    EXPECT_EQ(build().waitWindow().text(), kResting);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui->texts(), QStringList{"Compiler messages"});

    trigger(ui::Menu::Extras, "Compilerinfo1");
    EXPECT_EQ(ui->texts("message"), QStringList{"Last compiler message:\nDone."});
}

TEST_F(BuildTest, CompilerInfoTellsTheLastMessageClosedWithTheButton)
{
    build().showCompilerInfo();
    EXPECT_TRUE(ui->shown.empty()) << "nothing compiled yet";

    setProjectSource(project + "/Demo.dpr");
    useCompiler("#!/bin/sh\necho first\n");
    ui->dialogs.push_back(closeWithButton);
    build().compileAll();
    useCompiler("#!/bin/sh\necho second\n");
    build().compileAll();   // closed otherwise
    EXPECT_EQ(build().compilerMessages().lines(), QStringList{"second"});
    EXPECT_EQ(build().compilerMessages().lastMessage(), "first");

    // An empty output leaves no last message.
    useCompiler("#!/bin/sh\n");
    ui->dialogs.push_back(closeWithButton);
    build().compileAll();
    ui->clear();
    build().showCompilerInfo();
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(BuildTest, MissingProgramsAreReported)
{
    setToolFolders(project + "/nowhere/", project + "/nowhere/", project + "/nowhere/");
    setProjectSource(project + "/Demo.dpr");

    // Compile and Run tell in the wait window and in "Compiler messages".
    const QString compiler = project + "/nowhere/dcc32.exe";
    QStringList said;
    ui->dialogs = {keepLines(said), keepLines(said)};
    WaitWatch watch(build().waitWindow());
    build().compile();
    EXPECT_EQ(watch.seen.value(watch.seen.size() - 1), "An error has occuped!");
    EXPECT_FALSE(build().waitWindow().isVisible());
    EXPECT_EQ(build().waitWindow().text(), kResting);
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith("The compiler " + compiler + " could not be started.")) << said[0].toStdString();

    trigger(ui::Menu::Project, "Run2");
    ASSERT_EQ(said.size(), 3);
    EXPECT_EQ(said[2], "The program was not started.");
    trigger(ui::Menu::Project, "Run1");
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].startsWith("The Delphi IDE " + project + "/nowhere/delphi32.exe could not be started."));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BuildTest, TheIdeSaysWhenThereIsNoEditorToOpenTheProjectIn)
{
    const QString dpr = project + "/Demo.dpr";
    writeBytes(dpr, "program Demo;\r\nbegin\r\nend.\r\n");
    setProjectSource(dpr);
    const QByteArray path = qgetenv("PATH"), visual = qgetenv("VISUAL"), editor = qgetenv("EDITOR");
    qputenv("PATH", (dir.path() + "/empty").toLocal8Bit());
    qunsetenv("VISUAL");
    qunsetenv("EDITOR");
    build().runIde();
    qputenv("PATH", path);
    if (!visual.isNull())
        qputenv("VISUAL", visual);
    if (!editor.isNull())
        qputenv("EDITOR", editor);
    EXPECT_EQ(ui->texts("message"),
              QStringList{"The Delphi IDE " LINGROVE_STANDINS "/delphi32.exe ended with exit code 1.\n\n"
                          "delphi32: there is no editor to open " + dpr
                          + " in: install the Lazarus IDE, or name an editor in VISUAL or EDITOR"});
    EXPECT_FALSE(window().isMinimized());
}

TEST_F(BuildTest, RunCompilesAndStartsTheProgramBesideTheProject)
{
    useCompiler("#!/bin/sh\necho \"$1\" > \"$(dirname \"$1\")/compiled\"\n");
    const QString dpr = project + "/Demo.dpr";
    setProjectSource(dpr);
    writeProgram(project + "/Demo.exe", "#!/bin/sh\necho ran > \"$(dirname \"$0\")/ran\"\n");
    build().run();
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join('|').toStdString();
    EXPECT_EQ(readBytes(project + "/compiled"), dpr.toUtf8() + "\n");
    EXPECT_EQ(readBytes(project + "/ran"), "ran\n");
    EXPECT_FALSE(window().isMinimized());

    // No program beside the project: nothing is started, and the user is told.
    QFile::remove(project + "/Demo.exe");
    build().run();
    EXPECT_EQ(ui->texts("message"),
              QStringList{"There is nothing to run: the compiler made no program " + project + "/Demo.exe."});

    // A compiler that fails: its messages are shown and the old program is
    // not run.
    writeProgram(project + "/Demo.exe", "#!/bin/sh\necho ran again > \"$(dirname \"$0\")/ran\"\n");
    useCompiler("#!/bin/sh\necho \"Demo.dpr(3,8) Fatal: Can't find unit Forms used by Demo\"\n"
                "echo 'Fatal: Compilation aborted'\nexit 1\n");
    QStringList said;
    ui->dialogs.push_back(keepLines(said));
    build().run();
    EXPECT_EQ(said, (QStringList{"Demo.dpr(3,8) Fatal: Can't find unit Forms used by Demo", "Fatal: Compilation aborted",
                                 "The compiler " + dir.path() + "/bin/dcc32.exe ended with exit code 1.",
                                 "The program was not started."}));
    EXPECT_EQ(readBytes(project + "/ran"), "ran\n");

    // An error reported with exit code 0 counts as well.
    useCompiler("#!/bin/sh\necho 'Main.pas(28): error E2003: Undeclared identifier'\n");
    said.clear();
    ui->dialogs.push_back(keepLines(said));
    build().compile();
    EXPECT_EQ(said, QStringList{"Main.pas(28): error E2003: Undeclared identifier"});
}

TEST_F(BuildTest, ToolsStartFromTheWindowsFolder)
{
    const QString windows = dir.path() + "/windows";
    writeProgram(windows + "/Notepad.exe", "#!/bin/sh\necho \"$(pwd) $*\" > \"$(dirname \"$0\")/notepad.log\"\n");
    qputenv("LINGROVE_WINDIR", windows.toLocal8Bit());
    // The readme of the program, not one of the project's folder.
    trigger(ui::Menu::Help, "Viewreadme1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !readBytes(windows + "/notepad.log").startsWith("<missing>"); }));
    EXPECT_EQ(QString::fromLocal8Bit(readBytes(windows + "/notepad.log")).trimmed(),
              QDir(platform::programFolder()).canonicalPath() + " readme.txt");
    EXPECT_TRUE(ui->shown.empty());

    qputenv("LINGROVE_WINDIR", (dir.path() + "/nowhere").toLocal8Bit());
    trigger(ui::Menu::Tools, "Notepad1");
    trigger(ui::Menu::Help, "Viewreadme1");
    trigger(ui::Menu::Tools, "Resourcecreator1");   // Explorer: not reported
    setToolFolders(QString(), project + "/", project + "/");
    trigger(ui::Menu::Tools, "Pictureeditor1");
    qunsetenv("LINGROVE_WINDIR");
    EXPECT_EQ(ui->texts("message"),
              (QStringList{"Can not create process", "Can not create process", "Cannot create process"}));
}
