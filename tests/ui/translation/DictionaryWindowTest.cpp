// The create-table dialog and the dictionary window.
#include "test_dictionary_support.h"

#include "app/AppState.h"
#include "platform/UserInterface.h"
#include "translation/CreateTableDialog.h"
#include "translation/DictionaryWindow.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlTableModel>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace lingrove::translation;
using lingrove::app::state;
using lingrove::platform::ScriptedUi;
using lingrove::translation::testing::DictionaryFolderTest;
using lingrove::translation::testing::str;

namespace {

class DictionaryWindowTest : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        state().project.DictionaryTable.clear();
    }
    void TearDown() override
    {
        state().project.DictionaryTable.clear();
        DictionaryFolderTest::TearDown();
    }

    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    static QStringList column(const QSqlTableModel* model, int col)
    {
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, col).data().toString();
        return out;
    }
    static void typeInto(QSpinBox* spin, const QString& text)
    {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }
};

TEST_F(DictionaryWindowTest, CreateDialogMakesTableAndRefusesExistingOrEmptyNames)
{
    makeTable("Old", {{"Yes", "Ja"}});
    ScriptedUi ui;
    TDbank dialog;
    EXPECT_EQ(dialog.windowTitle(), "Create translation table");
    EXPECT_EQ(dialog.createButton()->text(), "C&reate");
    EXPECT_EQ(dialog.cancelButton()->text(), "&Cancel");
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Database name") && labels.contains("Fields size"));
    EXPECT_EQ(dialog.sizeSpin()->minimum(), 10);
    EXPECT_EQ(dialog.sizeSpin()->maximum(), 100);
    QSignalSpy created(&dialog, &TDbank::tableCreated);
    dialog.show();

    // An existing or empty name is refused; the dialog stays open and the
    // stored table is untouched.
    for (const QString& name : {QString("Old"), QString()}) {
        dialog.setProposedName(name);
        QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.createdName().isEmpty());
    }
    ASSERT_EQ(ui->texts("message").size(), 2);
    EXPECT_TRUE(ui->texts("message")[0].contains("exists already"));
    Dictionary d;
    ASSERT_TRUE(d.open("Old"));
    EXPECT_EQ(d.TableState("Yes")[0], "Ja");

    dialog.setProposedName("German_French");
    EXPECT_EQ(dialog.sizeSpin()->value(), 50);
    typeInto(dialog.sizeSpin(), "30");
    QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.createdName(), "German_French");
    ASSERT_EQ(created.count(), 1);
    EXPECT_EQ(created.at(0).at(0).toString(), "German_French");
    ASSERT_TRUE(d.open("German_French"));
    EXPECT_EQ(d.fieldSize(), 30);

    // Cancel leaves without making anything.
    dialog.setProposedName("Other");
    dialog.show();
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(listTables(), QStringList({"German_French", "Old"}));
}

TEST_F(DictionaryWindowTest, ShowListsTablesAndOpensProjectTableOrFirst)
{
    makeTable("gamma", {{"G1", "g"}, {"G2", "g"}, {"G3", "g"}});
    makeTable("alpha", {{"A1", "a"}});
    makeTable("Beta");

    state().project.DictionaryTable = "gamma";
    TDataEditForm window;
    EXPECT_EQ(window.windowTitle(), "Dictionary");
    EXPECT_FALSE(window.isModal());
    window.show();
    EXPECT_EQ(items(window.tableList()), QStringList({"alpha", "Beta", "gamma"}));
    EXPECT_EQ(window.tableList()->currentText(), "gamma");
    EXPECT_EQ(window.tableName(), "gamma");
    ASSERT_NE(window.model(), nullptr);
    EXPECT_EQ(window.model()->rowCount(), 3);

    // Choosing another name in the list posts the pending edit and opens
    // that table.
    ASSERT_TRUE(window.model()->setData(window.model()->index(0, 2), "pending"));
    window.tableList()->setCurrentIndex(1);
    emit window.tableList()->activated(1);
    EXPECT_EQ(window.tableName(), "Beta");
    EXPECT_EQ(window.model()->rowCount(), 0);
    Dictionary d;
    ASSERT_TRUE(d.open("gamma"));
    EXPECT_EQ(d.TableState("G1")[1], "pending");

    window.close();
    EXPECT_EQ(window.model(), nullptr);
    EXPECT_TRUE(window.tableName().isEmpty());

    // Without a project the first table of the list is shown.
    state().project.DictionaryTable.clear();
    window.show();
    EXPECT_EQ(window.tableName(), "alpha");
    EXPECT_EQ(column(window.model(), 0), QStringList({"A1"}));
    window.close();
}

TEST_F(DictionaryWindowTest, EmptyFolderAndMissingProjectTableGiveEmptyGrid)
{
    ScriptedUi ui;
    TDataEditForm window;
    window.show();
    EXPECT_EQ(window.tableList()->count(), 0);
    EXPECT_EQ(window.model(), nullptr);
    EXPECT_TRUE(ui->shown.empty());
    window.close();

    state().project.DictionaryTable = "gone";
    window.show();
    EXPECT_EQ(window.model(), nullptr);
    ASSERT_EQ(ui->texts("error").size(), 1);
    EXPECT_TRUE(ui->texts("error")[0].contains("gone"));
    window.close();
}

