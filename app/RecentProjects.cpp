#include "app/RecentProjects.h"

#include "app/MainWindow.h"
#include "platform/FileUtil.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::app {

RecentProjectsDialog::RecentProjectsDialog(MainWindow* main)
    : QDialog(main)
    , main_(main)
{
    setObjectName("MRUForm");
    setWindowTitle("Projects");
    setModal(true);
    setFixedSize(569, 245);
    auto* v = new QVBoxLayout(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    v->addWidget(ListBox1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn2 = new QPushButton("&Cancel", this);
    BitBtn1 = new QPushButton("&OK", this);
    BitBtn1->setDefault(true);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    v->addLayout(buttons);

    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { ListBox1DblClick(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
}

QStringList RecentProjectsDialog::entries() const
{
    QStringList list;
    for (int i = 0; i < ListBox1->count(); ++i)
        list << ListBox1->item(i)->text();
    return list;
}

void RecentProjectsDialog::setEntries(const QStringList& entries)
{
    ListBox1->clear();
    ListBox1->addItems(entries);
}

void RecentProjectsDialog::AddRecentProject(const QString& path)
{
    if (entries().contains(path, Qt::CaseSensitive))
        return;
    if (ListBox1->count() < 10) {
        ListBox1->addItem(path);
        return;
    }
    delete ListBox1->takeItem(ListBox1->count() - 1);
    ListBox1->insertItem(0, path);
}

void RecentProjectsDialog::loadFile(const QString& path)
{
    QByteArray bytes;
    if (platform::readFile(path, bytes) != platform::ReadResult::Read)
        return;
    QStringList lines = QString::fromUtf8(bytes).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    setEntries(lines);
}

bool RecentProjectsDialog::saveFile(const QString& path, QString* why) const
{
    QByteArray text;
    for (const QString& e : entries())
        text += e.toUtf8() + "\r\n";
    QString reason;
    if (!platform::writeFileAtomically(path, text, &reason)) {
        if (why)
            *why = reason;
        return false;
    }
    return true;
}

void RecentProjectsDialog::ListBox1DblClick()
{
    if (ListBox1->count() == 0 || !ListBox1->currentItem() || !ListBox1->currentItem()->isSelected())
        return;
    const QString path = ListBox1->currentItem()->text();
    accept();
    main_->OpenProjectFile(path);
}

} // namespace lingrove::app
