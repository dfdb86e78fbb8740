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

namespace lingrove::ui {

class BuildFeature;
class VersionPreview;
class CharacterTable;

// The resource name as the wizard keeps it: every letter upper-cased.
QString upperCaseName(const QString& text);

class VersionWizard : public QDialog {
    Q_OBJECT
public:
    explicit VersionWizard(BuildFeature& build, QWidget* parent = nullptr);
    ~VersionWizard() override;

    // Page 1
    std::array<QLineEdit*, 4> fileVersionNumbers{};
    std::array<QLineEdit*, 4> productVersionNumbers{};
    QComboBox* language = nullptr;
    QComboBox* charset = nullptr;
    // Page 2
    QLineEdit* comments = nullptr;
    QLineEdit* companyName = nullptr;
    QLineEdit* fileDescription = nullptr;
    QLineEdit* fileVersion = nullptr;
    QLineEdit* internalName = nullptr;
    QLineEdit* legalCopyright = nullptr;
    QLineEdit* legalTrademark = nullptr;
    QLineEdit* originalFileName = nullptr;
    QLineEdit* privateBuild = nullptr;
    QLineEdit* productVersion = nullptr;
    QPushButton* addSignButton = nullptr;       // "Add a sign"
    QPushButton* previewButton = nullptr;   // "Show preview"
    QMenu* signMenu = nullptr;
    // Page 3
    QLineEdit* resourceName = nullptr;         // always upper case
    QCheckBox* addDirective = nullptr;    // "Add the compiler directive into project"
    QCheckBox* recompile = nullptr;       // "Re-compile the current project"
    // Bottom
    QStackedWidget* pages = nullptr;
    QPushButton* priorButton = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* createButton = nullptr;

    VersionPreview& preview();
    CharacterTable& characterTable();

    // The fields as the script builder takes them (8-bit text).
    rcscript::VersionInfoFields fields() const;
    // Appends text to the edit field that has (or last had) the focus; a
    // focused control that is no edit field takes nothing.
    void appendToFocusedEdit(const QString& text);
    // The eleven strings of the preview, in its order.
    QStringList previewStrings() const;

    void goToPage(int index);
    void showPrior();
    void showNext();
    void cancel();
    void create();
    void showPreview();
    void showSignMenu();
    void showCharacterTable();   // "other...": the character table

private:
    void fillLanguages();
    void fillCharsets();
    void updateButtons();
    void closeCharacterTable();

    BuildFeature& build_;
    QPointer<VersionPreview> preview_;
    QPointer<CharacterTable> characterTable_;
};

} // namespace lingrove::ui
