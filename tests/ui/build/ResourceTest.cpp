#include "GuiSupport.h"

#include "toolchain/Codepage.h"
#include "toolchain/VersWizard.h"

#include <QTextBlock>
#include <QTextDocument>

using namespace toolchain_test;
using lingrove::app::state;
using lingrove::toolchain::AddOutcome;
using lingrove::toolchain::decodeCp1252;

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

class ResourceFixture : public BuildFixture {
protected:
    void SetUp() override
    {
        BuildFixture::SetUp();
        dpr = path("Demo.dpr");
        writeFile(dpr, kSource);
        state().project.DelphiProjectFile = dpr;
        state().project.ProjectName = "Demo";
        load();
    }
    void load()
    {
        QString text = decodeCp1252(readAll(dpr));
        text.replace("\r\n", "\n");
        editor->setPlainText(text);
    }
    QString line(int n) const { return editor->document()->findBlockByNumber(n).text(); }
    QString dpr;
};

} // namespace

TEST_F(ResourceFixture, DirectiveGoesAboveBeginAndTheFileKeepsItsBytes)
{
    ASSERT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::Added);
    EXPECT_EQ(state().project.ResPosition, 4);
    QByteArray expected = kSource;
    expected.replace("\r\n  b egin", "\r\n{$R VERSION.res}\r\n  b egin");
    EXPECT_EQ(readAll(dpr), expected);
    EXPECT_EQ(line(4), "{$R VERSION.res}");

    // Again with the old one replaced: one directive, at the new place.
    ASSERT_EQ(commands->AddResDatei("OTHER.res", true), AddOutcome::Added);
    EXPECT_EQ(state().project.ResPosition, 4);
    expected = kSource;
    expected.replace("\r\n  b egin", "\r\n{$R OTHER.res}\r\n  b egin");
    EXPECT_EQ(readAll(dpr), expected);

    commands->RemoveVersioninfo();
    EXPECT_EQ(state().project.ResPosition, -1);
    EXPECT_EQ(line(4), "  b egin ");
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(ResourceFixture, StaleDirectiveIsNeitherRemovedNorReplaced)
{
    ASSERT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::Added);
    // Edited by hand: a line above the directive moves it down.
    editor->textCursor().insertText("// moved\n");
    const QString before = editor->toPlainText();

    commands->RemoveVersioninfo();
    EXPECT_EQ(editor->toPlainText(), before);
    EXPECT_EQ(state().project.ResPosition, -1);
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("Line 5"));

    // A replacement keeps the stale line too and says so.
    state().project.ResPosition = 0;
    ui->clear();
    ASSERT_EQ(commands->AddResDatei("NEW.res", true), AddOutcome::Added);
    EXPECT_EQ(line(0), "// moved");
    EXPECT_EQ(ui->texts("message").size(), 1u);
    EXPECT_EQ(line(state().project.ResPosition), "{$R NEW.res}");
}

TEST_F(ResourceFixture, NoBeginLineLeavesEverythingAsItWas)
{
    const QByteArray noBegin = "unit X;\r\ninterface\r\nimplementation\r\nend.\r\n";
    writeFile(dpr, noBegin);
    load();
    state().project.ResPosition = -1;
    EXPECT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::NotAdded);
    EXPECT_EQ(readAll(dpr), noBegin);
    EXPECT_EQ(state().project.ResPosition, -1);
    EXPECT_EQ(ui->texts("message").size(), 1u);

    editor->clear();
    ui->clear();
    EXPECT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::NotAdded);
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(ResourceFixture, UnwritableProjectSourceIsReported)
{
    state().project.DelphiProjectFile = path("missing folder/Demo.dpr");
    EXPECT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::WriteFailed);
    EXPECT_EQ(ui->texts("error").size(), 1u);
    EXPECT_EQ(state().project.ResPosition, 4);   // the editor holds the directive
    EXPECT_EQ(readAll(dpr), kSource);
}

TEST_F(ResourceFixture, CreateVersioninfoAsksBeforeReplacing)
{
    state().project.ResPosition = 4;
    ui->answers = {false};
    commands->CreateVersioninfo();
    EXPECT_EQ(ui->texts("question"),
              QStringList{"The current project already contens a version info ressource file.\n"
                          "Do you really want to remove it and rebuild the ressource?"});
    EXPECT_TRUE(ui->texts("dialog").isEmpty());

    ui->answers = {true};
    commands->CreateVersioninfo();
    EXPECT_TRUE(commands->RemoveOldResource);
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Versioninfo"});

    state().project.ResPosition = -1;
    commands->CreateVersioninfo();
    EXPECT_FALSE(commands->RemoveOldResource);
}

TEST_F(ResourceFixture, FileKeepsItsEncodingAndLineBreaks)
{
    const QByteArray utf8 = "\xEF\xBB\xBFprogram Gr\xC3\xBC\xC3\x9F" "e;\nbegin\nend.\n";
    writeFile(dpr, utf8);
    editor->setPlainText(QString::fromUtf8("program Grüße;\nbegin\nend.\n"));
    ASSERT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::Added);
    EXPECT_EQ(readAll(dpr), "\xEF\xBB\xBFprogram Gr\xC3\xBC\xC3\x9F" "e;\n{$R VERSION.res}\nbegin\nend.\n");

    // A character the 8-bit file cannot hold: reported, the file untouched.
    writeFile(dpr, kSource);
    load();
    editor->textCursor().insertText(QString::fromUtf8("\u0416"));
    ui->clear();
    EXPECT_EQ(commands->AddResDatei("VERSION.res"), AddOutcome::WriteFailed);
    EXPECT_EQ(ui->texts("error").size(), 1u);
    EXPECT_EQ(readAll(dpr), kSource);
}