TEST_F(DictionaryWindowTest, EditsInsertsAndDeletesReachTheWorkingTable)
{
    makeTable("t", {{"Open", "Offen"}, {"Close", "Zu"}});
    state().project.DictionaryTable = "t";
    Dictionary& working = DM().Table1;
    ASSERT_TRUE(working.open("t"));

    ScriptedUi ui;
    TDataEditForm window;
    window.show();
    QSqlTableModel* model = window.model();
    ASSERT_NE(model, nullptr);

    // Edit a cell and leave the row: the record is posted, and the working
    // table's own connection sees it.
    const int openRow = column(model, 0).indexOf("Open");
    ASSERT_GE(openRow, 0);
    window.grid()->setCurrentIndex(model->index(openRow, 2));
    ASSERT_TRUE(model->setData(model->index(openRow, 2), "Auf"));
    window.action(openRow == 0 ? TDataEditForm::Button::Next : TDataEditForm::Button::Prior)->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(working.TableState("Open")[1], "Auf");
    EXPECT_NE(window.grid()->currentIndex().row(), column(model, 0).indexOf("Open"))
        << "the current record stays the one moved to";
    ASSERT_TRUE(model->setData(model->index(column(model, 0).indexOf("Open"), 3), "Oeffnen"));
    window.action(TDataEditForm::Button::Post)->trigger();
    EXPECT_EQ(working.TableState("Open")[2], "Oeffnen");

    // Insert a record and type its source and translation into the grid;
    // Post takes the text still in the open cell editor.
    window.action(TDataEditForm::Button::Insert)->trigger();
    ASSERT_TRUE(window.grid()->currentIndex().isValid());
    QWidget* editor = window.grid()->viewport()->focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Save");
    QTest::keyClick(editor, Qt::Key_Tab);
    editor = window.grid()->viewport()->focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Sichern");
    window.action(TDataEditForm::Button::Post)->trigger();
    EXPECT_TRUE(ui->texts("error").isEmpty()) << str(ui->texts("error").join("\n"));
    EXPECT_EQ(working.TableState("Save")[0], "Sichern");
    EXPECT_EQ(working.count(), 3);

    // An inserted record left empty is abandoned, its editor still open.
    window.action(TDataEditForm::Button::Insert)->trigger();
    window.action(TDataEditForm::Button::Post)->trigger();
    window.action(TDataEditForm::Button::Insert)->trigger();
    window.action(TDataEditForm::Button::Next)->trigger();
    window.action(TDataEditForm::Button::Post)->trigger();
    EXPECT_TRUE(ui->texts("error").isEmpty()) << str(ui->texts("error").join("\n"));
    EXPECT_EQ(working.count(), 3);

    // A duplicate source is refused by the index and reported.
    ASSERT_TRUE(model->setData(model->index(column(model, 0).indexOf("Close"), 0), "Open"));
    window.action(TDataEditForm::Button::Post)->trigger();
    EXPECT_EQ(ui->texts("error").size(), 1);
    window.action(TDataEditForm::Button::Cancel)->trigger();
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(working.TableState("Close")[0], "Zu");

    // Delete after confirmation.
    window.grid()->setCurrentIndex(model->index(column(model, 0).indexOf("Close"), 0));
    ui->answers = {true};
    window.action(TDataEditForm::Button::Delete)->trigger();
    EXPECT_TRUE(ui->texts("question").contains("Delete record?"));
    EXPECT_FALSE(working.find("Close", nullptr));
    EXPECT_EQ(working.count(), 2);
    window.close();
}

TEST_F(DictionaryWindowTest, ColumnTitlesSortAndPendingEditSurvivesSort)
{
    makeTable("t", {{"b", "2"}, {"c", "1"}, {"a", "3"}});
    state().project.DictionaryTable = "t";
    TDataEditForm window;
    window.show();
    QSqlTableModel* model = window.model();
    ASSERT_NE(model, nullptr);
    QHeaderView* header = window.grid()->horizontalHeader();

    const int row = column(model, 0).indexOf("a");
    ASSERT_TRUE(model->setData(model->index(row, 2), "three"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QStringList dest1 = column(model, 1);
    EXPECT_TRUE(dest1 == QStringList({"1", "2", "3"}) || dest1 == QStringList({"3", "2", "1"}))
        << str(dest1.join(","));
    Dictionary d;
    ASSERT_TRUE(d.open("t"));
    EXPECT_EQ(d.TableState("a")[1], "three");

    window.grid()->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(model, 0), QStringList({"c", "b", "a"}));

    // Navigator moves through the records.
    window.action(TDataEditForm::Button::Last)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), 2);
    window.action(TDataEditForm::Button::Prior)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), 1);
    window.action(TDataEditForm::Button::First)->trigger();
    window.action(TDataEditForm::Button::Prior)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), 0);
    window.close();
}

} // namespace
