#pragma once
// The window "Dictionary": edits one dictionary table at a time in a grid.
// The label "Select table" with the list of the tables of the dictionary
// folder, below it a navigator bar (first, prior, next, last, insert,
// delete, edit, post, cancel, refresh), the grid with sortable columns, and
// a status bar.
// The window is not modal and has its own connection, separate from the
// working table. The grid reads the table a page at a time (see
// model::DictionaryTableModel), so tables of a million records page, sort
// and jump at once. Edits are posted when the user leaves the edited row or
// presses Post, before sorting, before another table is opened and when the
// window is closed. A table that cannot be written is shown read-only.
#include "model/Dictionary.h"
#include "model/DictionaryTableModel.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QLabel;
class QTableView;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class DictionaryWindow : public QMainWindow {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

    // Opens the project's table of workspace when shown.
    explicit DictionaryWindow(const model::Workspace& workspace, QWidget* parent = nullptr);
    ~DictionaryWindow() override;

    // Show the window, or bring it to the front when it is shown already.
    void showAndRaise();

    // Fill the list with the tables of the dictionary folder.
    void fillTableList();
    // Close the open table (posting pending edits) and open name. A table
    // that cannot be opened is reported; the grid is then empty.
    bool openTable(const QString& name);
    void closeTable();
    QString tableName() const { return table_.name(); }

    // Post pending edits; reports and keeps them when the database refuses.
    bool post();
    void cancel();

    QComboBox* tableList() const { return tableList_; }
    QTableView* grid() const { return grid_; }
    model::DictionaryTableModel* model() const { return model_; }
    QAction* action(Button button) const;
    // Table > Copy table (ui/translation/CopyTableDialog.h).
    QAction* copyTableAction() const { return copyTableAction_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void navigate(Button button);
    void insertRecord();
    void deleteRecord();
    void refresh();
    void dropUntouchedInsert();
    void updateActions();
    void updateStatus(const QString& message = {});
    void reportError(const QString& text);

    const model::Workspace& workspace_;
    model::TableConnection table_;
    model::DictionaryTableModel* model_ = nullptr;
    QComboBox* tableList_;
    QTableView* grid_;
    QLabel* statusLabel_;
    QList<QAction*> actions_;
    QAction* copyTableAction_ = nullptr;
};

} // namespace lingrove::ui
