// The dictionary window, the create-table dialog and the new-project
// wizard's "Create new table".
#include "tests/common/AppFixture.h"

#include "model/ProjectFile.h"
#include "ui/project/CreateTableDialog.h"
#include "ui/project/NewProjectWizard.h"
#include "ui/project/ProjectFeature.h"
#include "ui/translation/DictionaryWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

namespace {

using lingrove::model::Dictionary;
using lingrove::model::DictionaryTableModel;
using lingrove::model::listTables;
using lingrove::ui::CreateTableDialog;
using lingrove::ui::DictionaryWindow;
using Button = DictionaryWindow::Button;

class DictionaryWindowTest : public lingrove::testing::AppTest {
protected:
    void useTable(const QString& name) { workspace().project().dictionaryTable = name; }

    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    static QStringList column(const DictionaryTableModel* model, int col)
    {
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, col).data().toString();
        return out;
    }
    // A table of n records "S<i>" with the translation "T<i mod 10>", filled
    // in one transaction.
    void makeLargeTable(const QString& name, int n)
    {
        makeTable(name);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
            db.setDatabaseName(lingrove::model::tableFilePath(name));
            ASSERT_TRUE(db.open());
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare("INSERT INTO Dictionary (Source, Dest1) VALUES (?, ?)");
            for (int i = 0; i < n; ++i) {
                insert.addBindValue(QString("S%1").arg(i, 4, 10, QChar('0')));
                insert.addBindValue(QString("T%1").arg(i % 10));
                ASSERT_TRUE(insert.exec());
            }
            ASSERT_TRUE(db.commit());
        }
        QSqlDatabase::removeDatabase("fill");
    }
    static QString status(DictionaryWindow& window)
    {
        return window.statusBar()->findChild<QLabel*>()->text();
    }
    static QString cell(const DictionaryTableModel* model, int row, int col)
    {
        return model->index(row, col).data().toString();
    }
    // The stored translation n (1..5) of source in table name.
    static QString stored(const QString& name, const QString& source, int n = 1)
    {
        Dictionary d;
        lingrove::model::Proposals dests;
        if (!d.open(name) || !d.find(source, &dests))
            return "<none>";
        return dests[static_cast<std::size_t>(n - 1)];
    }
};

TEST_F(DictionaryWindowTest, CreateDialogMakesTableAndRefusesExistingOrEmptyNames)
{
    makeTable("Old", {{"Yes", "Ja"}});
    CreateTableDialog dialog;
    QSignalSpy created(&dialog, &CreateTableDialog::tableCreated);
    dialog.show();

    // An existing or empty name is refused; the dialog stays open and the
    // stored table is untouched.
    for (const QString& name : {QString("Old"), QString("old"), QString()}) {
        dialog.setProposedName(name);
        QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.createdName().isEmpty());
    }
    ASSERT_EQ(ui->texts("message").size(), 3);
    EXPECT_TRUE(ui->texts("message")[0].contains("exists already"));
    EXPECT_EQ(stored("Old", "Yes"), "Ja");

    dialog.setProposedName("German_French");
    EXPECT_EQ(dialog.sizeSpin()->value(), 50);
    dialog.sizeSpin()->setFocus();
    dialog.sizeSpin()->selectAll();
    QTest::keyClicks(dialog.sizeSpin(), "30");
    QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.createdName(), "German_French");
    ASSERT_EQ(created.count(), 1);
    EXPECT_EQ(created.at(0).at(0).toString(), "German_French");
    Dictionary d;
    ASSERT_TRUE(d.open("German_French"));
    EXPECT_EQ(d.fieldSize(), 30);

    // Cancel leaves without making anything.
    dialog.setProposedName("Other");
    dialog.show();
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(listTables(), QStringList({"German_French", "Old"}));
}

