#include "ui/build/VersionPreview.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lingrove::ui {

VersionPreview::VersionPreview(QWidget* parent) : QDialog(parent)
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
    fileVersionValue = new QLabel(page);
    fileDescriptionValue = new QLabel(page);
    legalCopyrightValue = new QLabel(page);
    top->addRow("File version", fileVersionValue);
    top->addRow("File description", fileDescriptionValue);
    top->addRow("Legal copyright", legalCopyrightValue);
    l->addLayout(top);
    auto* group = new QGroupBox("String info", page);
    auto* gl = new QHBoxLayout(group);
    stringList = new QListWidget(group);
    stringList->addItems({"Private build", "Company name", "Internal name", "Comments", "Legal trademark",
                        "Original filename", "Product version", "Language"});
    valueField = new QLineEdit(group);
    valueField->setReadOnly(true);
    gl->addWidget(stringList);
    gl->addWidget(valueField, 1, Qt::AlignTop);
    l->addWidget(group, 1);
    closeButton = new QPushButton("Close", this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(closeButton);
    outer->addLayout(bottom);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(stringList, &QListWidget::currentRowChanged, this, &VersionPreview::showString);
}

void VersionPreview::setStrings(const QStringList& strings)
{
    strings_ = strings;
    while (strings_.size() < 11)
        strings_.append(QString());
    fileVersionValue->setText(strings_[0]);
    fileDescriptionValue->setText(strings_[1]);
    legalCopyrightValue->setText(strings_[2]);
    stringList->setCurrentRow(0);
    showString(0);
}

void VersionPreview::showString(int row)
{
    if (row >= 0 && row + 3 < strings_.size())
        valueField->setText(strings_[row + 3]);
}

} // namespace lingrove::ui
