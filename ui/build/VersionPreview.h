#pragma once
// "Preview": how the version strings will look in the file's properties.
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lingrove::ui {

class VersionPreview : public QDialog {
    Q_OBJECT
public:
    explicit VersionPreview(QWidget* parent = nullptr);

    // Eleven strings: file version, file description, legal copyright,
    // private build, company name, internal name, comments, legal trademark,
    // original filename, product version, language. Selects the first item.
    void setStrings(const QStringList& strings);

    QLabel* fileVersionValue = nullptr;
    QLabel* fileDescriptionValue = nullptr;
    QLabel* legalCopyrightValue = nullptr;
    QListWidget* stringList = nullptr;
    QLineEdit* valueField = nullptr;
    QPushButton* closeButton = nullptr;

private:
    void showString(int row);
    QStringList strings_;
};

} // namespace lingrove::ui
