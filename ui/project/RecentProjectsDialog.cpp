#include "ui/project/RecentProjectsDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::ui {

RecentProjectsDialog::RecentProjectsDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MRUForm"));
    setWindowTitle(QStringLiteral("Projects"));
    setModal(true);
    setFixedSize(569, 245);
    auto* v = new QVBoxLayout(this);
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("ListBox1"));
    v->addWidget(list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setDefault(true);
    buttons->addWidget(cancelButton);
    buttons->addWidget(okButton);
    v->addLayout(buttons);

    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(okButton, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { openSelected(); });
}

void RecentProjectsDialog::setEntries(const QStringList& entries)
{
    list->clear();
    list->addItems(entries);
}

QStringList RecentProjectsDialog::entries() const
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    return all;
}

void RecentProjectsDialog::showEvent(QShowEvent* event)
{
    chosen_.clear();
    QDialog::showEvent(event);
}

void RecentProjectsDialog::openSelected()
{
    if (list->count() == 0 || !list->currentItem() || !list->currentItem()->isSelected())
        return;
    chosen_ = list->currentItem()->text();
    accept();
}

} // namespace lingrove::ui
