#pragma once
// "New project": the wizard that describes a translation project and writes
// its project file.
#include "app/ProjectFile.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lingrove::app {

class MainWindow;

class NewProjectWizard : public QDialog {
    Q_OBJECT

public:
    explicit NewProjectWizard(MainWindow* main);

    QLineEdit* Edit1 = nullptr;            // Project name
    QLineEdit* DirectoryEdit1 = nullptr;   // folder of the project file
    QToolButton* DirectoryButton = nullptr;
    QLineEdit* FilenameEdit1 = nullptr;    // the .dpr
    QToolButton* FilenameButton = nullptr;
    QLineEdit* Edit3 = nullptr;            // Source language
    QLineEdit* Edit4 = nullptr;            // Destination language
    QComboBox* ComboBox1 = nullptr;        // dictionary table
    QPushButton* SpeedButton1 = nullptr;   // Create new table
    QPushButton* BitBtn1 = nullptr;        // C&reate
    QPushButton* BitBtn2 = nullptr;        // &Cancel

    // Set by the dictionary side: the table names, and the create-table
    // dialog (it proposes a name and puts the new one into ComboBox1).
    std::function<QStringList()> listTables;
    std::function<void(NewProjectWizard&)> createTable;

    NewProjectFields fields() const;

    void Tabellen();
    void SpeedButton1Click();
    // C&reate: validates, writes the file, opens the project. False when it
    // stopped (the user has been told why).
    bool CreateProject();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MainWindow* main_;
};

} // namespace lingrove::app
