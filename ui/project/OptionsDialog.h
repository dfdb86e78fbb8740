#pragma once
// The options dialog "Option": string filters, editor looks and colour
// scheme, the paths of the Delphi tools, the compiler's library path and
// where the dictionary tables live (this computer or a PostgreSQL server).
// Each showing starts from the program's settings and the compiler's
// configuration file dcc32.cfg; "&OK" stores the settings in the key store
// and in the workspace and writes dcc32.cfg, "&Cancel" changes nothing.
#include "model/Settings.h"

#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <array>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class LibraryPathEditor;

// A list of the sixteen standard colours with swatches; a colour that is not
// among them is shown as one extra entry.
class ColorComboBox : public QComboBox {
public:
    explicit ColorComboBox(QWidget* parent = nullptr);
    QColor color() const;
    // Selects the colour, adding it as the extra entry when it is not standard.
    void setColor(const QColor& color);
    // Number of standard colours offered.
    static int standardCount();
};

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(model::Workspace& workspace, QWidget* parent = nullptr);

    // ---- Controls ------------------------------------------------------
    QTabWidget* tabs = nullptr;
    QWidget* stringsTab = nullptr;
    QWidget* editorTab = nullptr;
    QWidget* toolsTab = nullptr;
    QWidget* libraryTab = nullptr;
    QWidget* dictionaryTab = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

    // "Strings": which kinds of literal are offered for translation
    QCheckBox* acceptEmpty = nullptr;
    QCheckBox* acceptFonts = nullptr;
    QCheckBox* acceptNumbers = nullptr;
    QCheckBox* acceptDateTime = nullptr;
    QCheckBox* acceptDirs = nullptr;
    QCheckBox* acceptExtensions = nullptr;
    QCheckBox* acceptSeparator = nullptr;

    // "Editor": colour scheme and the two looks
    QRadioButton* delphi2Scheme = nullptr;
    QRadioButton* delphi3Scheme = nullptr;
    QLineEdit* selectedSample = nullptr;
    QLineEdit* changedSample = nullptr;
    ColorComboBox* selectedColor = nullptr;
    ColorComboBox* changedColor = nullptr;
    std::array<QToolButton*, 4> selectedStyle{};   // B, I, U, S
    std::array<QToolButton*, 4> changedStyle{};

    // "Executable": the tools
    QLineEdit* compilerField = nullptr;
    QLineEdit* ideField = nullptr;
    QLineEdit* resourceCompilerField = nullptr;
    QPushButton* compilerBrowse = nullptr;
    QPushButton* ideBrowse = nullptr;
    QPushButton* resourceCompilerBrowse = nullptr;

    // "Library": library path, unit aliases and the current dcc32.cfg
    QLineEdit* libraryPathField = nullptr;
    QLineEdit* unitAliasesField = nullptr;
    QPushButton* editLibraryPathButton = nullptr;
    QPushButton* delphi2LibraryButton = nullptr;   // "Use Delphi 2.0 settings"
    QPushButton* delphi3LibraryButton = nullptr;   // "Use Delphi 3.0 settings"
    QLabel* configCaption = nullptr;               // "File " + path of dcc32.cfg
    QListWidget* configList = nullptr;             // dcc32.cfg line by line, read-only

    LibraryPathEditor* libraryPathEditor = nullptr;

    // "Dictionary": where the tables live. No password: libpq's ~/.pgpass
    // or PGPASSWORD, else it is asked for once per session.
    QRadioButton* localDictionaries = nullptr;    // This computer (SQLite)
    QRadioButton* serverDictionaries = nullptr;   // Server (PostgreSQL)
    QLineEdit* serverHost = nullptr;
    QSpinBox* serverPort = nullptr;               // 0: libpq's default
    QLineEdit* serverDatabase = nullptr;
    QLineEdit* serverUser = nullptr;
    QComboBox* serverSslMode = nullptr;
    QPushButton* testServerButton = nullptr;

    // ---- What the dialog does ------------------------------------------------
    // Every showing: the "Strings" tab in front, the settings shown, dcc32.cfg
    // read again.
    void prepare();
    // The settings as the controls show them.
    model::Settings shownSettings() const;
    void showSettings(const model::Settings& settings);
    // "&OK": store the settings, write dcc32.cfg, close.
    void store();
    // "Browse" for one of the three tools.
    void browse(QLineEdit* field, const char* program);
    // "Use Delphi 2.0 settings" / "... 3.0 ...": the IDE's library path.
    void useDelphiLibraryPath(int version);
    // "Edit": the library-path editor.
    void editLibraryPath();
    // "Test connection": lists the server's tables, or says why it cannot.
    void testServer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildStringsTab();
    void buildEditorTab();
    void buildToolsTab();
    void buildLibraryTab();
    void buildDictionaryTab();
    void showDictionaryLocation(const model::DictionaryLocation& location);
    model::DictionaryLocation shownDictionaryLocation() const;
    // Sample, colour list and style buttons from a look.
    void showLook(const model::TextLook& look, QLineEdit* sample, ColorComboBox* colors,
                  const std::array<QToolButton*, 4>& styles);
    void updateSample(QLineEdit* sample, ColorComboBox* colors, const std::array<QToolButton*, 4>& styles);
    void writeCompilerConfig(const model::Settings& settings);

    model::Workspace& workspace_;
};

} // namespace lingrove::ui
