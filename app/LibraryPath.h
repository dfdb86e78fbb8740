#pragma once
// The Delphi compiler's library path: what an installed Delphi IDE keeps in
// the key store, and the editor "Edit library path" that edits the options
// dialog's "Library path" field one folder per line.
#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace lingrove::app {

struct LibraryPath {
    QString SearchPath;   // folders separated by ";"
    QString UnitAliases;  // as the IDE keeps them
};
using TLibraryPath = LibraryPath;

// Reads SearchPath and UnitAliases of "Software\Borland\Delphi\<n>.0\Library".
// A missing key or value gives an empty field; the key store is only read.
LibraryPath GetDelphiLibraryPath(quint8 version);

// A library path as lines: split at every ";", empty pieces kept (a path
// ending in ";" gives an empty last line). An empty path gives no lines.
QStringList splitLibraryPath(const QString& path);
// The lines joined with ";" between them.
QString joinLibraryPath(const QStringList& lines);

// The editor of the library path, 543 x 286. It reads and writes the line
// edit given at construction (the options dialog's "Library path").
class LibraryPathEditor : public QDialog {
    Q_OBJECT

public:
    explicit LibraryPathEditor(QLineEdit* pathField, QWidget* parent = nullptr);

    QListWidget* TextListBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;   // "Add"
    QPushButton* BitBtn2 = nullptr;   // "Remove"
    QPushButton* BitBtn3 = nullptr;   // "Edit"
    QPushButton* BitBtn4 = nullptr;   // "&Cancel"
    QPushButton* BitBtn5 = nullptr;   // "&OK"

    // Rebuilds the list from the path field. Run before every showing.
    void FormShow();
    // A line was picked: "Remove" and "Edit" become usable.
    void TextListBox1Click();
    // "Add": the folder of a file the user picks, unless already listed.
    void BitBtn1Click();
    // "Remove": the selected line.
    void BitBtn2Click();
    // "Edit": the selected line through an input box.
    void BitBtn3Click();
    // "&OK": the lines joined back into the path field (left alone when
    // the list is empty), then close.
    void BitBtn5Click();

    QStringList lines() const;
    // The selected row, or -1.
    int selectedRow() const;

private:
    void disableLineButtons();
    void clearSelection();

    QLineEdit* pathField_;
    bool filling_ = false;   // the list is changed by the program, not by a click
};
using TLPathEdit = LibraryPathEditor;

} // namespace lingrove::app
