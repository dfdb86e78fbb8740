#pragma once
// "Project Info": the project as its file on disk stands.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;

namespace lingrove::app {

class ProjectInfoDialog : public QDialog {
    Q_OBJECT

public:
    explicit ProjectInfoDialog(QWidget* parent);

    QTabWidget* PageControl1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* BitBtn2 = nullptr;   // "&View  RC File"
    QPushButton* BitBtn1 = nullptr;   // "&Close"

    // Shows a resource script in the script viewer (set by the resource side).
    std::function<void(const QString& path)> viewScript;

    // Fills the lines from the project file on disk.
    void FormShow();
    void BitBtn2Click();

    const QString& scriptName() const { return scriptName_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString scriptName_;
};

} // namespace lingrove::app
