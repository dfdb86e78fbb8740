#include "ui/translation/DictionaryWindow.h"

#include "model/Workspace.h"
#include "ui/translation/CopyTableDialog.h"
#include "ui/shell/UserInterface.h"
#include "ui/shell/WaitCursor.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMetaProperty>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <functional>

namespace lingrove::ui {

namespace {

// The grid's model: posts pending edits before a sort re-reads the table.
class DictionaryModel : public model::DictionaryTableModel {
public:
    DictionaryModel(const QSqlDatabase& db, model::GridTable where, QObject* parent, std::function<void()> beforeSort)
        : DictionaryTableModel(db, std::move(where), parent)
        , beforeSort_(std::move(beforeSort))
    {
    }

    void sort(int column, Qt::SortOrder order) override
    {
        beforeSort_();
        DictionaryTableModel::sort(column, order);
    }

private:
    std::function<void()> beforeSort_;
};

// The grid: can hand an open cell editor's text to the model, so that Post
// and closing the window do not lose what is being typed.
class DictionaryGrid : public QTableView {
public:
    using QTableView::QTableView;

    void commitOpenEditor()
    {
        if (state() != EditingState)
            return;
        // The cell editor is the viewport's child that holds the focus.
        QWidget* editor = viewport()->focusWidget();
        while (editor && editor->parentWidget() != viewport())
            editor = editor->parentWidget();
        const QModelIndex index = currentIndex();
        if (!editor || !index.isValid())
            return;
        // An editor opened and left unchanged does not mark the record as
        // modified.
        const QMetaProperty user = editor->metaObject()->userProperty();
        const bool changed = !user.isValid()
            || user.read(editor).toString() != index.data(Qt::EditRole).toString();
        if (changed)
            commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
};

struct ButtonInfo {
    DictionaryWindow::Button button;
    const char* text;
    const char* hint;
};

constexpr ButtonInfo kButtons[] = {
    {DictionaryWindow::Button::First, "First", "First record"},
    {DictionaryWindow::Button::Prior, "Prior", "Prior record"},
    {DictionaryWindow::Button::Next, "Next", "Next record"},
    {DictionaryWindow::Button::Last, "Last", "Last record"},
    {DictionaryWindow::Button::Insert, "Insert", "Insert record"},
    {DictionaryWindow::Button::Delete, "Delete", "Delete record"},
    {DictionaryWindow::Button::Edit, "Edit", "Edit record"},
    {DictionaryWindow::Button::Post, "Post", "Post edit"},
    {DictionaryWindow::Button::Cancel, "Cancel", "Cancel edit"},
    {DictionaryWindow::Button::Refresh, "Refresh", "Refresh data"},
};

// Average characters per column shown at most, whatever the field size.
constexpr int kMaxColumnChars = 40;

} // namespace

DictionaryWindow::DictionaryWindow(const model::Workspace& workspace, QWidget* parent)
    : QMainWindow(parent)
    , workspace_(workspace)
    , tableList_(new QComboBox(this))
    , grid_(new DictionaryGrid(this))
    , statusLabel_(new QLabel(this))
{
    setObjectName(QStringLiteral("DataEditForm"));
    setWindowTitle(QStringLiteral("Dictionary"));
    // A window of its own even when it has a parent; never modal.
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::NonModal);

    // The table list on a row of its own above the navigator: beside the
    // ten buttons it would not fit the window and be folded away.
    auto* tableBar = addToolBar(QStringLiteral("Table"));
    tableBar->setObjectName(QStringLiteral("TableBar"));
    tableBar->setMovable(false);
    auto* label = new QLabel(QStringLiteral("Select table"), tableBar);
    label->setBuddy(tableList_);
    label->setContentsMargins(4, 0, 6, 0);
    tableBar->addWidget(label);
    tableList_->setObjectName(QStringLiteral("ComboBox1"));
    tableList_->setEditable(false);
    tableList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    tableList_->setMinimumContentsLength(16);
    tableBar->addWidget(tableList_);
    addToolBarBreak();

    auto* bar = addToolBar(QStringLiteral("Navigator"));
    bar->setObjectName(QStringLiteral("DBNavigator1"));
    bar->setMovable(false);
    for (const ButtonInfo& info : kButtons) {
        QAction* action = bar->addAction(QString::fromLatin1(info.text));
        action->setToolTip(QString::fromLatin1(info.hint));
        const Button button = info.button;
        connect(action, &QAction::triggered, this, [this, button] { navigate(button); });
        actions_ << action;
    }
    connect(tableList_, &QComboBox::activated, this, [this](int index) {
        const QString name = tableList_->itemText(index);
        if (name != table_.name() || !model_)
            openTable(name);
    });

