// The version wizard: its pages and buttons, the signs and the character
// table, the preview, and what Create writes or refuses.
#include "BuildFixture.h"

#include "ui/build/CharacterTable.h"
#include "ui/build/CompilerMessagesWindow.h"
#include "ui/build/VersionPreview.h"
#include "ui/build/VersionWizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>

using namespace lingrove;
using namespace lingrove::testing;

namespace {

class WizardTest : public BuildTest {
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        dpr = project + "/Demo.dpr";
        writeBytes(dpr, "program Demo;\r\nbegin\r\nend.\r\n");
        openProjectSource(dpr);
        // No resource compiler and no compiler: only the script is looked at.
        setToolFolders(project + "/none/", project + "/none/", project + "/none/");
        ui->clear();
    }
    ui::VersionWizard& wizard() { return build().versionWizard(); }
    QString dpr;
};

} // namespace

TEST_F(WizardTest, PagesAndButtons)
{
    ui::VersionWizard& w = wizard();
    EXPECT_EQ(w.language->currentIndex(), -1) << "no language until one is chosen";
    EXPECT_FALSE(w.priorButton->isEnabled() || w.createButton->isEnabled());
    w.nextButton->click();
    w.nextButton->click();
    EXPECT_EQ(w.pages->currentIndex(), 2);
    EXPECT_FALSE(w.nextButton->isEnabled());
    EXPECT_TRUE(w.createButton->isEnabled() && w.priorButton->isEnabled());
    w.priorButton->click();
    EXPECT_EQ(w.pages->currentIndex(), 1);
    EXPECT_FALSE(w.createButton->isEnabled());

    // The resource name is kept in capitals, 8-bit letters too.
    QTest::keyClicks(w.resourceName, "my_res");
    w.resourceName->insert(QString::fromUtf8("ä"));
    EXPECT_EQ(w.resourceName->text(), QString::fromUtf8("VERSIONMY_RESÄ"));
}

TEST_F(WizardTest, CreateRefusesWithoutLanguageAndCodePageOrProject)
{
    ui::VersionWizard& w = wizard();
    w.goToPage(2);
    w.language->setCurrentIndex(7);
    w.create();
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_EQ(w.pages->currentIndex(), 0);
    EXPECT_FALSE(QFile::exists(project + "/VERSION.rc"));
    EXPECT_TRUE(workspace().project().resourceName.isEmpty());

    // Without a project source the script has no folder.
    w.charset->setCurrentIndex(0);
    workspace().project().delphiProjectFile.clear();
    ui->clear();
    w.create();
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(workspace().project().resourceName.isEmpty());
    EXPECT_TRUE(leftOver("*.rc").isEmpty());
}

TEST_F(WizardTest, CreateWritesTheScriptAndTheDirective)
{
    ui::VersionWizard& w = wizard();
    w.language->setCurrentIndex(7);
    w.charset->setCurrentIndex(0);
    w.fileVersionNumbers[0]->setText("1");
    w.companyName->setText(QString::fromUtf8("Quorvex \u00A9 \u0416"));   // no 8-bit Zhe
    w.resourceName->setText("mine");
    w.recompile->setChecked(false);
    w.goToPage(2);
    // A resource compiler that takes its time and notes its argument.
    writeProgram(project + "/rc/brcc32.exe",
                 "#!/bin/sh\nsleep 0.3\necho \"$1\" > \"$(dirname \"$0\")/log\"\n: > \"${1%.rc}.res\"\n");
    setToolFolders(project + "/none/", project + "/none/", project + "/rc/");
    WaitWatch watch(build().waitWindow());
    w.create();

    const QByteArray rc = readBytes(project + "/MINE.rc");
    EXPECT_TRUE(rc.startsWith("1 VERSIONINFO\r\nFILEVERSION 1,0,0,0\r\n")) << rc.constData();
    EXPECT_TRUE(rc.contains("    BLOCK \"04070000\"\r\n"));
    EXPECT_TRUE(rc.contains("VALUE \"CompanyName\", \"Quorvex \xA9 ?\\0\"\r\n"));
    EXPECT_TRUE(rc.endsWith("      0x0407, 0\r\n  END\r\nEND\r\n"));
    EXPECT_EQ(workspace().project().resourceName, "MINE.rc");
    EXPECT_EQ(workspace().project().resourceScript, project + "/MINE.rc");
    EXPECT_EQ(readBytes(project + "/rc/log"), (project + "/MINE.rc\n").toUtf8());
    EXPECT_EQ(watch.seen, (QStringList{"Create file MINE.RC...", "Ready"}));

    EXPECT_EQ(readBytes(dpr), "program Demo;\r\n{$R MINE.res}\r\nbegin\r\nend.\r\n");
    EXPECT_EQ(workspace().project().resourceLine, 1);
    EXPECT_EQ(pageLine(1), "{$R MINE.res}");
    EXPECT_EQ(w.result(), int(QDialog::Accepted));
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts().join('|').toStdString();
}

