// The project tree: names quoted in the project source, found as Windows
// finds them, opened by double click, pop-up menu and "load all".
#include "tests/common/AppFixture.h"

#include "ui/pages/ProjectTree.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QPlainTextEdit>
#include <QTreeWidgetItemIterator>

namespace {

using lingrove::testing::writeBytes;

QStringList treeLines(QTreeWidget* tree)
{
    QStringList out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        int depth = 0;
        for (auto* p = (*it)->parent(); p; p = p->parent())
            ++depth;
        out << QString(depth * 2, ' ') + (*it)->text(0);
    }
    return out;
}

QTreeWidgetItem* node(QTreeWidget* tree, const QString& text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

class TreeTest : public lingrove::testing::AppTest {
protected:
    // A project whose source names its units in another letter case than
    // the files, one twice, one missing and one in a sub-folder.
    QString makeProject()
    {
        writeBytes(project + "/Unit1.pas", "unit Unit1;\r\nend.\r\n");
        writeBytes(project + "/Unit1.dfm", "");
        writeBytes(project + "/HELLOF.PAS", "unit Hellof;\r\nend.\r\n");
        writeBytes(project + "/HELLOF.DFM", "");
        writeBytes(project + "/Plain.pas", "unit Plain;\r\nend.\r\n");
        writeBytes(project + "/frm/FrmInput.pas", "unit FrmInput;\r\nend.\r\n");
        writeBytes(project + "/frm/frminput.dfm", "");
        const QString dpr = project + "/Test.dpr";
        writeBytes(dpr, "program Test;\r\nuses\r\n  Unit1 in 'Unit1.pas' {Form1},\r\n"
                        "  Hellof in 'Hellof.pas', Plain in 'Plain.pas',\r\n"
                        "  Missing in 'Missing.pas', FrmInput in 'Frm\\FrmInput.pas';\r\n"
                        "{ again: 'Unit1.pas' and the folder 'frm' }\r\n"
                        "begin\r\n  Application.Title := 'My Application';\r\nend.\r\n");
        return dpr;
    }
    void openProject(bool acceptFolderNames)
    {
        lingrove::model::Settings s = workspace().settings();
        s.accept.Dirs = acceptFolderNames;
        workspace().setSettings(s);
        openProjectSource(makeProject());
    }
    QTreeWidget* tree() { return pages().tree(); }
    void doubleClick(const QString& text)
    {
        QTreeWidgetItem* item = node(tree(), text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        tree()->setCurrentItem(item);
        emit tree()->itemDoubleClicked(item, 0);
    }
};

TEST_F(TreeTest, ListsExistingFilesAsWrittenWithDuplicatesAndFormsBesideThem)
{
    openProject(true);
    EXPECT_EQ(pages().tabs()->tabText(0), "Test.dpr");
    EXPECT_EQ(pages().quotedNames(), QStringList({"Unit1.pas", "Hellof.pas", "Plain.pas", "Missing.pas",
                                                  "Frm\\FrmInput.pas", "Unit1.pas", "frm", "My Application"}));
    // Each form with its kind beside its name.
    writeBytes(project + "/HELLOF.DFM", QByteArray::fromHex("ff0a00") + "HELLOF");
    writeBytes(project + "/Unit1.dfm", "\xEF\xBB\xBFobject Form1: TForm1\r\nend\r\n");
    pages().reloadProjectSource();
    EXPECT_EQ(treeLines(tree()),
              QStringList({"Project", "  Units", "    Unit1.pas", "    Hellof.pas", "    Plain.pas",
                           "    Frm\\FrmInput.pas", "    Unit1.pas", "  Forms", "    Unit1.dfm (text, UTF-8)",
                           "    Hellof.dfm (binary)", "    Frm\\FrmInput.dfm (text)", "    Unit1.dfm (text, UTF-8)"}));
    EXPECT_TRUE(tree()->isExpanded(tree()->model()->index(0, 0)));
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
    EXPECT_EQ(pages().tree()->nodeNames().mid(8, 2), QStringList({"Unit1.dfm", "Hellof.dfm"}));

    // Whatever the string filters say, the tree lists every file the
    // project source names, those in sub-folders too.
    openProject(false);
    EXPECT_NE(node(tree(), "Frm\\FrmInput.pas"), nullptr);
    EXPECT_NE(node(tree(), "Hellof.pas"), nullptr);
}

TEST_F(TreeTest, DoubleClickOpensTheSelectedFileOnceAndIgnoresGroupNodes)
{
    openProject(true);
    doubleClick("Units");
    doubleClick("Project");
    EXPECT_EQ(pages().tabs()->count(), 1);

    doubleClick("Frm\\FrmInput.pas");
    doubleClick("Hellof.pas");
    EXPECT_EQ(captions(), QStringList({"Test.dpr", "frm\\frminput.pas", "hellof.pas"}));
    EXPECT_EQ(pages().activeFileEditor()->toPlainText(), "unit Hellof;\nend.\n");

    doubleClick("Frm\\FrmInput.pas");
    EXPECT_EQ(pages().tabs()->count(), 3);
    EXPECT_EQ(pages().tabs()->currentIndex(), 1);
}

TEST_F(TreeTest, RightPressOpensThePopUpAndKeepsTheSelection)
{
    openProject(false);
    window().show();
    QTreeWidgetItem* plain = node(tree(), "Plain.pas");
    tree()->setCurrentItem(plain);
    const QRect other = tree()->visualItemRect(node(tree(), "Unit1.dfm"));
    QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, other.center());
    QMenu* popup = pages().tree()->popupMenu();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(tree()->selectedItems(), QList<QTreeWidgetItem*>{plain});
    popup->hide();
}

TEST_F(TreeTest, LoadAllClosesFilePagesBeforeOpeningTheProjectsFiles)
{
    writeBytes(project + "/Unit2.pas", "unit Unit2;\r\nend.\r\n");
    const QString dpr = project + "/P.dpr";
    writeBytes(dpr, "uses Unit2 in 'unit2.pas', Gone in 'Gone.pas';\r\n");
    openProjectSource(dpr);
    pages().openPage("unit2.pas");
    pages().loadAllFilesAction()->trigger();
    EXPECT_EQ(captions(), QStringList({"P.dpr", "unit2.pas"}));
    EXPECT_TRUE(ui->shown.empty());
}

} // namespace