    // Copying the table between this computer and the dictionary server.
    copyTableAction_ = menuBar()->addMenu(QStringLiteral("&Table"))->addAction(QStringLiteral("&Copy table..."));
    copyTableAction_->setObjectName(QStringLiteral("CopyTable"));
    connect(copyTableAction_, &QAction::triggered, this, [this] {
        const model::DictionaryServer& server = workspace_.settings().dictionary.server;
        if (post() && copyTableInteractively(this, table_.location(), table_.name(), server))
            fillTableList();
    });

    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setSortingEnabled(true);
    grid_->horizontalHeader()->setSortIndicatorShown(true);
    setCentralWidget(grid_);

    statusBar()->addWidget(statusLabel_, 1);
    resize(640, 400);
    updateStatus();
}

DictionaryWindow::~DictionaryWindow()
{
    // Drop the model before the connection it uses.
    grid_->setModel(nullptr);
    delete model_;
    model_ = nullptr;
}

QAction* DictionaryWindow::action(Button button) const
{
    return actions_.value(int(button));
}

void DictionaryWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void DictionaryWindow::fillTableList()
{
    tableList_->clear();
    tableList_->addItems(model::listTables());
}

bool DictionaryWindow::openTable(const QString& name)
{
    closeTable();
    const int at = tableList_->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    tableList_->setCurrentIndex(at);

    QString error;
    if (!table_.open(name, &error)) {
        reportError(error);
        return false;
    }
    if (!table_.isReadOnly()) {
        // Tables made before the sort indexes get them now (once, taking a
        // while on a large table); without them sorts are only slower.
        WaitCursor wait;
        model::ensureSortIndexes(table_);
    }
    // Posting is ours: on leaving an edited row, on Post, before sorting and
    // on closing (see post()).
    auto* model = new DictionaryModel(table_.database(), table_.gridTable(), this, [this] { post(); });
    model->setReadOnly(table_.isReadOnly());
    if (!model->select()) {
        const QString why = model->lastError();
        delete model;
        table_.close();
        reportError(QStringLiteral("Cannot read the table \"%1\": %2").arg(name, why));
        return false;
    }
    model_ = model;
    QItemSelectionModel* oldSelection = grid_->selectionModel();
    grid_->setModel(model_);
    delete oldSelection;
    {
        // A table opens in the order its records were added: no column
        // title shows a sort until one is clicked.
        const QSignalBlocker quiet(grid_->horizontalHeader());
        grid_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    }
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                // Only leaving a changed row posts: entering the row just
                // inserted must not post (and so drop) it.
                if (!previous.isValid() || !model_ || !model_->isRowDirty(previous.row()))
                    return;
                // Posting re-reads the table, which must not happen inside
                // the view's own change of the current row.
                QMetaObject::invokeMethod(this, [this] { post(); }, Qt::QueuedConnection);
            });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { updateStatus(); });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { updateStatus(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { updateStatus(); });
    connect(model_, &model::DictionaryTableModel::readFailed, this, [this](const QString& why) { updateStatus(why); });

    const int charWidth = grid_->fontMetrics().averageCharWidth();
    const int columnChars = std::min(table_.fieldSize(), kMaxColumnChars);
    for (int column = 0; column < model_->columnCount(); ++column)
        grid_->horizontalHeader()->resizeSection(column, charWidth * columnChars + 8);
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, 0));
    updateActions();
    updateStatus();
    return true;
}

void DictionaryWindow::closeTable()
{
    if (model_) {
        static_cast<DictionaryGrid*>(grid_)->commitOpenEditor();
        post();
        QItemSelectionModel* oldSelection = grid_->selectionModel();
        grid_->setModel(nullptr);
        delete oldSelection;
        delete model_;
        model_ = nullptr;
    }
    table_.close();
    updateActions();
    updateStatus();
}

void DictionaryWindow::dropUntouchedInsert()
{
    // A record inserted and left without any text is abandoned, as leaving
    // an unchanged new record does in a data grid (a cell editor that was
    // only opened and closed writes an empty text).
    if (!model_)
        return;
    const int row = model_->insertedRow();
    if (row >= 0 && model_->isBlank(row))
        model_->revertRow(row);
}