TEST_F(WizardTest, AFailedResourceCompileAddsNoDirectiveAndKeepsTheWizardOpen)
{
    ui::VersionWizard& w = wizard();
    w.language->setCurrentIndex(7);
    w.charset->setCurrentIndex(0);
    w.recompile->setChecked(true);
    writeProgram(project + "/rc/brcc32.exe", "#!/bin/sh\necho \"$1:2: syntax error\"\nexit 1\n");
    setToolFolders(project + "/none/", project + "/none/", project + "/rc/");
    QStringList said;
    ui->dialogs.push_back([&](QDialog& d) {
        said = static_cast<ui::CompilerMessagesWindow&>(d).lines();
        return QDialog::Rejected;
    });
    w.setResult(QDialog::Rejected);
    w.create();
    EXPECT_EQ(said, (QStringList{project + "/VERSION.rc:2: syntax error",
                                 "The resource compiler " + project + "/rc/brcc32.exe ended with exit code 1.",
                                 "The resource file VERSION.res was not made, so the project source was left as it was."}));
    EXPECT_EQ(readBytes(dpr), "program Demo;\r\nbegin\r\nend.\r\n");
    EXPECT_EQ(workspace().project().resourceLine, -1);
    EXPECT_EQ(w.result(), int(QDialog::Rejected));
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Compiler messages"}) << "no compile after it";
}

TEST_F(WizardTest, ResourceNamesTheProjectSourceCanHold)
{
    ui::VersionWizard& w = wizard();
    w.language->setCurrentIndex(7);
    w.charset->setCurrentIndex(0);
    w.recompile->setChecked(false);
    writeProgram(project + "/rc/brcc32.exe", "#!/bin/sh\n: > \"${1%.rc}.res\"\n");
    setToolFolders(project + "/none/", project + "/none/", project + "/rc/");

    // A Cyrillic name cannot go into an 8-bit source; a name with a space
    // cannot go into a directive. Nothing is written.
    for (const QString& name : {QString::fromUtf8("ВЕРСИЯ"), QStringLiteral("MY VERSION")}) {
        ui->clear();
        w.resourceName->setText(name);
        w.create();
        EXPECT_EQ(ui->texts("message").size(), 1) << name.toStdString();
        EXPECT_TRUE(leftOver("*.rc").isEmpty());
    }
    // A letter of Windows-1252 goes in as that letter.
    ui->clear();
    w.resourceName->setText(QString::fromUtf8("VERSIÓN"));
    w.create();
    EXPECT_TRUE(ui->texts("message").isEmpty()) << ui->texts().join('|').toStdString();
    EXPECT_EQ(readBytes(dpr), "program Demo;\r\n{$R VERSI\xD3N.res}\r\nbegin\r\nend.\r\n");
    EXPECT_EQ(pageLine(1), QString::fromUtf8("{$R VERSIÓN.res}"));
}

TEST_F(WizardTest, SignsGoToTheFocusedEditOnly)
{
    ui::VersionWizard& w = wizard();
    w.show();
    w.goToPage(1);
    w.comments->setFocus();
    QApplication::processEvents();
    w.signMenu->actions()[0]->trigger();
    EXPECT_EQ(w.comments->text(), QString::fromUtf8("Comments©"));

    w.signMenu->actions().last()->trigger();   // "other...": the character table
    ui::CharacterTable& table = w.characterTable();
    EXPECT_TRUE(table.isVisible());
    table.okButton->click();   // nothing clicked yet: "A"
    table.trademarkClicked();
    table.okClicked();   // the two letters
    table.cellClicked(0, 0);
    table.okClicked();   // code 0 as it is
    table.cellClicked(8, 0);
    EXPECT_EQ(table.magnifierText(), QString::fromUtf8("€"));
    EXPECT_EQ(w.comments->text(), QString::fromUtf8("Comments©ATM") + QChar(0));

    // A focused control that is no edit field takes nothing.
    w.goToPage(0);
    w.language->setFocus();
    QApplication::processEvents();
    w.appendToFocusedEdit("X");
    EXPECT_EQ(w.language->currentText(), "");
    EXPECT_EQ(w.comments->text().size(), 13);
    w.cancelButton->click();
    EXPECT_FALSE(table.isVisible());
    EXPECT_EQ(w.result(), int(QDialog::Rejected));
}

TEST_F(WizardTest, TheCharacterTableTakesClicksWhileTheWizardIsModal)
{
    ui::VersionWizard& w = wizard();
    w.setWindowModality(Qt::ApplicationModal);
    w.show();
    w.goToPage(1);
    w.comments->setFocus();
    w.showCharacterTable();
    ui::CharacterTable& table = w.characterTable();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
    // Through the window system, where a modal window blocks the others.
    QTest::mouseClick(table.windowHandle(), Qt::LeftButton, {}, table.okButton->mapTo(&table, QPoint(5, 5)));
    EXPECT_EQ(w.comments->text(), "CommentsA");
    w.cancel();
    EXPECT_FALSE(table.isVisible());
}

TEST_F(WizardTest, PreviewShowsTheStringsInItsOrder)
{
    ui::VersionWizard& w = wizard();
    w.privateBuild->setText("pb");
    w.internalName->setText("in");
    w.fileVersion->setText("1.0");
    ui->dialogs.push_back([](QDialog& d) {
        auto& p = static_cast<ui::VersionPreview&>(d);
        EXPECT_EQ(p.fileVersionValue->text(), "1.0");
        EXPECT_EQ(p.stringList->currentRow(), 0);
        EXPECT_EQ(p.valueField->text(), "pb");
        p.stringList->setCurrentRow(2);
        EXPECT_EQ(p.valueField->text(), "in");
        p.stringList->setCurrentRow(7);
        EXPECT_EQ(p.valueField->text(), "");   // no language chosen
        p.closeButton->click();
        return p.result();
    });
    w.previewButton->click();
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Preview"});
}