TEST_F(DictionaryWindowTest, TheWizardProposesSourceUnderscoreDestinationAndChoosesTheNewTable)
{
    makeTable("Words");
    lingrove::ui::NewProjectWizard& wizard = app->project().newProjectWizard();
    wizard.fillTables();
    wizard.sourceLanguageField->setText("English");
    wizard.destLanguageField->setText("German");
    QString proposed;
    ui->dialogs.push_back([&](QDialog& d) {
        auto& dialog = static_cast<CreateTableDialog&>(d);
        proposed = dialog.nameEdit()->text();
        dialog.createButton()->click();
        return int(QDialog::Accepted);
    });
    wizard.createTableButton->click();
    EXPECT_EQ(proposed, "English_German");
    EXPECT_EQ(wizard.tableCombo->currentText(), "English_German");
    EXPECT_EQ(wizard.tableCombo->lineEdit()->cursorPosition(), 0) << "the name is shown from its start";
    EXPECT_EQ(items(wizard.tableCombo), QStringList({"English_German", "Words"}));
}

TEST_F(DictionaryWindowTest, AProjectWhoseTableIsMissingIsNotOpened)
{
    makeTable("Words");
    const QString file = lingrove::model::writeNewProjectFile(
        {"demo", project, copyDemo(), "German", "English", "Missing"});
    app->project().openProjectFile(file);
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("Missing")) << ui->texts("message")[0].toStdString();
    EXPECT_FALSE(workspace().project().isOpen());
    EXPECT_FALSE(workspace().dictionary().isOpen());
    EXPECT_EQ(captions(), QStringList({"noname"}));
}

TEST_F(DictionaryWindowTest, ShowListsTablesAndOpensProjectTableOrFirst)
{
    makeTable("gamma", {{"G1", "g"}, {"G2", "g"}, {"G3", "g"}});
    makeTable("alpha", {{"A1", "a"}});
    makeTable("Beta");

    useTable("gamma");
    DictionaryWindow window(workspace());
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
    EXPECT_EQ(stored("gamma", "G1", 2), "pending");

    window.close();
    EXPECT_EQ(window.model(), nullptr);
    EXPECT_TRUE(window.tableName().isEmpty());

    // Without a project table the first table of the list is shown.
    useTable({});
    window.show();
    EXPECT_EQ(window.tableName(), "alpha");
    EXPECT_EQ(column(window.model(), 0), QStringList({"A1"}));
    window.close();
}

TEST_F(DictionaryWindowTest, EmptyFolderAndMissingProjectTableGiveEmptyGrid)
{
    DictionaryWindow window(workspace());
    window.show();
    EXPECT_EQ(window.tableList()->count(), 0);
    EXPECT_EQ(window.model(), nullptr);
    EXPECT_TRUE(ui->shown.empty());
    window.close();

    useTable("gone");
    window.show();
    EXPECT_EQ(window.model(), nullptr);
    ASSERT_EQ(ui->texts("error").size(), 1);
    EXPECT_TRUE(ui->texts("error")[0].contains("gone"));
    window.close();
}

