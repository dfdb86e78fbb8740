#pragma once
// Export and import of the table the dictionary window shows, as TMX, PO or
// XLIFF (model/DictionaryExchange.h): the window's menu "Table" with
// "Export..." and "Import...". The format goes by the file's extension.
// Pending edits of the grid are posted first; an import is merged into the
// table (new sources added, translations stored never replaced, conflicts
// listed) and the grid read again. What was done is shown in a report.
#include <QDialog>
#include <QObject>

class QAction;
class QLabel;
class QPlainTextEdit;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class DictionaryWindow;

// A summary with the lines behind it.
class ExchangeReportDialog : public QDialog {
    Q_OBJECT

public:
    ExchangeReportDialog(QWidget* parent, const QString& title, const QString& summary, const QStringList& details);

    QString summary() const;
    QStringList details() const;

private:
    QLabel* summary_;
    QPlainTextEdit* details_;
};

class DictionaryExchangeCommands : public QObject {
    Q_OBJECT

public:
    // Adds the menu "Table" to window.
    DictionaryExchangeCommands(DictionaryWindow& window, const model::Workspace& workspace);

    QAction* exportAction() const { return export_; }
    QAction* importAction() const { return import_; }

    // The commands; false when nothing was done (cancelled or failed, the
    // user told why).
    bool exportTable();
    bool importFile();

private:
    DictionaryWindow& window_;
    const model::Workspace& workspace_;
    QAction* export_;
    QAction* import_;
};

} // namespace lingrove::ui
