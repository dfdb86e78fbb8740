#pragma once
// "Preview": how the version strings will look in the file's properties.
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lingrove::toolchain {

class TVerPrev : public QDialog {
    Q_OBJECT
public:
    explicit TVerPrev(QWidget* parent = nullptr);

    // Eleven strings: file version, file description, legal copyright,
    // private build, company name, internal name, comments, legal trademark,
    // original filename, product version, language. Selects the first item.
    void setStrings(const QStringList& strings);

    QLabel* FileVersionValue = nullptr;
    QLabel* FileDescriptionValue = nullptr;
    QLabel* LegalCopyrightValue = nullptr;
    QListWidget* ListBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* CloseButton = nullptr;

private:
    void ListBox1Click(int row);
    QStringList strings_;
};

} // namespace lingrove::toolchain
