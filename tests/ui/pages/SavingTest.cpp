// Saving pages from the window: units, forms and the project source written
// back; failures keep the files and the pages as they were.
#include "tests/common/AppFixture.h"

#include "core/formfile/FormFile.h"
#include "ui/pages/ProjectTree.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QPlainTextEdit>

namespace {

using lingrove::testing::readBytes;
using lingrove::testing::writeBytes;

using SavingTest = lingrove::testing::AppTest;

// Replaces the first occurrence of what in the editor by with, as typing would.
void replaceInEditor(QPlainTextEdit* e, const QString& what, const QString& with)
{
    QTextCursor c = e->document()->find(what);
    ASSERT_FALSE(c.isNull()) << what.toStdString();
    c.insertText(with);
}

std::string formText(const QString& path)
{
    std::string text;
    lingrove::formfile::ResourceToText(readBytes(path).toStdString(), text);
    return text;
}

TEST_F(SavingTest, EditedLiteralsAreSavedIntoTheUnitAndTheForm)
{
    openProjectSource(copyDemo());
    // The user's own text files beside the form are none of our business.
    writeBytes(project + "/MAIN.TXT", "notes of the user");
    writeBytes(project + "/Main.txt", "more notes");
    const QByteArray unit = readBytes(project + "/Main.pas");
    const QString german = QString::fromUtf8("Keine Sorge, nichts wurde hinzugefügt.");

    pages().openPage("main.pas");
    replaceInEditor(pages().activeFileEditor(), "Don''t worry, nothing was added.", german);
    ASSERT_TRUE(pages().saveActivePage());
    QByteArray expected = unit;
    expected.replace("Don''t worry, nothing was added.", german.toLatin1());
    EXPECT_EQ(readBytes(project + "/Main.pas"), expected);

    pages().openPage("main.dfm");
    replaceInEditor(pages().activeFileEditor(), QString::fromUtf8("'Adreßbuch'"), "'Address book'");
    ASSERT_TRUE(pages().saveActivePage());
    const std::string text = formText(project + "/Main.dfm");
    EXPECT_NE(text.find("  Caption = 'Address book'\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("'Anna M\xFCller, M\xFCnchen'"), std::string::npos);
    EXPECT_EQ(readBytes(project + "/MAIN.TXT"), "notes of the user");
    EXPECT_EQ(readBytes(project + "/Main.txt"), "more notes");
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
}

// A form that cannot be converted back, text the file's code page lacks, a
// read-only file: the file stays as it was, and so does the page, which
// "Save and close" does not close either.
TEST_F(SavingTest, APageThatCannotBeSavedKeepsItsFileAndItsPage)
{
    openProjectSource(copyDemo());
    struct Case {
        const char *page, *file, *what, *with;
        bool readOnly;
        const char *kind, *told;
    };
    for (const Case& c : {Case{"main.dfm", "Main.dfm", "  Left = 200", "  Left = )", false, "message", "line 2"},
                          Case{"texts.pas", "Texts.pas", "{ Texts", "\u03A9{ Texts", false, "message",
                               "line 3, column 1"},
                          Case{"texts.pas", "Texts.pas", "unit", "Unit", true, "error", ""}}) {
        const QString path = project + "/" + c.file;
        const QByteArray bytes = readBytes(path);
        pages().openPage(c.page);
        replaceInEditor(pages().activeFileEditor(), c.what, c.with);
        if (c.readOnly)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
        ui->clear();
        EXPECT_FALSE(pages().saveActivePage()) << c.page;
        ASSERT_EQ(ui->texts(c.kind).size(), 1) << ui->texts().join('|').toStdString();
        EXPECT_TRUE(ui->texts(c.kind)[0].contains(c.told)) << ui->texts(c.kind)[0].toStdString();
        EXPECT_FALSE(pages().saveAndCloseActivePage());
        EXPECT_EQ(captions(), QStringList({"Demo.dpr", c.page}));
        EXPECT_EQ(readBytes(path), bytes);
        EXPECT_TRUE(leftOver("*.txt").isEmpty());
        pages().closeAllPages();
    }
}

TEST_F(SavingTest, SaveAndCloseClosesThePageAndMovesToTheLastPage)
{
    openProjectSource(copyDemo());
    pages().openPage("texts.pas");
    pages().openPage("about.pas");
    pages().openPage("main.pas");
    pages().tabs()->setCurrentIndex(2);
    EXPECT_TRUE(pages().saveAndCloseActivePage());
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "texts.pas", "main.pas"}));
    EXPECT_EQ(pages().tabs()->currentIndex(), 2);

    pages().saveAndCloseActivePage();
    pages().saveAndCloseActivePage();
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
    EXPECT_EQ(pages().tabs()->currentIndex(), 0);
    EXPECT_EQ(ui->texts("message"), QStringList(3, "The current file will saved and removed"));
}

TEST_F(SavingTest, SavingTheProjectSourceRebuildsTheTree)
{
    const QString dpr = copyDemo();
    writeBytes(project + "/Extra.pas", "unit Extra;\r\nend.\r\n");
    openProjectSource(dpr);
    replaceInEditor(pages().projectEditor(), "  Texts in 'texts.pas';",
                    "  Texts in 'texts.pas',\n  Extra in 'Extra.pas';");
    ASSERT_TRUE(pages().saveActivePage());
    EXPECT_TRUE(readBytes(dpr).contains("  Texts in 'texts.pas',\r\n  Extra in 'Extra.pas';\r\n"));
    EXPECT_EQ(pages().tree()->findItems("Extra.pas", Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
    EXPECT_TRUE(pages().projectEditor()->toPlainText().contains("Extra in 'Extra.pas';"));
    EXPECT_EQ(pages().tabs()->tabText(0), "Demo.dpr");
}

TEST_F(SavingTest, ClosingAModifiedPageOrTheWindowAsksFirst)
{
    openProjectSource(copyDemo());
    const QString path = project + "/Texts.pas";
    const QByteArray unit = readBytes(path);
    pages().openPage("texts.pas");
    replaceInEditor(pages().activeFileEditor(), "unit", "Unit");
    EXPECT_FALSE(pages().tabs()->tabIcon(1).isNull());

    // Cancel keeps the page and its text; Yes saves it and closes it.
    ui->choices = {lingrove::ui::Answer::Cancel};
    pages().closeActivePage();
    EXPECT_EQ(ui->texts("choice"), QStringList{"Save changes to texts.pas?"});
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "texts.pas"}));
    ui->choices = {lingrove::ui::Answer::Yes};
    pages().closeActivePage();
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
    QByteArray expected = unit;
    expected.replace(0, 4, "Unit");
    EXPECT_EQ(readBytes(path), expected);

    // No closes the window without writing; Cancel keeps it open.
    pages().openPage("texts.pas");
    replaceInEditor(pages().activeFileEditor(), "Unit", "unit");
    ui->clear();
    ui->choices = {lingrove::ui::Answer::Cancel};
    EXPECT_FALSE(window().close());
    EXPECT_EQ(ui->texts("choice"), QStringList{"Save changes to texts.pas?"});
    ui->choices = {lingrove::ui::Answer::No};
    EXPECT_TRUE(window().close());
    EXPECT_EQ(readBytes(path), expected);
}

} // namespace
