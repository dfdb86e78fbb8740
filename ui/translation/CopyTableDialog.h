#pragma once
// "Copy table": copies a dictionary table between this computer and the
// dictionary server of the options (or to another name in the same place),
// as `lingrove-cli copytable` does (model/TableCopy.h).
#include "model/DictionaryLocation.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace lingrove::ui {

class CopyTableDialog : public QDialog {
    Q_OBJECT
public:
    // server: the dictionary server of the options (whether or not the
    // tables are kept there now).
    CopyTableDialog(const model::DictionaryLocation& from, const QString& name, const model::DictionaryServer& server,
        QWidget* parent = nullptr);

    QComboBox* targetPlace = nullptr; // this computer, the server
    QLineEdit* targetName = nullptr;

    model::DictionaryLocation target() const;

private:
    model::DictionaryServer server_;
};

// Asks where to copy the table name of from, copies it and tells what was
// done or what went wrong. True when a table was copied.
bool copyTableInteractively(
    QWidget* parent, const model::DictionaryLocation& from, const QString& name, const model::DictionaryServer& server);

} // namespace lingrove::ui
