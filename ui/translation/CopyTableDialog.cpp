#include "ui/translation/CopyTableDialog.h"

#include "model/TableCopy.h"
#include "ui/shell/UserInterface.h"
#include "ui/shell/WaitCursor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lingrove::ui {

CopyTableDialog::CopyTableDialog(
    const model::DictionaryLocation& from, const QString& name, const model::DictionaryServer& server, QWidget* parent)
    : QDialog(parent)
    , server_(server)
{
    setObjectName(QStringLiteral("CopyTableDialog"));
    setWindowTitle(QStringLiteral("Copy table"));
    auto* what = new QLabel(QStringLiteral("Copy the table \"%1\" on %2 to:").arg(name, from.describe()), this);
    what->setWordWrap(true);
    targetPlace = new QComboBox(this);
    targetPlace->setObjectName(QStringLiteral("targetPlace"));
    targetPlace->addItem(QStringLiteral("This computer (SQLite)"));
    targetPlace->addItem(QStringLiteral("Server (PostgreSQL) %1").arg(server.describe()));
    // Across by default: to the server from here, here from the server.
    targetPlace->setCurrentIndex(from.isServer() ? 0 : 1);
    targetName = new QLineEdit(name, this);
    targetName->setObjectName(QStringLiteral("targetName"));
    auto* note = new QLabel(QStringLiteral("A new table gets every record as it is. Into an existing table the "
                                           "records are merged: no stored translation is replaced."),
        this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Copy"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Place"), targetPlace);
    form->addRow(QStringLiteral("&Name"), targetName);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

model::DictionaryLocation CopyTableDialog::target() const
{
    return targetPlace->currentIndex() == 1 ? model::DictionaryLocation::onServer(server_)
                                            : model::DictionaryLocation::local();
}

bool copyTableInteractively(
    QWidget* parent, const model::DictionaryLocation& from, const QString& name, const model::DictionaryServer& server)
{
    if (name.isEmpty()) {
        ui().message(parent, QStringLiteral("No table is open to copy."), BoxKind::Information);
        return false;
    }
    CopyTableDialog dialog(from, name, server, parent);
    if (ui().exec(dialog) != QDialog::Accepted)
        return false;
    const model::DictionaryLocation to = dialog.target();
    const QString toName = dialog.targetName->text().trimmed();
    model::CopyReport report;
    QString error;
    bool copied = false;
    {
        const WaitCursor wait;
        copied = model::copyTable(from, name, to, toName, &report, &error);
    }
    if (!copied) {
        ui().message(parent, error, BoxKind::Error);
        return false;
    }
    const QString records = QStringLiteral("%1 %2").arg(report.records).arg(report.records == 1 ? "record" : "records");
    if (report.created)
        ui().message(
            parent, QStringLiteral("Copied %1 into the new table \"%2\" on %3.").arg(records, toName, to.describe()));
    else
        ui().message(parent,
            QStringLiteral("Merged %1 into the table \"%2\" on %3: %4 added, %5 updated, %6 with "
                           "translations that did not fit.")
                .arg(records, toName, to.describe())
                .arg(report.added)
                .arg(report.updated)
                .arg(report.conflicting));
    return true;
}

} // namespace lingrove::ui
