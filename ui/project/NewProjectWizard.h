#pragma once
// "New project": the wizard that describes a translation project and writes
// its project file.
#include "model/ProjectFile.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lingrove::ui {

class CreateTableDialog;
class ProjectFeature;

class NewProjectWizard : public QDialog {
    Q_OBJECT

public:
    NewProjectWizard(ProjectFeature& project, QWidget* parent);

    QLineEdit* nameField = nullptr;            // Project name
    QLineEdit* folderField = nullptr;   // folder of the project file
    QToolButton* folderButton = nullptr;
    QLineEdit* projectSourceField = nullptr;    // the .dpr
    QToolButton* projectSourceButton = nullptr;
    QLineEdit* sourceLanguageField = nullptr;            // Source language
    QLineEdit* destLanguageField = nullptr;            // Destination language
    QComboBox* tableCombo = nullptr;        // dictionary table
    QPushButton* createTableButton = nullptr;   // Create new table
    QPushButton* createButton = nullptr;        // C&reate
    QPushButton* cancelButton = nullptr;        // &Cancel

    model::NewProjectFields fields() const;

    // The dictionary tables into the list, the first one chosen.
    void showTableNameFromItsStart();
    void fillTables();
    // "Create new table": the create-table dialog proposes
    // "<source>_<destination>"; a table made there is chosen.
    void createTable();
    CreateTableDialog& createTableDialog();
    // C&reate: validates, writes the file, opens the project. False when it
    // stopped (the user has been told why).
    bool create();

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProjectFeature& project_;
    CreateTableDialog* createTableDialog_ = nullptr;
};

} // namespace lingrove::ui
