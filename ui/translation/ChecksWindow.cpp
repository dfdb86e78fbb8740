#include "ui/translation/ChecksWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <QSet>

#include <algorithm>
#include <functional>

namespace lingrove::ui {

namespace {

enum Column { PageColumn, LineColumn, TextColumn, WarningColumn };

// The list: Enter on a row steps to it, as a double click does.
class CheckList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(int)> onEnter;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()
            && onEnter) {
            onEnter(currentIndex().row());
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
};

} // namespace

QString hintText(const CheckItem& item)
{
    return QStringLiteral("%1 line %2: %3").arg(item.page).arg(item.line).arg(item.warning.message);
}

ChecksWindow::ChecksWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool)
{
    setObjectName(QStringLiteral("ChecksWindow"));
    setWindowTitle(QStringLiteral("Checks"));

    auto* list = new CheckList(this);
    list->onEnter = [this](int row) { activate(row); };
    list_ = list;
    list_->setObjectName(QStringLiteral("CheckList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Page"), QStringLiteral("Line"), QStringLiteral("Translation"),
                            QStringLiteral("Warning")});
    list_->setColumnWidth(PageColumn, 110);
    list_->setColumnWidth(LineColumn, 40);
    list_->setColumnWidth(TextColumn, 140);
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { activate(list_->indexOfTopLevelItem(item)); });

    previous_ = new QPushButton(QStringLiteral("&Previous"), this);
    next_ = new QPushButton(QStringLiteral("&Next"), this);
    clear_ = new QPushButton(QStringLiteral("C&lear"), this);
    previous_->setObjectName(QStringLiteral("PreviousCheck"));
    next_->setObjectName(QStringLiteral("NextCheck"));
    clear_->setObjectName(QStringLiteral("ClearChecks"));
    previous_->setToolTip(QStringLiteral("Locate the entry of the previous warning"));
    next_->setToolTip(QStringLiteral("Locate the entry of the next warning"));
    status_ = new QLabel(this);
    connect(previous_, &QPushButton::clicked, this, [this] { previous(); });
    connect(next_, &QPushButton::clicked, this, [this] { next(); });
    connect(clear_, &QPushButton::clicked, this, [this] { clear(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    buttons->addWidget(clear_);
    buttons->addWidget(status_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    resize(720, 260);
    rebuild(-1);
}

void ChecksWindow::setWarnings(const CheckedLiteral& literal)
{
    const auto same = [&](const CheckItem& item) {
        return item.page == literal.page && item.line == literal.line && item.column == literal.column;
    };
    // The warnings of a literal committed again take the place of its old ones.
    const int current = currentRow();
    const int at = int(std::distance(items_.begin(), std::find_if(items_.begin(), items_.end(), same)));
    const int removed = int(std::erase_if(items_, same));
    std::vector<CheckItem> added;
    for (const model::CheckWarning& w : literal.warnings)
        added.push_back(CheckItem{literal.page, literal.line, literal.column, literal.source, literal.translation, w});
    items_.insert(items_.begin() + std::min(at, int(items_.size())), added.begin(), added.end());
    // Stepping goes on from where it was: from the literal's place when the
    // current row was one of its warnings.
    int keep = current;
    if (current >= at && current < at + removed)
        keep = added.empty() ? at - 1 : at;
    else if (current >= at + removed)
        keep = current - removed + int(added.size());
    rebuild(keep);
}

void ChecksWindow::setWarnings(const std::vector<CheckedLiteral>& literals)
{
    QSet<QString> places;
    const auto place = [](const QString& page, int line, int column) {
        return QStringLiteral("%1|%2|%3").arg(page).arg(line).arg(column);
    };
    for (const CheckedLiteral& l : literals)
        places.insert(place(l.page, l.line, l.column));
    std::erase_if(items_, [&](const CheckItem& item) { return places.contains(place(item.page, item.line, item.column)); });
    for (const CheckedLiteral& l : literals)
        for (const model::CheckWarning& w : l.warnings)
            items_.push_back(CheckItem{l.page, l.line, l.column, l.source, l.translation, w});
    rebuild(currentRow());
}

void ChecksWindow::forget(const QString& page, int line, int column)
{
    setWarnings(CheckedLiteral{page, line, column, {}, {}, {}});
}

void ChecksWindow::clear()
{
    items_.clear();
    rebuild(-1);
}

int ChecksWindow::currentRow() const
{
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ChecksWindow::rebuild(int keepRow)
{
    list_->clear();
    QList<QTreeWidgetItem*> rows;
    for (const CheckItem& item : items_) {
        auto* row = new QTreeWidgetItem({item.page, QString::number(item.line), item.translation,
                                         item.warning.message});
        row->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
        row->setToolTip(WarningColumn, item.warning.message);
        row->setToolTip(TextColumn, QStringLiteral("%1\n\u2192 %2").arg(item.source, item.translation));
        rows << row;
    }
    list_->addTopLevelItems(rows);
    if (keepRow >= 0 && !items_.empty())
        list_->setCurrentItem(list_->topLevelItem(std::min(keepRow, int(items_.size()) - 1)));
    else
        list_->setCurrentItem(nullptr);
    const int n = int(items_.size());
    status_->setText(n == 0 ? QStringLiteral("No warnings") : n == 1 ? QStringLiteral("1 warning")
                                                                     : QStringLiteral("%1 warnings").arg(n));
    previous_->setEnabled(n > 0);
    next_->setEnabled(n > 0);
    clear_->setEnabled(n > 0);
    emit countChanged(n);
}

void ChecksWindow::activate(int row)
{
    if (row < 0 || row >= int(items_.size()))
        return;
    list_->setCurrentItem(list_->topLevelItem(row));
    // A copy: showing the item may commit nothing, but the list may change.
    const CheckItem item = items_[std::size_t(row)];
    emit showItem(item);
}

void ChecksWindow::next()
{
    if (items_.empty())
        return;
    const int row = currentRow();
    activate(row < 0 || row + 1 >= int(items_.size()) ? (row < 0 ? 0 : row) : row + 1);
}

void ChecksWindow::previous()
{
    if (items_.empty())
        return;
    const int row = currentRow();
    activate(row <= 0 ? 0 : row - 1);
}

void ChecksWindow::showAndRaise()
{
    show();
    raise();
}

} // namespace lingrove::ui
