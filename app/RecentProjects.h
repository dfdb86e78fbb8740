#pragma once
// "Projects": the recent projects, kept in mru.dat beside the program.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace lingrove::app {

class MainWindow;

class RecentProjectsDialog : public QDialog {
    Q_OBJECT

public:
    explicit RecentProjectsDialog(MainWindow* main);

    QListWidget* ListBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;   // &OK
    QPushButton* BitBtn2 = nullptr;   // &Cancel

    QStringList entries() const;
    void setEntries(const QStringList& entries);

    // An entry equal to path stays where it is; otherwise path is appended
    // while there are fewer than ten entries, else the last entry goes and
    // path comes first.
    void AddRecentProject(const QString& path);

    // Replace the list by the file's lines; a missing file leaves it as it is.
    void loadFile(const QString& path);
    // Write the list, one path per line with CR LF, through a temporary file.
    bool saveFile(const QString& path, QString* why = nullptr) const;

    // Double click or OK: open the selected project.
    void ListBox1DblClick();

private:
    MainWindow* main_;
};

} // namespace lingrove::app
