#include "GuiSupport.h"

#include "platform/Paths.h"
#include "toolchain/CMess.h"
#include "toolchain/StInfo.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace toolchain_test;
using lingrove::app::state;

namespace {

// A compiler that prints its arguments, one per line, and a last line.
const QByteArray kEchoCompiler = "#!/bin/sh\nfor a in \"$@\"; do echo \"arg:$a\"; done\necho \"joined:$*\"\necho 'Done.'\n";

} // namespace

TEST_F(BuildFixture, CompileAllRunsTheBatchLineAndShowsTheOutput)
{
    // Paths with spaces and shell syntax must reach the compiler unharmed.
    const QString dir = path("bin $HOME `x`");
    QDir().mkpath(dir);
    writeFile(dir + "/dcc32.exe", kEchoCompiler, true);
    state().settings.CompilerDir = dir + "/";
    const QString dpr = path("My Work;  'q' $(id)/Demo.dpr");
    state().project.DelphiProjectFile = dpr;

    ui->dialogs.push_back([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Compiler messages");
        static_cast<lingrove::toolchain::TCMess&>(d).BitBtn1->click();
        return int(QDialog::Accepted);
    });
    commands->CompileAll();

    const QString bat = lingrove::toolchain::BuildCommands::compallPath();
    const QByteArray batBytes = readAll(bat);
    EXPECT_TRUE(batBytes.endsWith("\r\n"));
    EXPECT_EQ(batBytes.count('\n'), 1);
    const QStringList out = QString::fromUtf8(readAll(lingrove::toolchain::BuildCommands::resultPath()))
                                .split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last(), "Done.");
    // The compiler joins its words with single spaces: that gives the path back.
    const QString joined = out[out.size() - 2];
    QStringList words;
    for (const QString& l : out)
        if (l.startsWith("arg:") && l != "arg:-b")
            words << l.mid(4);
    EXPECT_EQ(words.join(' '), dpr);
    EXPECT_TRUE(joined.startsWith("joined:-b "));
    EXPECT_EQ(commands->CMess().LastCompilerMessage, "Done.");
    EXPECT_FALSE(commands->StInfo().isVisible());
    EXPECT_EQ(commands->StInfo().text(), "Please wait while compiling...");

    commands->CompilerInfo();
    EXPECT_EQ(ui->texts("message"), QStringList{"Last compiler message:\nDone."});
}

TEST_F(BuildFixture, CompilerInfoKeepsTheMessageWhenClosedOtherwise)
{
    commands->CompilerInfo();
    EXPECT_TRUE(ui->shown.empty());   // nothing until closed with its button

    writeFile(path("dcc32.exe"), "#!/bin/sh\necho first\n", true);
    state().settings.CompilerDir = tmp.path();
    ui->dialogs.push_back([](QDialog& d) {
        static_cast<lingrove::toolchain::TCMess&>(d).BitBtn1->click();
        return int(QDialog::Accepted);
    });
    commands->CompileAll();
    writeFile(path("dcc32.exe"), "#!/bin/sh\necho second\n", true);
    commands->CompileAll();   // no script: closed without the button
    EXPECT_EQ(commands->CMess().lines(), QStringList{"second"});
    EXPECT_EQ(commands->CMess().LastCompilerMessage, "first");

    // An empty output leaves an empty last message.
    writeFile(path("dcc32.exe"), "#!/bin/sh\n", true);
    ui->dialogs.push_back([](QDialog& d) {
        static_cast<lingrove::toolchain::TCMess&>(d).BitBtn1->click();
        return int(QDialog::Accepted);
    });
    commands->CompileAll();
    EXPECT_EQ(commands->CMess().LastCompilerMessage, "");
    ui->clear();
    commands->CompilerInfo();
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(BuildFixture, MissingProgramsAreReported)
{
    state().settings.CompilerDir = path("nowhere");
    state().settings.IdeDir = path("nowhere");
    state().project.DelphiProjectFile = path("Demo.dpr");

    commands->Compile();   // only the wait window tells
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_FALSE(commands->StInfo().isVisible());
    EXPECT_EQ(commands->StInfo().text(), "Please wait while compiling...");

    commands->Run();
    commands->RunDelphiIDE();
    EXPECT_EQ(ui->texts("message"), (QStringList{"Fehler!", "Fehler!"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BuildFixture, RunStartsTheProgramBesideTheProject)
{
    writeFile(path("dcc32.exe"), "#!/bin/sh\necho \"$1\" > \"$(dirname \"$1\")/compiled\"\n", true);
    state().settings.CompilerDir = tmp.path();
    const QString dpr = path("Demo.dpr");
    writeFile(path("Demo.exe"), "#!/bin/sh\necho ran > \"$(dirname \"$0\")/ran\"\n", true);
    state().project.DelphiProjectFile = dpr;
    commands->Run();
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_EQ(readAll(path("compiled")), dpr.toUtf8() + "\n");
    EXPECT_EQ(readAll(path("ran")), "ran\n");

    // No program beside the project: the start fails after compiling.
    QFile::remove(path("Demo.exe"));
    commands->Run();
    EXPECT_EQ(ui->texts("message"), QStringList{"Fehler!"});
}

TEST_F(BuildFixture, ToolsStartFromTheWindowsFolder)
{
    writeFile(path("Notepad.exe"), "#!/bin/sh\necho \"$(pwd) $*\" > \"$(dirname \"$0\")/notepad.log\"\n", true);
    qputenv("LINGROVE_WINDIR", tmp.path().toLocal8Bit());
    commands->ViewReadme();
    // Started without waiting: give it a moment.
    for (int i = 0; i < 100 && !QFile::exists(path("notepad.log")); ++i)
        lingrove::toolchain::pauseWithMessages(20);
    QString log = QString::fromLocal8Bit(readAll(path("notepad.log"))).trimmed();
    EXPECT_EQ(log, QDir(lingrove::platform::programFolder()).canonicalPath() + " readme.txt");
    EXPECT_TRUE(ui->shown.empty());

    qputenv("LINGROVE_WINDIR", path("nowhere").toLocal8Bit());
    commands->Notepad();
    commands->ViewReadme();
    commands->Explorer();   // not reported
    state().settings.CompilerDir = "";
    commands->PictureEditor();
    EXPECT_EQ(ui->texts("message"),
              (QStringList{"Can not create process", "Can not create process", "Cannot create process"}));
    qunsetenv("LINGROVE_WINDIR");
}
