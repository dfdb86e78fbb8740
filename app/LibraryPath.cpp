#include "app/LibraryPath.h"

#include "app/DelphiInstallation.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::app {

LibraryPath GetDelphiLibraryPath(quint8 version)
{
    LibraryPath result;
    const platform::KeyStore store;
    const QString key = delphi::libraryKey(version);
    if (!store.keyExists(key))
        return result;
    result.SearchPath = store.readString(key, "SearchPath");
    result.UnitAliases = store.readString(key, "UnitAliases");
    return result;
}

QStringList splitLibraryPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    return path.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

QString joinLibraryPath(const QStringList& lines)
{
    return lines.join(QLatin1Char(';'));
}

LibraryPathEditor::LibraryPathEditor(QLineEdit* pathField, QWidget* parent)
    : QDialog(parent), pathField_(pathField)
{
    setObjectName("LPathEdit");
    setWindowTitle("Edit library path");
    setFixedSize(543, 286);

    TextListBox1 = new QListWidget(this);
    TextListBox1->setObjectName("TextListBox1");
    TextListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    TextListBox1->setFixedWidth(409);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button("BitBtn1", "Add");
    BitBtn2 = button("BitBtn2", "Remove");
    BitBtn3 = button("BitBtn3", "Edit");
    BitBtn4 = button("BitBtn4", "&Cancel");
    BitBtn5 = button("BitBtn5", "&OK");
    BitBtn2->setEnabled(false);
    BitBtn3->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(BitBtn1);
    side->addWidget(BitBtn2);
    side->addWidget(BitBtn3);
    side->addStretch(1);
    side->addWidget(BitBtn4);
    side->addWidget(BitBtn5);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(TextListBox1);
    layout->addLayout(side);

    connect(TextListBox1, &QListWidget::itemClicked, this, [this] { TextListBox1Click(); });
    // Moving through the list with the keyboard picks a line as a click does.
    connect(TextListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0)
            TextListBox1Click();
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
}

void LibraryPathEditor::FormShow()
{
    filling_ = true;
    TextListBox1->clear();
    TextListBox1->addItems(splitLibraryPath(pathField_->text()));
    clearSelection();
    filling_ = false;
    disableLineButtons();
}

void LibraryPathEditor::TextListBox1Click()
{
    BitBtn2->setEnabled(true);
    BitBtn3->setEnabled(true);
}

void LibraryPathEditor::BitBtn1Click()
{
    const auto chosen = platform::ui().openFile(this, "Open", "All files|*.*", QString());
    if (!chosen || chosen->isEmpty())
        return;
    // The folder of the file, without a trailing separator except for a root.
    const QString folder = platform::folderOf(*chosen);
    if (lines().contains(folder, Qt::CaseSensitive))
        return;
    filling_ = true;
    TextListBox1->addItem(folder);
    filling_ = false;
}

void LibraryPathEditor::BitBtn2Click()
{
    const int row = selectedRow();
    if (row >= 0) {
        filling_ = true;
        delete TextListBox1->takeItem(row);
        clearSelection();
        filling_ = false;
    }
    disableLineButtons();
}

void LibraryPathEditor::BitBtn3Click()
{
    const int row = selectedRow();
    if (row >= 0) {
        QListWidgetItem* item = TextListBox1->item(row);
        const auto entered =
            platform::ui().inputBox(this, "New path", "Set a new path", item->text());
        if (entered)
            item->setText(*entered);
    }
    disableLineButtons();
}

void LibraryPathEditor::BitBtn5Click()
{
    if (TextListBox1->count() > 0)
        pathField_->setText(joinLibraryPath(lines()));
    accept();
}

QStringList LibraryPathEditor::lines() const
{
    QStringList result;
    result.reserve(TextListBox1->count());
    for (int i = 0; i < TextListBox1->count(); ++i)
        result << TextListBox1->item(i)->text();
    return result;
}

int LibraryPathEditor::selectedRow() const
{
    const QListWidgetItem* item = TextListBox1->currentItem();
    return item && item->isSelected() ? TextListBox1->row(item) : -1;
}

void LibraryPathEditor::disableLineButtons()
{
    BitBtn2->setEnabled(false);
    BitBtn3->setEnabled(false);
}

void LibraryPathEditor::clearSelection()
{
    TextListBox1->setCurrentRow(-1);
    TextListBox1->clearSelection();
}

} // namespace lingrove::app
