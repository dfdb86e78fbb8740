#pragma once
// The resource-script viewer: a read-only view of a script file.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace lingrove::ui {

class ScriptViewer : public QDialog {
    Q_OBJECT
public:
    explicit ScriptViewer(QWidget* parent = nullptr);

    // Clears the view and loads the file (8-bit Windows text). False, with
    // the reason, when it cannot be read; the view then stays empty.
    bool loadFile(const QString& path, QString* why = nullptr);
    // "Copy to clip&board": the whole text to the clipboard.
    void copyToClipboard();

    QPlainTextEdit* view = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* closeButton = nullptr;
};

// Loads the script into a viewer and shows it modally; a file that cannot be
// read is reported in the error box and nothing is shown.
void viewResourceScript(QWidget* parent, const QString& path);

} // namespace lingrove::ui
