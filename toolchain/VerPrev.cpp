#include "toolchain/VerPrev.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lingrove::toolchain {

TVerPrev::TVerPrev(QWidget* parent) : QDialog(parent)
{
    setObjectName("VerPrev");
    setWindowTitle("Preview");
    resize(491, 541);
    auto* outer = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    outer->addWidget(tabs, 1);
    auto* page = new QWidget(tabs);
    tabs->addTab(page, "Version");
    auto* l = new QVBoxLayout(page);
    auto* top = new QFormLayout;
    FileVersionValue = new QLabel(page);
    FileDescriptionValue = new QLabel(page);
    LegalCopyrightValue = new QLabel(page);
    top->addRow("File version", FileVersionValue);
    top->addRow("File description", FileDescriptionValue);
    top->addRow("Legal copyright", LegalCopyrightValue);
    l->addLayout(top);
    auto* group = new QGroupBox("String info", page);
    auto* gl = new QHBoxLayout(group);
    ListBox1 = new QListWidget(group);
    ListBox1->addItems({"Private build", "Company name", "Internal name", "Comments", "Legal trademark",
                        "Original filename", "Product version", "Language"});
    Edit1 = new QLineEdit(group);
    Edit1->setReadOnly(true);
    gl->addWidget(ListBox1);
    gl->addWidget(Edit1, 1, Qt::AlignTop);
    l->addWidget(group, 1);
    CloseButton = new QPushButton("Close", this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(CloseButton);
    outer->addLayout(bottom);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TVerPrev::ListBox1Click);
}

void TVerPrev::setStrings(const QStringList& strings)
{
    strings_ = strings;
    while (strings_.size() < 11)
        strings_.append(QString());
    FileVersionValue->setText(strings_[0]);
    FileDescriptionValue->setText(strings_[1]);
    LegalCopyrightValue->setText(strings_[2]);
    ListBox1->setCurrentRow(0);
    ListBox1Click(0);
}

void TVerPrev::ListBox1Click(int row)
{
    if (row >= 0 && row + 3 < strings_.size())
        Edit1->setText(strings_[row + 3]);
}

} // namespace lingrove::toolchain
