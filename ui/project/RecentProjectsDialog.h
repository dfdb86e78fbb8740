#pragma once
// "Projects": the recent projects to choose one from.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace lingrove::ui {

class RecentProjectsDialog : public QDialog {
    Q_OBJECT

public:
    explicit RecentProjectsDialog(QWidget* parent = nullptr);

    QListWidget* list = nullptr;
    QPushButton* okButton = nullptr;       // &OK
    QPushButton* cancelButton = nullptr;   // &Cancel

    // The paths shown, most recent first as kept.
    void setEntries(const QStringList& entries);
    QStringList entries() const;
    // The path chosen by the last double click or OK; empty when none.
    const QString& chosen() const { return chosen_; }

    // Double click or OK: the selected project is chosen and the dialog closes.
    void openSelected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString chosen_;
};

} // namespace lingrove::ui
