#pragma once
// "Versioninfo": the three-page wizard that describes the version
// information of the Delphi project's program, writes it as a resource
// script beside the project source, compiles it and adds it to the project.
#include <QDialog>
#include <QPointer>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace lingrove::rcscript {
struct VersionInfoFields;
}

namespace lingrove::toolchain {

class BuildCommands;
class TVerPrev;
class TZeichentab;

// The resource name as the wizard keeps it: every letter upper-cased.
QString upperCaseName(const QString& text);

class TVers : public QDialog {
    Q_OBJECT
public:
    explicit TVers(BuildCommands& commands, QWidget* parent = nullptr);
    ~TVers() override;

    // Page 1
    std::array<QLineEdit*, 4> FILEVERSION{};
    std::array<QLineEdit*, 4> PRODUCTVERSION{};
    QComboBox* ChooseLang = nullptr;
    QComboBox* ChooseCharset = nullptr;
    // Page 2
    QLineEdit* Comments = nullptr;
    QLineEdit* CompanyName = nullptr;
    QLineEdit* FileDescription = nullptr;
    QLineEdit* FileVersion = nullptr;
    QLineEdit* InternalName = nullptr;
    QLineEdit* LegalCopyright = nullptr;
    QLineEdit* LegalTradeMark = nullptr;
    QLineEdit* OriginalFileName = nullptr;
    QLineEdit* PrivateBuild = nullptr;
    QLineEdit* ProductVersion = nullptr;
    QPushButton* AddSign = nullptr;       // "Add a sign"
    QPushButton* ShowPreview = nullptr;   // "Show preview"
    QMenu* SignMenu = nullptr;
    // Page 3
    QLineEdit* ResName = nullptr;         // always upper case
    QCheckBox* AddDirective = nullptr;    // "Add the compiler directive into project"
    QCheckBox* Recompile = nullptr;       // "Re-compile the current project"
    // Bottom
    QStackedWidget* Pages = nullptr;
    QPushButton* PriorButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* CreateButton = nullptr;

    TVerPrev& VerPrev();
    TZeichentab& Zeichentab();

    // The fields as the script builder takes them (8-bit text).
    rcscript::VersionInfoFields fields() const;
    // Appends text to the edit field that has (or last had) the focus; a
    // focused control that is no edit field takes nothing.
    void appendToFocusedEdit(const QString& text);
    // The eleven strings of the preview, in its order.
    QStringList previewStrings() const;

    void goToPage(int index);
    void PriorClick();
    void NextClick();
    void CancelClick();
    void CreateClick();
    void ShowPreviewClick();
    void AddSignClick();
    void OtherSignClick();   // "other...": the character table

private:
    void loadlangList();
    void LoadCharsetList();
    void updateButtons();
    void closeCharacterTable();

    BuildCommands& commands_;
    QPointer<TVerPrev> verPrev_;
    QPointer<TZeichentab> zeichentab_;
};

} // namespace lingrove::toolchain
