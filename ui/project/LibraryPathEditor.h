#pragma once
// The editor "Edit library path": edits the options dialog's "Library path"
// field one folder per line.
#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace lingrove::ui {

// The editor of the library path, 543 x 286. It reads and writes the line
// edit given at construction (the options dialog's "Library path").
class LibraryPathEditor : public QDialog {
    Q_OBJECT

public:
    explicit LibraryPathEditor(QLineEdit* pathField, QWidget* parent = nullptr);

    QListWidget* lineList = nullptr;
    QPushButton* addButton = nullptr;   // "Add"
    QPushButton* removeButton = nullptr;   // "Remove"
    QPushButton* editButton = nullptr;   // "Edit"
    QPushButton* cancelButton = nullptr;   // "&Cancel"
    QPushButton* okButton = nullptr;   // "&OK"

    // Rebuilds the list from the path field. Run before every showing.
    void fill();
    // A line was picked: "Remove" and "Edit" become usable.
    void lineClicked();
    // "Add": the folder of a file the user picks, unless already listed.
    void addFolder();
    // "Remove": the selected line.
    void removeLine();
    // "Edit": the selected line through an input box.
    void editLine();
    // "&OK": the lines joined back into the path field (left alone when
    // the list is empty), then close.
    void acceptLines();

    QStringList lines() const;
    // The selected row, or -1.
    int selectedRow() const;

private:
    void disableLineButtons();
    void clearSelection();

    QLineEdit* pathField_;
    bool filling_ = false;   // the list is changed by the program, not by a click
};

} // namespace lingrove::ui