TEST_F(DictionaryWindowTest, EditsInsertsAndDeletesReachTheWorkingTable)
{
    makeTable("t", {{"Open", "Offen"}, {"Close", "Zu"}});
    useTable("t");
    Dictionary& working = workspace().dictionary();
    ASSERT_TRUE(working.open("t"));

    DictionaryWindow window(workspace());
    window.show();
    DictionaryTableModel* model = window.model();
    ASSERT_NE(model, nullptr);
    auto rowOf = [&](const QString& source) { return column(model, 0).indexOf(source); };
    auto dests = [&](const QString& source) {
        lingrove::model::Proposals found;
        working.find(source, &found);
        return found;
    };

    // Edit a cell and leave the row: the record is posted, and the working
    // table's own connection sees it.
    const int openRow = rowOf("Open");
    ASSERT_GE(openRow, 0);
    window.grid()->setCurrentIndex(model->index(openRow, 2));
    ASSERT_TRUE(model->setData(model->index(openRow, 2), "Auf"));
    window.action(openRow == 0 ? Button::Next : Button::Prior)->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(dests("Open")[1], "Auf");
    EXPECT_NE(window.grid()->currentIndex().row(), rowOf("Open")) << "the current record stays the one moved to";
    ASSERT_TRUE(model->setData(model->index(rowOf("Open"), 3), "Oeffnen"));
    window.action(Button::Post)->trigger();
    EXPECT_EQ(dests("Open")[2], "Oeffnen");

    // Insert a record and type its source and translation into the grid;
    // Post takes the text still in the open cell editor.
    window.action(Button::Insert)->trigger();
    ASSERT_TRUE(window.grid()->currentIndex().isValid());
    QWidget* editor = window.grid()->viewport()->focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Save");
    QTest::keyClick(editor, Qt::Key_Tab);
    editor = window.grid()->viewport()->focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Sichern");
    window.action(Button::Post)->trigger();
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
    EXPECT_EQ(dests("Save")[0], "Sichern");
    EXPECT_EQ(working.count(), 3);

    // An inserted record left empty is abandoned, its editor still open.
    window.action(Button::Insert)->trigger();
    window.action(Button::Post)->trigger();
    window.action(Button::Insert)->trigger();
    window.action(Button::Next)->trigger();
    window.action(Button::Post)->trigger();
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
    EXPECT_EQ(working.count(), 3);

    // A duplicate source is refused by the index and reported.
    ASSERT_TRUE(model->setData(model->index(rowOf("Close"), 0), "Open"));
    window.action(Button::Post)->trigger();
    EXPECT_EQ(ui->texts("error").size(), 1);
    window.action(Button::Cancel)->trigger();
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(dests("Close")[0], "Zu");

    // Delete after confirmation.
    window.grid()->setCurrentIndex(model->index(rowOf("Close"), 0));
    ui->answers = {true};
    window.action(Button::Delete)->trigger();
    EXPECT_TRUE(ui->texts("question").contains("Delete record?"));
    EXPECT_FALSE(working.find("Close", nullptr));
    EXPECT_EQ(working.count(), 2);
    window.close();
}

TEST_F(DictionaryWindowTest, ColumnTitlesSortAndPendingEditSurvivesSort)
{
    makeTable("t", {{"b", "2"}, {"c", "1"}, {"a", "3"}});
    useTable("t");
    DictionaryWindow window(workspace());
    window.show();
    DictionaryTableModel* model = window.model();
    ASSERT_NE(model, nullptr);
    QHeaderView* header = window.grid()->horizontalHeader();

    const int row = column(model, 0).indexOf("a");
    ASSERT_TRUE(model->setData(model->index(row, 2), "three"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    const QStringList dest1 = column(model, 1);
    EXPECT_TRUE(dest1 == QStringList({"1", "2", "3"}) || dest1 == QStringList({"3", "2", "1"}))
        << dest1.join(",").toStdString();
    EXPECT_EQ(stored("t", "a", 2), "three");

    window.grid()->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(model, 0), QStringList({"c", "b", "a"}));

    // The navigator moves through the records.
    window.action(Button::Last)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), 2);
    window.action(Button::Prior)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), 1);
    window.action(Button::First)->trigger();
    window.action(Button::Prior)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), 0);
    window.close();
}

TEST_F(DictionaryWindowTest, AnInsertedRowStaysUntilLeftAndLeavingItPostsIt)
{
    makeTable("t", {{"Open", "Offen"}, {"Close", "Zu"}});
    useTable("t");
    DictionaryWindow window(workspace());
    window.show();
    DictionaryTableModel* model = window.model();

    // The event loop runs between Insert and the first key.
    window.action(Button::Insert)->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(model->rowCount(), 3);
    const int row = window.grid()->currentIndex().row();
    EXPECT_EQ(row, model->insertedRow());
    QWidget* editor = window.grid()->viewport()->focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Save");
    QTest::keyClick(editor, Qt::Key_Tab);
    QTest::keyClicks(window.grid()->viewport()->focusWidget(), "Sichern");
    window.action(Button::Next)->trigger();   // leaves the new row
    QCoreApplication::processEvents();
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(stored("t", "Save"), "Sichern");

    // Left without text, it is abandoned.
    window.action(Button::Insert)->trigger();
    QCoreApplication::processEvents();
    window.action(Button::Next)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_FALSE(model->isDirty());
    window.close();
}