bool DictionaryWindow::post()
{
    if (!model_)
        return true;
    dropUntouchedInsert();
    if (!model_->isDirty())
        return true;
    // The table is read again after posting; keep the current record.
    const QModelIndex current = grid_->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    const bool onInserted = current.isValid() && current.row() == model_->insertedRow();
    qint64 id = current.isValid() ? model_->recordId(current.row()) : -1;
    if (!model_->submitAll()) {
        reportError(model_->lastError());
        return false;
    }
    if (onInserted)
        id = model_->lastInsertedId();
    int row = model_->rowOfRecord(id);
    if (row < 0 && current.isValid())
        row = std::min(current.row(), model_->rowCount() - 1);
    if (row >= 0)
        grid_->setCurrentIndex(model_->index(row, column));
    updateStatus(QStringLiteral("Posted"));
    return true;
}

void DictionaryWindow::cancel()
{
    if (!model_)
        return;
    model_->revertAll();
    updateStatus();
}

void DictionaryWindow::refresh()
{
    if (!model_ || !post())
        return;
    const int row = grid_->currentIndex().row();
    if (!model_->select()) {
        reportError(model_->lastError());
        return;
    }
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(std::clamp(row, 0, model_->rowCount() - 1), 0));
    updateStatus();
}

void DictionaryWindow::insertRecord()
{
    if (!model_ || !post())
        return;
    const QModelIndex current = grid_->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    if (!model_->insertRow(row)) {
        reportError(model_->lastError());
        return;
    }
    grid_->setCurrentIndex(model_->index(row, 0));
    grid_->edit(model_->index(row, 0));
    updateStatus();
}

void DictionaryWindow::deleteRecord()
{
    if (!model_)
        return;
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    if (!ui().question(this, QStringLiteral("Delete record?"), BoxKind::Confirmation))
        return;
    const int row = current.row();
    if (row == model_->insertedRow()) {
        model_->revertRow(row);
    } else if (!model_->removeRow(row) || !model_->submitAll()) {
        // The record stays; other pending edits stay pending.
        reportError(model_->lastError());
        model_->revertRow(row);
        return;
    }
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), current.column()));
    updateStatus();
}

void DictionaryWindow::navigate(Button button)
{
    if (!model_)
        return;
    const QModelIndex current = grid_->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    int row = current.isValid() ? current.row() : 0;
    switch (button) {
    case Button::First:
        row = 0;
        break;
    case Button::Prior:
        row = row - 1;
        break;
    case Button::Next:
        row = row + 1;
        break;
    case Button::Last:
        row = model_->rowCount() - 1;
        break;
    case Button::Insert:
        insertRecord();
        return;
    case Button::Delete:
        deleteRecord();
        return;
    case Button::Edit:
        if (current.isValid())
            grid_->edit(current);
        return;
    case Button::Post:
        static_cast<DictionaryGrid*>(grid_)->commitOpenEditor();
        post();
        return;
    case Button::Cancel:
        cancel();
        return;
    case Button::Refresh:
        refresh();
        return;
    }
    if (model_->rowCount() == 0)
        return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    grid_->setCurrentIndex(model_->index(row, column));
}

void DictionaryWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    fillTableList();
    const QString wanted = workspace_.project().dictionaryTable;
    if (!wanted.isEmpty()) {
        openTable(wanted);
    } else if (tableList_->count() > 0) {
        openTable(tableList_->itemText(0));
    } else {
        closeTable();
    }
}

void DictionaryWindow::closeEvent(QCloseEvent* event)
{
    closeTable();
    QMainWindow::closeEvent(event);
}

void DictionaryWindow::updateStatus(const QString& message)
{
    QString text;
    if (!model_) {
        text = QStringLiteral("No table open");
    } else {
        text = QStringLiteral("%1: %2 records, field size %3")
                   .arg(table_.name())
                   .arg(model_->rowCount())
                   .arg(table_.fieldSize());
        if (model_->isReadOnly())
            text += QStringLiteral(", read-only");
    }
    if (!message.isEmpty())
        text += QStringLiteral(" - ") + message;
    statusLabel_->setText(text);
}

void DictionaryWindow::updateActions()
{
    // A read-only table can be browsed and sorted, not changed.
    const bool writable = !model_ || !model_->isReadOnly();
    for (Button button : {Button::Insert, Button::Delete, Button::Edit, Button::Post, Button::Cancel})
        action(button)->setEnabled(writable);
}

void DictionaryWindow::reportError(const QString& text)
{
    updateStatus(text);
    ui().error(this, text);
}

} // namespace lingrove::ui
