// The version resource on the project page: "Create versioninfo" asks before
// it replaces one, the directive goes in above BEGIN and the file is
// written, "Remove versioninfo" takes it out again, and what cannot be done
// is told.
#include "BuildFixture.h"

#include <QTextCursor>

using namespace lingrove;
using namespace lingrove::testing;
using Outcome = model::VersionResource::Outcome;

namespace {

// The project source with an 8-bit character and a non-breaking space that
// must come back as the same bytes.
const QByteArray kSource = "program Demo;\r\n"
                           "{ caf\xE9\xA0}\r\n"
                           "uses SysUtils;\r\n"
                           "\r\n"
                           "  b egin \r\n"
                           "  WriteLn('x');\r\n"
                           "end.\r\n";

class ResourceTest : public BuildTest {
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        dpr = project + "/Demo.dpr";
        writeBytes(dpr, kSource);
        openProjectSource(dpr);
        ui->clear();
    }
    QString dpr;
};

} // namespace

TEST_F(ResourceTest, CreateVersioninfoAsksBeforeReplacing)
{
    workspace().project().resourceLine = 4;
    ui->answers = {false};
    trigger(ui::Menu::Extras, "Create1");
    EXPECT_EQ(ui->texts("question"),
              QStringList{"The current project already contens a version info ressource file.\n"
                          "Do you really want to remove it and rebuild the ressource?"});
    EXPECT_TRUE(ui->texts("dialog").isEmpty());

    ui->answers = {true};
    build().createVersionInfo();
    EXPECT_TRUE(build().replaceResource());
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Versioninfo"});

    workspace().project().resourceLine = -1;
    ui->clear();
    build().createVersionInfo();
    EXPECT_FALSE(build().replaceResource());
    EXPECT_EQ(ui->texts(), QStringList{"Versioninfo"});
}

TEST_F(ResourceTest, DirectiveIsWrittenAndRemovedFromTheProjectPage)
{
    ASSERT_EQ(build().addResourceDirective("VERSION.res", false), Outcome::Added);
    EXPECT_EQ(workspace().project().resourceLine, 4);
    QByteArray expected = kSource;
    EXPECT_EQ(readBytes(dpr), expected.replace("\r\n  b egin", "\r\n{$R VERSION.res}\r\n  b egin"));
    EXPECT_EQ(pageLine(4), "{$R VERSION.res}");

    // The project file knows where the directive stands.
    const QString projectFile = workspace().project().projectFilePath();
    EXPECT_TRUE(readBytes(projectFile).contains("Position=4\r\n"));

    // Removing it changes the project page, which is saved when the user says so.
    ui->choices = {ui::Answer::Yes};
    trigger(ui::Menu::Extras, "AddinProject1");
    EXPECT_EQ(workspace().project().resourceLine, -1);
    EXPECT_EQ(pageLine(4), "  b egin ");
    EXPECT_EQ(ui->texts(), QStringList{"Save changes to Demo.dpr?"});
    EXPECT_EQ(readBytes(dpr), kSource);
    EXPECT_TRUE(readBytes(projectFile).contains("Position=-1\r\n"));
}

TEST_F(ResourceTest, StaleDirectiveIsToldNotRemoved)
{
    ASSERT_EQ(build().addResourceDirective("VERSION.res", false), Outcome::Added);
    // Edited by hand: a line above the directive moves it down.
    QPlainTextEdit* page = app->pages().projectEditor();
    QTextCursor(page->document()).insertText("// moved\n");
    const QString before = page->toPlainText();

    build().removeVersionInfo();
    EXPECT_EQ(page->toPlainText(), before);
    EXPECT_EQ(workspace().project().resourceLine, -1);
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("Line 5")) << ui->texts("message")[0].toStdString();
}

TEST_F(ResourceTest, WhatCannotBeDoneIsToldAndTheFileStays)
{
    // No BEGIN line.
    const QByteArray noBegin = "unit X;\r\ninterface\r\nimplementation\r\nend.\r\n";
    writeBytes(dpr, noBegin);
    app->pages().reloadProjectSource();
    EXPECT_EQ(build().addResourceDirective("VERSION.res", false), Outcome::NotAdded);
    EXPECT_EQ(readBytes(dpr), noBegin);
    EXPECT_EQ(workspace().project().resourceLine, -1);
    EXPECT_EQ(ui->texts("message").size(), 1);

    // A character the 8-bit file cannot hold: reported, the file untouched.
    writeBytes(dpr, kSource);
    app->pages().reloadProjectSource();
    QTextCursor(app->pages().projectEditor()->document()).insertText(QString::fromUtf8("\u0416"));
    EXPECT_EQ(build().addResourceDirective("VERSION.res", false), Outcome::WriteFailed);
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_EQ(workspace().project().resourceLine, 4) << "the page holds the directive";
    EXPECT_EQ(readBytes(dpr), kSource);
}