TEST_F(DictionaryWindowTest, ALargeTableIsPagedSortedEditedAndTrimmedInTheGrid)
{
    constexpr int n = 2000;
    makeLargeTable("big", n);
    useTable("big");
    DictionaryWindow window(workspace());
    window.show();
    DictionaryTableModel* model = window.model();
    model->setPageSize(9);
    ASSERT_TRUE(model->select());
    EXPECT_EQ(status(window), "big: 2000 records, field size 50");
    QHeaderView* header = window.grid()->horizontalHeader();
    EXPECT_EQ(header->sortIndicatorSection(), -1) << "no column title shows a sort not made";

    window.action(Button::Last)->trigger();
    EXPECT_EQ(window.grid()->currentIndex().row(), n - 1);
    EXPECT_EQ(cell(model, n - 1, 0), "S1999");
    window.action(Button::Prior)->trigger();
    EXPECT_EQ(cell(model, window.grid()->currentIndex().row(), 0), "S1998");

    // Sorted by the translation: ten runs of equal translations, records
    // of equal translations in the order added (here reversed).
    window.grid()->sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(cell(model, 0, 0), "S1999");
    EXPECT_EQ(cell(model, 1, 0), "S1989");
    EXPECT_EQ(cell(model, 199, 0), "S0009");
    EXPECT_EQ(cell(model, 200, 0), "S1998");
    EXPECT_EQ(cell(model, n - 1, 0), "S0000");

    // An edit in the middle moves its record when posted; the current
    // record stays the one moved to.
    const int row = 1003;   // the fourth of the translations T4
    ASSERT_EQ(cell(model, row, 0), "S1964");
    window.grid()->setCurrentIndex(model->index(row, 1));
    ASSERT_TRUE(model->setData(model->index(row, 1), "T9 edited"));
    window.action(Button::Next)->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->isDirty());
    EXPECT_EQ(stored("big", "S1964"), "T9 edited");
    EXPECT_EQ(cell(model, window.grid()->currentIndex().row(), 0), "S1954");
    EXPECT_EQ(cell(model, 0, 0), "S1964");

    // Delete the last record.
    window.action(Button::Last)->trigger();
    ui->answers = {true};
    window.action(Button::Delete)->trigger();
    EXPECT_EQ(stored("big", "S0000"), "<none>");
    EXPECT_EQ(model->rowCount(), n - 1);
    EXPECT_EQ(window.grid()->currentIndex().row(), n - 2);
    EXPECT_EQ(cell(model, n - 2, 0), "S0010");
    EXPECT_EQ(status(window), "big: 1999 records, field size 50");
    window.close();
}

TEST_F(DictionaryWindowTest, AReadOnlyTableIsBrowsedAndSortedButNotChanged)
{
    makeTable("ro", {{"b", "2"}, {"a", "3"}, {"c", "1"}});
    const QString file = lingrove::model::tableFilePath("ro");
    const QByteArray before = lingrove::testing::readBytes(file);
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    useTable("ro");
    DictionaryWindow window(workspace());
    window.show();
    DictionaryTableModel* model = window.model();
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
    EXPECT_EQ(status(window), "ro: 3 records, field size 50, read-only");
    for (Button button : {Button::Insert, Button::Delete, Button::Edit, Button::Post, Button::Cancel})
        EXPECT_FALSE(window.action(button)->isEnabled());
    EXPECT_TRUE(window.action(Button::Last)->isEnabled());
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    window.grid()->sortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(column(model, 0), QStringList({"c", "b", "a"}));
    window.close();
    EXPECT_EQ(lingrove::testing::readBytes(file), before) << "no index was added";
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // Writable again, the same window edits it.
    window.show();
    EXPECT_TRUE(window.action(Button::Insert)->isEnabled());
    EXPECT_TRUE(window.model()->flags(window.model()->index(0, 1)) & Qt::ItemIsEditable);
    window.close();
}

} // namespace
