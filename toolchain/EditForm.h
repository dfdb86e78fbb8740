#pragma once
// The resource-script viewer: a read-only view of a script file.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace lingrove::toolchain {

class TEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditForm(QWidget* parent = nullptr);

    // Clears the view and loads the file (8-bit Windows text). False, with
    // the reason, when it cannot be read; the view then stays empty.
    bool loadFile(const QString& path, QString* why = nullptr);
    // "Copy to clip&board": the whole text to the clipboard.
    void CopyClick();

    QPlainTextEdit* RichEdit1 = nullptr;
    QPushButton* CopyButton = nullptr;
    QPushButton* CloseButton = nullptr;
};

// Loads the script into a viewer and shows it modally; a file that cannot be
// read is reported in the error box and nothing is shown.
void viewResourceScript(QWidget* parent, const QString& path);

} // namespace lingrove::toolchain
