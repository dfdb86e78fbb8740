#pragma once
// The dialog "Create translation table": a table name and a field size; the
// button "C&reate" makes the table in the dictionary folder and closes the
// dialog, "&Cancel" closes it without effect. A name that cannot be used
// (empty, bad, or the name of an existing table) is refused with a message
// and the dialog stays open.
#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lingrove::ui {

class CreateTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit CreateTableDialog(QWidget* parent = nullptr);

    // Prepare the dialog for one showing: the proposed table name in
    // "Database name", the field size back at its default.
    void setProposedName(const QString& name);

    // The name of the table made by the last "C&reate"; empty when none.
    QString createdName() const { return createdName_; }

    // The folder the tables are made in (the dictionary folder by default).
    void setFolder(const QString& folder) { folder_ = folder; }

    QLineEdit* nameEdit() const { return nameEdit_; }
    QSpinBox* sizeSpin() const { return sizeSpin_; }
    QPushButton* createButton() const { return createButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

signals:
    // A table was created; the new-project wizard refreshes its list and
    // selects the name.
    void tableCreated(const QString& name);

private:
    void createClicked();

    QLineEdit* nameEdit_;
    QSpinBox* sizeSpin_;
    QPushButton* createButton_;
    QPushButton* cancelButton_;
    QString createdName_;
    QString folder_;
};

} // namespace lingrove::ui
