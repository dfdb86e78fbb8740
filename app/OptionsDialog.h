#pragma once
// The options dialog "Option": string filters, editor looks and colour
// scheme, the paths of the Delphi tools and the compiler's library path.
// It loads the settings from the key store at start (LoadSettings), stores
// them when confirmed (SaveSettings), and reads and writes the compiler's
// configuration file dcc32.cfg.
#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace lingrove::app {

class LibraryPathEditor;
struct TextLook;

// Colours as the key store keeps them: 0x00BBGGRR.
QColor colorFromNumber(qint32 number);
qint32 colorNumber(const QColor& color);

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
    explicit OptionsDialog(QWidget* parent = nullptr);

    // ---- Controls ------------------------------------------------------
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;  // "Strings"
    QWidget* TabSheet2 = nullptr;  // "Editor"
    QWidget* TabSheet3 = nullptr;  // "Executable"
    QWidget* TabSheet4 = nullptr;  // "Library"
    QPushButton* BitBtn1 = nullptr;  // "&OK"
    QPushButton* BitBtn2 = nullptr;  // "&Cancel"

    // "Strings": the filters
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;  // Empty
    QCheckBox* CheckBox2 = nullptr;  // Fonts
    QCheckBox* CheckBox3 = nullptr;  // Numbers
    QCheckBox* CheckBox4 = nullptr;  // DateTime
    QCheckBox* CheckBox5 = nullptr;  // Dirs
    QCheckBox* CheckBox6 = nullptr;  // Extentions
    QCheckBox* CheckBox7 = nullptr;  // Separator

    // "Editor": colour scheme and the two looks
    QGroupBox* GroupBox2 = nullptr;     // "Use highligths"
    QRadioButton* RadioButton1 = nullptr;  // "Delphi 2.0"
    QRadioButton* RadioButton2 = nullptr;  // "Delphi 3.0"
    QGroupBox* GroupBox3 = nullptr;     // "Text attributes"
    QLineEdit* Edit1 = nullptr;         // sample of "Selected string"
    QLineEdit* Edit2 = nullptr;         // sample of "Changed string"
    ColorComboBox* ColorComboBox1 = nullptr;
    ColorComboBox* ColorComboBox2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;  // "B" selected
    QToolButton* SpeedButton2 = nullptr;  // "I"
    QToolButton* SpeedButton3 = nullptr;  // "U"
    QToolButton* SpeedButton4 = nullptr;  // "S"
    QToolButton* SpeedButton5 = nullptr;  // "B" changed
    QToolButton* SpeedButton6 = nullptr;  // "I"
    QToolButton* SpeedButton7 = nullptr;  // "U"
    QToolButton* SpeedButton8 = nullptr;  // "S"

    // "Executable": the tools
    QLineEdit* Edit3 = nullptr;  // compiler
    QLineEdit* Edit4 = nullptr;  // IDE
    QLineEdit* Edit5 = nullptr;  // resource compiler
    QPushButton* SpeedButton10 = nullptr;  // "Browse" compiler
    QPushButton* SpeedButton11 = nullptr;  // "Browse" IDE
    QPushButton* SpeedButton12 = nullptr;  // "Browse" resource compiler

    // "Library": library path, unit aliases and the current dcc32.cfg
    QLineEdit* Edit6 = nullptr;  // "Library path"
    QLineEdit* Edit7 = nullptr;  // "Unit aliases"
    QPushButton* SpeedButton15 = nullptr;  // "Edit"
    QPushButton* SpeedButton13 = nullptr;  // "Use Delphi 2.0 settings"
    QPushButton* SpeedButton14 = nullptr;  // "Use Delphi 3.0 settings"
    QLabel* ConfigCaption = nullptr;       // "File " + path of dcc32.cfg
    QListWidget* ConfigList = nullptr;     // dcc32.cfg line by line, read-only

    // The library-path editor, created once with the dialog.
    LibraryPathEditor* LPathEdit = nullptr;

    // ---- Settings store --------------------------------------------------
    // Fills the program's settings and the controls from the key store.
    // Throws platform::KeyStoreError at an integer value that is missing or
    // not stored as an integer; what was read before it stays in effect.
    void LoadSettings();
    // Writes the controls to the key store, then to the program's settings.
    // False (nothing changed) when the settings key cannot be created.
    // Throws platform::KeyStoreError when the store cannot be written.
    bool SaveSettings();

    // ---- Handlers ---------------------------------------------------------
    // Every showing: the "Strings" tab in front, dcc32.cfg read again.
    void FormShow();
    // "&OK": store the settings, write dcc32.cfg, close.
    void BitBtn1Click();
    void ColorComboBox1Change();
    void ColorComboBox2Change();
    void SpeedButton1Click() { styleButtonClick(SpeedButton1); }
    void SpeedButton2Click() { styleButtonClick(SpeedButton2); }
    void SpeedButton3Click() { styleButtonClick(SpeedButton3); }
    void SpeedButton4Click() { styleButtonClick(SpeedButton4); }
    void SpeedButton5Click() { styleButtonClick(SpeedButton5); }
    void SpeedButton6Click() { styleButtonClick(SpeedButton6); }
    void SpeedButton7Click() { styleButtonClick(SpeedButton7); }
    void SpeedButton8Click() { styleButtonClick(SpeedButton8); }
    // "Browse", shared by the three buttons of the tools.
    void SpeedButton10Click(QAbstractButton* sender);
    void SpeedButton13Click();   // "Use Delphi 2.0 settings"
    void SpeedButton14Click();   // "Use Delphi 3.0 settings"
    void SpeedButton15Click();   // "Edit": the library-path editor

    // ---- dcc32.cfg ---------------------------------------------------------
    // The value of an option line: what follows the two option characters,
    // without the double quotes around it. Safe for any length.
    static QString optionValue(const QString& line);
    // The file's lines (CR LF or LF), or nothing when it cannot be read.
    static std::optional<QStringList> readConfigFile(const QString& path);
    // The two lines -a"aliases" and -u"path", CR LF each, through a temporary
    // file renamed over the old one. False with the reason when not written.
    static bool writeConfigFile(const QString& path, const QString& unitAliases,
                                const QString& searchPath, QString* why = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildStringsTab();
    void buildEditorTab();
    void buildExecutableTab();
    void buildLibraryTab();
    void styleButtonClick(QToolButton* button);
    // Sample, colour list and style buttons from a look.
    void showLook(const TextLook& look, QLineEdit* sample, ColorComboBox* colors,
                  const std::array<QToolButton*, 4>& styles);
    void applySample(const TextLook& look, QLineEdit* sample);
    void writeCompilerConfig();
};
using TOptForm = OptionsDialog;

} // namespace lingrove::app
