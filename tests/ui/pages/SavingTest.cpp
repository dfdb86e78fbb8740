// Saving pages: units, forms and the project source written back, byte for
// byte when unchanged; failures keep the files as they were.
#include "pages_fixture.h"

#include "formfile/FormFile.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidgetItemIterator>

using namespace pagetest;

namespace {

QByteArray highBytes()
{
    QByteArray b;
    for (int c = 128; c < 256; ++c)
        b.append(static_cast<char>(c));
    return b;
}

// Replaces the first occurrence of what in the editor by with, as typing would.
void replaceInEditor(QTextEdit* e, const QString& what, const QString& with)
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

} // namespace

TEST_F(PagesTest, UnchangedPagesOfEveryKindAreWrittenBackByteForByte)
{
    const QString dpr = copyDemo();
    // Every byte above 127, mixed line breaks, no break after the last line.
    const QByteArray pas = "unit Bytes;\r\n{ " + highBytes() + " }\r\nconst S = '" + highBytes() +
                           "';\nimplementation\rend.";
    writeBytes(project + "/Bytes.pas", pas);
    std::string form;
    lingrove::formfile::TextToResource(("object F: TForm\r\n  Caption = '" + highBytes() + "'\r\nend\r\n").toStdString(),
                                       form);
    writeBytes(project + "/Bytes.dfm", QByteArray::fromStdString(form));

    const QStringList files = {"Demo.dpr", "Bytes.pas", "Bytes.dfm", "Main.pas", "Main.dfm", "frm/Input.dfm"};
    QList<QByteArray> before;
    for (const QString& f : files)
        before << readBytes(project + "/" + f);

    MainWindow& w = open(dpr);
    for (const char* name : {"bytes.pas", "bytes.dfm", "main.pas", "main.dfm", "frm\\input.dfm"})
        w.OpenSourcePage(name);
    ASSERT_EQ(w.PageControl1->count(), 6);
    for (int i = 0; i < w.PageControl1->count(); ++i) {
        w.PageControl1->setCurrentIndex(i);
        EXPECT_TRUE(w.SaveDFM1Click()) << i;
    }
    for (int i = 0; i < files.size(); ++i)
        EXPECT_EQ(readBytes(project + "/" + files[i]), before[i]) << files[i].toStdString();
    EXPECT_TRUE(leftOver("*.txt").isEmpty() && leftOver("*.TXT").isEmpty());
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
}

TEST_F(PagesTest, EditedLiteralsAreSavedIntoTheUnitAndTheForm)
{
    MainWindow& w = open(copyDemo());
    // The user's own text files beside the form are none of our business.
    writeBytes(project + "/MAIN.TXT", "notes of the user");
    writeBytes(project + "/Main.txt", "more notes");
    const QByteArray unit = readBytes(project + "/Main.pas");
    const QString german = QString::fromUtf8("Keine Sorge, nichts wurde hinzugefügt.");

    w.OpenSourcePage("main.pas");
    replaceInEditor(w.activeFileEditor(), "Don''t worry, nothing was added.", german);
    ASSERT_TRUE(w.SaveDFM1Click());
    QByteArray expected = unit;
    expected.replace("Don''t worry, nothing was added.", german.toLatin1());
    EXPECT_EQ(readBytes(project + "/Main.pas"), expected);

    w.OpenSourcePage("main.dfm");
    replaceInEditor(w.activeFileEditor(), QString::fromUtf8("'Adreßbuch'"), "'Address book'");
    ASSERT_TRUE(w.SaveDFM1Click());
    const std::string text = formText(project + "/Main.dfm");
    EXPECT_NE(text.find("  Caption = 'Address book'\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("'Anna M\xFCller, M\xFCnchen'"), std::string::npos);
    EXPECT_EQ(readBytes(project + "/MAIN.TXT"), "notes of the user");
    EXPECT_EQ(readBytes(project + "/Main.txt"), "more notes");
}

TEST_F(PagesTest, AFormThatCannotBeConvertedBackKeepsItsFileAndItsPage)
{
    MainWindow& w = open(copyDemo());
    const QByteArray dfm = readBytes(project + "/Main.dfm");
    w.OpenSourcePage("main.dfm");
    replaceInEditor(w.activeFileEditor(), "  Left = 200", "  Left = )");

    EXPECT_FALSE(w.SaveDFM1Click());
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("line 2")) << ui->texts("message")[0].toStdString();
    EXPECT_EQ(readBytes(project + "/Main.dfm"), dfm);
    EXPECT_TRUE(leftOver("*.txt").isEmpty());

    // Finishing the page does not close it while it cannot be saved.
    ui->clear();
    w.SaveAndRemove();
    EXPECT_EQ(ui->texts("message").first(), "The current file will saved and removed");
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "main.dfm"}));
}

TEST_F(PagesTest, SaveAndRemoveClosesThePageAndMovesToTheLastPage)
{
    MainWindow& w = open(copyDemo());
    w.OpenSourcePage("texts.pas");
    w.OpenSourcePage("about.pas");
    w.OpenSourcePage("main.pas");
    w.PageControl1->setCurrentIndex(2);
    w.SaveAndRemove();
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "texts.pas", "main.pas"}));
    EXPECT_EQ(w.PageControl1->currentIndex(), 2);

    w.SaveAndRemove();
    w.SaveAndRemove();
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_EQ(ui->texts("message"), QStringList(3, "The current file will saved and removed"));
}

TEST_F(PagesTest, SavingTheProjectSourceRebuildsTheTree)
{
    const QString dpr = copyDemo();
    writeBytes(project + "/Extra.pas", "unit Extra;\r\nend.\r\n");
    MainWindow& w = open(dpr);
    replaceInEditor(w.MainRichEdit, "  Texts in 'texts.pas';", "  Texts in 'texts.pas',\n  Extra in 'Extra.pas';");
    ASSERT_TRUE(w.SaveDFM1Click());
    EXPECT_TRUE(readBytes(dpr).contains("  Texts in 'texts.pas',\r\n  Extra in 'Extra.pas';\r\n"));
    EXPECT_EQ(w.TreeView1->findItems("Extra.pas", Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
    EXPECT_TRUE(w.MainRichEdit->toPlainText().contains("Extra in 'Extra.pas';"));
    EXPECT_EQ(w.PageControl1->tabText(0), "Demo.dpr");
}

TEST_F(PagesTest, TextTheFileCannotHoldOrAReadOnlyFileIsNotWritten)
{
    MainWindow& w = open(copyDemo());
    const QString path = project + "/Texts.pas";
    const QByteArray unit = readBytes(path);
    w.OpenSourcePage("texts.pas");
    QTextCursor c(w.activeFileEditor()->document()->findBlockByNumber(2));
    c.insertText(QString::fromUtf8("Ω"));
    EXPECT_FALSE(w.SaveDFM1Click());
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("line 3, column 1"));
    EXPECT_EQ(readBytes(path), unit);

    c.deletePreviousChar();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_FALSE(w.SaveDFM1Click());
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_EQ(readBytes(path), unit);
}
