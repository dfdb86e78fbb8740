#include "ui/project/CreateTableDialog.h"

#include "ui/shell/UserInterface.h"
#include "model/Dictionary.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lingrove::ui {

CreateTableDialog::CreateTableDialog(QWidget* parent)
    : QDialog(parent)
    , nameEdit_(new QLineEdit(this))
    , sizeSpin_(new QSpinBox(this))
    , createButton_(new QPushButton(QStringLiteral("C&reate"), this))
    , cancelButton_(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setObjectName(QStringLiteral("Dbank"));
    setWindowTitle(QStringLiteral("Create translation table"));

    nameEdit_->setObjectName(QStringLiteral("Edit1"));
    sizeSpin_->setObjectName(QStringLiteral("SpinEdit1"));
    sizeSpin_->setRange(model::kMinFieldSize, model::kMaxFieldSize);
    sizeSpin_->setValue(model::kDefaultFieldSize);
    createButton_->setObjectName(QStringLiteral("BitBtn1"));
    cancelButton_->setObjectName(QStringLiteral("BitBtn2"));
    createButton_->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Database name"), nameEdit_);
    form->addRow(QStringLiteral("Fields size"), sizeSpin_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(createButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(createButton_, &QPushButton::clicked, this, &CreateTableDialog::createClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void CreateTableDialog::setProposedName(const QString& name)
{
    nameEdit_->setText(name);
    sizeSpin_->setValue(model::kDefaultFieldSize);
    createdName_.clear();
}

void CreateTableDialog::createClicked()
{
    // A value typed into the spin box but not yet confirmed counts.
    sizeSpin_->interpretText();
    const QString name = nameEdit_->text();
    QString error;
    // No folder given: where the options keep the tables (this computer or the server).
    if (!model::createTable(name, sizeSpin_->value(), &error, folder_)) {
        ui().message(this, error, BoxKind::Warning);
        nameEdit_->setFocus();
        return;
    }
    createdName_ = name;
    emit tableCreated(name);
    accept();
}

} // namespace lingrove::ui
