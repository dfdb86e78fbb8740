#pragma once
// "Project Info": the project as its file on disk stands.
#include <QDialog>

class QLabel;
class QPushButton;
class QTabWidget;

namespace lingrove::ui {

class ProjectInfoDialog : public QDialog {
    Q_OBJECT

public:
    explicit ProjectInfoDialog(QWidget* parent);

    QTabWidget* tabs = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* folderLabel = nullptr;
    QLabel* sourceLanguageLabel = nullptr;
    QLabel* destLanguageLabel = nullptr;
    QLabel* tableLabel = nullptr;
    QLabel* resourceLabel = nullptr;
    QPushButton* viewScriptButton = nullptr;   // "&View  RC File"
    QPushButton* closeButton = nullptr;   // "&Close"

    // The project file whose state the dialog shows.
    void setProjectFile(const QString& path);
    // Fills the lines from the project file on disk.
    void fill();
    void viewScriptClicked();

    const QString& scriptName() const { return scriptName_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString projectFile_;
    QString scriptName_;
};

} // namespace lingrove::ui
