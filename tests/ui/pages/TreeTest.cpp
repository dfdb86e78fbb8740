// The project tree: names quoted in the project source, found as Windows
// finds them, opened by double click, pop-up menu and "load all".
#include "pages_fixture.h"

#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTreeWidgetItemIterator>

using namespace pagetest;

namespace {

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

} // namespace

class TreeTest : public PagesTest {
protected:
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
};

TEST_F(TreeTest, ListsExistingFilesAsWrittenWithDuplicatesAndFormsBesideThem)
{
    state().settings.Dirs = true;
    MainWindow& w = open(makeProject());
    EXPECT_EQ(w.PageControl1->tabText(0), "Test.dpr");

    QStringList list;
    for (int i = 0; i < w.ListBox1->count(); ++i)
        list << w.ListBox1->item(i)->text();
    EXPECT_EQ(list, QStringList({"Unit1.pas", "Hellof.pas", "Plain.pas", "Missing.pas", "Frm\\FrmInput.pas",
                                 "Unit1.pas", "frm", "My Application"}));
    EXPECT_EQ(treeLines(w.TreeView1),
              QStringList({"Project", "  Units", "    Unit1.pas", "    Hellof.pas", "    Plain.pas",
                           "    Frm\\FrmInput.pas", "    Unit1.pas", "  Forms", "    Unit1.dfm",
                           "    Hellof.dfm", "    Frm\\FrmInput.dfm", "    Unit1.dfm"}));
    EXPECT_TRUE(w.TreeView1->isExpanded(w.TreeView1->model()->index(0, 0)));
}

TEST_F(TreeTest, ASubFolderNameIsDroppedWhileBackslashStringsAreFiltered)
{
    state().settings.Dirs = false;
    MainWindow& w = open(makeProject());
    EXPECT_EQ(node(w.TreeView1, "Frm\\FrmInput.pas"), nullptr);
    EXPECT_NE(node(w.TreeView1, "Hellof.pas"), nullptr);
}

TEST_F(TreeTest, DoubleClickOpensTheSelectedFileOnceAndIgnoresGroupNodes)
{
    state().settings.Dirs = true;
    MainWindow& w = open(makeProject());

    w.TreeView1->setCurrentItem(node(w.TreeView1, "Units"));
    w.TreeView1DblClick();
    w.TreeView1->setCurrentItem(node(w.TreeView1, "Project"));
    w.TreeView1DblClick();
    EXPECT_EQ(w.PageControl1->count(), 1);

    w.TreeView1->setCurrentItem(node(w.TreeView1, "Frm\\FrmInput.pas"));
    w.TreeView1DblClick();
    w.TreeView1->setCurrentItem(node(w.TreeView1, "Hellof.pas"));
    w.TreeView1DblClick();
    EXPECT_EQ(captions(), QStringList({"Test.dpr", "frm\\frminput.pas", "hellof.pas"}));
    EXPECT_EQ(w.activeFileEditor()->toPlainText(), "unit Hellof;\nend.\n");

    w.TreeView1->setCurrentItem(node(w.TreeView1, "Frm\\FrmInput.pas"));
    w.TreeView1DblClick();
    EXPECT_EQ(w.PageControl1->count(), 3);
    EXPECT_EQ(w.PageControl1->currentIndex(), 1);
}

TEST_F(TreeTest, RightPressOpensThePopUpAndKeepsTheSelection)
{
    MainWindow& w = open(makeProject());
    w.show();
    QTreeWidgetItem* plain = node(w.TreeView1, "Plain.pas");
    w.TreeView1->setCurrentItem(plain);
    const QRect other = w.TreeView1->visualItemRect(node(w.TreeView1, "Unit1.dfm"));
    QTest::mousePress(w.TreeView1->viewport(), Qt::RightButton, {}, other.center());
    EXPECT_TRUE(w.PopupMenu1->isVisible());
    EXPECT_EQ(w.TreeView1->selectedItems(), QList<QTreeWidgetItem*>{plain});
    w.PopupMenu1->hide();
}

TEST_F(TreeTest, LoadAllClosesFilePagesThenOpensUnitsFollowedByForms)
{
    writeBytes(project + "/Unit2.pas", "unit Unit2;\r\nend.\r\n");
    const QString dpr = project + "/P.dpr";
    writeBytes(dpr, "uses Unit2 in 'unit2.pas', Gone in 'Gone.pas';\r\n");
    MainWindow& w = open(dpr);
    w.OpenSourcePage("unit2.pas");
    w.LoadallprojectFiles1Click();
    EXPECT_EQ(captions(), QStringList({"P.dpr", "unit2.pas"}));
    EXPECT_TRUE(ui->shown.empty());
}
