#include "ui/project/LibraryPathEditor.h"

#include "model/LibraryPath.h"
#include "platform/Paths.h"
#include "ui/shell/UserInterface.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::ui {

LibraryPathEditor::LibraryPathEditor(QLineEdit* pathField, QWidget* parent)
    : QDialog(parent), pathField_(pathField)
{
    setObjectName("LPathEdit");
    setWindowTitle("Edit library path");
    setFixedSize(543, 286);

    lineList = new QListWidget(this);
    lineList->setObjectName("lineList");
    lineList->setSelectionMode(QAbstractItemView::SingleSelection);
    lineList->setFixedWidth(409);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    addButton = button("addButton", "Add");
    removeButton = button("removeButton", "Remove");
    editButton = button("editButton", "Edit");
    cancelButton = button("cancelButton", "&Cancel");
    okButton = button("okButton", "&OK");
    removeButton->setEnabled(false);
    editButton->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(addButton);
    side->addWidget(removeButton);
    side->addWidget(editButton);
    side->addStretch(1);
    side->addWidget(cancelButton);
    side->addWidget(okButton);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(lineList);
    layout->addLayout(side);

    connect(lineList, &QListWidget::itemClicked, this, [this] { lineClicked(); });
    // Moving through the list with the keyboard picks a line as a click does.
    connect(lineList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0)
            lineClicked();
    });
    connect(addButton, &QPushButton::clicked, this, [this] { addFolder(); });
    connect(removeButton, &QPushButton::clicked, this, [this] { removeLine(); });
    connect(editButton, &QPushButton::clicked, this, [this] { editLine(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(okButton, &QPushButton::clicked, this, [this] { acceptLines(); });
}

void LibraryPathEditor::fill()
{
    filling_ = true;
    lineList->clear();
    lineList->addItems(model::splitLibraryPath(pathField_->text()));
    clearSelection();
    filling_ = false;
    disableLineButtons();
}

void LibraryPathEditor::lineClicked()
{
    removeButton->setEnabled(true);
    editButton->setEnabled(true);
}

void LibraryPathEditor::addFolder()
{
    const auto chosen = ui().openFile(this, "Open", "All files|*.*", QString());
    if (!chosen || chosen->isEmpty())
        return;
    // The folder of the file, without a trailing separator except for a root.
    const QString folder = platform::folderOf(*chosen);
    if (lines().contains(folder, Qt::CaseSensitive))
        return;
    filling_ = true;
    lineList->addItem(folder);
    filling_ = false;
}

void LibraryPathEditor::removeLine()
{
    const int row = selectedRow();
    if (row >= 0) {
        filling_ = true;
        delete lineList->takeItem(row);
        clearSelection();
        filling_ = false;
    }
    disableLineButtons();
}

void LibraryPathEditor::editLine()
{
    const int row = selectedRow();
    if (row >= 0) {
        QListWidgetItem* item = lineList->item(row);
        const auto entered =
            ui().inputBox(this, "New path", "Set a new path", item->text());
        if (entered)
            item->setText(*entered);
    }
    disableLineButtons();
}

void LibraryPathEditor::acceptLines()
{
    if (lineList->count() > 0)
        pathField_->setText(model::joinLibraryPath(lines()));
    accept();
}

QStringList LibraryPathEditor::lines() const
{
    QStringList result;
    result.reserve(lineList->count());
    for (int i = 0; i < lineList->count(); ++i)
        result << lineList->item(i)->text();
    return result;
}

int LibraryPathEditor::selectedRow() const
{
    const QListWidgetItem* item = lineList->currentItem();
    return item && item->isSelected() ? lineList->row(item) : -1;
}

void LibraryPathEditor::disableLineButtons()
{
    removeButton->setEnabled(false);
    editButton->setEnabled(false);
}

void LibraryPathEditor::clearSelection()
{
    lineList->setCurrentRow(-1);
    lineList->clearSelection();
}

} // namespace lingrove::ui
