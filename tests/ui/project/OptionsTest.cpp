// The options dialog: loading and storing the settings, the looks, the tool
// paths and the compiler's configuration file.
#include "app/AppState.h"
#include "app/DelphiInstallation.h"
#include "app/LibraryPath.h"
#include "app/OptionsDialog.h"
#include "platform/KeyStore.h"
#include "platform/UserInterface.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace lingrove;
using app::OptionsDialog;
using app::state;
using platform::KeyStore;

namespace {

const QString kKey = QString::fromLatin1(app::delphi::kSettingsKey);

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        KeyStore store;
        store.deleteKey(kKey);
        store.deleteKey(app::delphi::libraryKey(2));
        store.deleteKey(app::delphi::libraryKey(3));
        state().settings = app::Settings::defaults();
        state().ConfigOK = false;
        ASSERT_TRUE(dir.isValid());
        dialog = std::make_unique<OptionsDialog>();
    }
    void TearDown() override { state().settings = app::Settings::defaults(); }

    // A compiler path inside the temporary folder, stored and in effect.
    QString useCompilerInTempDir()
    {
        dialog->Edit3->setText(dir.filePath("dcc32.exe"));
        EXPECT_TRUE(dialog->SaveSettings());
        return dir.filePath("dcc32.cfg");
    }

    QTemporaryDir dir;
    std::unique_ptr<OptionsDialog> dialog;
};

// Records what the file dialog was asked for.
class RecordingUi : public platform::ScriptedUserInterface {
public:
    QStringList filters, presets;
    std::optional<QString> openFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& fileName, const QString& folder) override
    {
        filters << filter;
        presets << fileName;
        return ScriptedUserInterface::openFile(parent, caption, filter, fileName, folder);
    }
};

} // namespace

TEST_F(Options, FreshDialogShowsTheDefaults)
{
    const app::Settings& s = state().settings;
    EXPECT_EQ(s.CompilerExe, "dcc32.exe");
    EXPECT_EQ(s.Highlights, 2);
    EXPECT_FALSE(s.Empty || s.Fonts || s.Numbers || s.DateTime || s.Dirs || s.Extentions || s.Separator);

    OptionsDialog& d = *dialog;
    EXPECT_TRUE(d.RadioButton1->isChecked());
    // Selected string: red, strike-out; changed string: green, underline.
    EXPECT_EQ(d.ColorComboBox1->color(), QColor(255, 0, 0));
    EXPECT_EQ(d.Edit1->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_TRUE(d.Edit1->font().strikeOut());
    EXPECT_TRUE(d.SpeedButton4->isChecked());
    EXPECT_FALSE(d.SpeedButton1->isChecked() || d.SpeedButton2->isChecked() || d.SpeedButton3->isChecked());
    EXPECT_EQ(d.ColorComboBox2->color(), QColor(0, 128, 0));
    EXPECT_TRUE(d.Edit2->font().underline());
    EXPECT_TRUE(d.SpeedButton7->isChecked());
}

TEST_F(Options, ColourNumbersAreBlueGreenRed)
{
    EXPECT_EQ(app::colorNumber(QColor(255, 0, 0)), 255);
    EXPECT_EQ(app::colorNumber(QColor(0, 128, 0)), 32768);
    EXPECT_EQ(app::colorNumber(QColor(1, 2, 3)), 0x030201);
    EXPECT_EQ(app::colorFromNumber(0x030201), QColor(1, 2, 3));

    // A colour outside the standard list is offered once, as an extra entry.
    app::ColorComboBox box;
    box.setColor(QColor(1, 2, 3));
    box.setColor(QColor(4, 5, 6));
    EXPECT_EQ(box.count(), app::ColorComboBox::standardCount() + 1);
    EXPECT_EQ(box.color(), QColor(4, 5, 6));
    box.setColor(QColor(0, 0, 255));
    EXPECT_EQ(box.count(), app::ColorComboBox::standardCount());
    EXPECT_EQ(box.currentText(), "Blue");
}

TEST_F(Options, SaveThenLoadRestoresEverything)
{
    OptionsDialog& d = *dialog;
    d.Edit3->setText("C:\\D\\bin\\dcc32.exe");
    d.Edit4->setText("C:\\D\\bin\\delphi32.exe");
    d.Edit5->setText("C:\\R\\brcc32.exe");
    d.CheckBox2->setChecked(true);
    d.CheckBox6->setChecked(true);
    d.RadioButton2->setChecked(true);
    d.ColorComboBox1->setColor(QColor(10, 20, 30));
    d.ColorComboBox1Change();
    d.SpeedButton1->click();   // bold on
    d.SpeedButton4->click();   // strike-out off
    d.SpeedButton8->click();   // changed: strike-out on
    ASSERT_TRUE(d.SaveSettings());

    const app::Settings& s = state().settings;
    EXPECT_EQ(s.CompilerExe, "dcc32.exe");
    EXPECT_EQ(s.CompilerDir, "C:\\D\\bin\\");
    EXPECT_EQ(s.ResCompDir, "C:\\R\\");
    EXPECT_TRUE(s.Fonts && s.Extentions && !s.Empty);
    EXPECT_EQ(s.Highlights, 3);

    KeyStore store;
    EXPECT_TRUE(store.valueNames(kKey).contains("ResComp"));
    EXPECT_EQ(store.readString(kKey, "Rescomp"), "C:\\R\\brcc32.exe");
    EXPECT_EQ(store.readInteger(kKey, "SFC"), 0x1E140A);
    EXPECT_EQ(store.readInteger(kKey, "SFB"), 1);
    EXPECT_EQ(store.readInteger(kKey, "SFS"), 0);
    EXPECT_EQ(store.readInteger(kKey, "CFC"), 32768);
    EXPECT_EQ(store.readInteger(kKey, "Highlights"), 3);

    // A new run: defaults, then the stored values.
    state().settings = app::Settings::defaults();
    OptionsDialog again;
    again.LoadSettings();
    EXPECT_EQ(state().settings.CompilerDir, "C:\\D\\bin\\");
    EXPECT_EQ(state().settings.IdeExe, "delphi32.exe");
    EXPECT_EQ(again.Edit5->text(), "C:\\R\\brcc32.exe");
    EXPECT_TRUE(again.CheckBox2->isChecked() && again.CheckBox6->isChecked());
    EXPECT_FALSE(again.CheckBox1->isChecked());
    EXPECT_TRUE(again.RadioButton2->isChecked());
    EXPECT_EQ(state().settings.selectedLook.color, QColor(10, 20, 30));
    EXPECT_TRUE(state().settings.selectedLook.bold);
    EXPECT_FALSE(state().settings.selectedLook.strikeOut);
    EXPECT_TRUE(again.Edit1->font().bold());
    EXPECT_FALSE(again.SpeedButton4->isChecked());
    EXPECT_TRUE(again.SpeedButton8->isChecked() && again.SpeedButton7->isChecked());
    EXPECT_TRUE(state().settings.changedLook.strikeOut);
}

TEST_F(Options, LoadStopsAtAValueThatIsNotAnInteger)
{
    {
        KeyStore store;
        store.writeString(kKey, "Compiler", "C:\\D\\bin\\dcc32.exe");
        store.writeInteger(kKey, "Empty", 1);
        store.writeInteger(kKey, "Dirs", 1);
        store.writeString(kKey, "Numbers", "1");   // a string, not an integer
        store.writeInteger(kKey, "Fonts", 1);
        store.writeInteger(kKey, "Highlights", 3);
    }
    EXPECT_THROW(dialog->LoadSettings(), platform::KeyStoreError);
    const app::Settings& s = state().settings;
    EXPECT_EQ(s.CompilerDir, "C:\\D\\bin\\");
    EXPECT_TRUE(s.Empty);
    EXPECT_TRUE(s.Dirs);
    EXPECT_TRUE(dialog->CheckBox1->isChecked());
    EXPECT_TRUE(dialog->CheckBox5->isChecked());
    // Read after the failure: untouched.
    EXPECT_FALSE(s.Numbers);
    EXPECT_FALSE(s.Fonts);
    EXPECT_FALSE(dialog->CheckBox2->isChecked());
    EXPECT_EQ(s.Highlights, 2);
    EXPECT_TRUE(dialog->RadioButton1->isChecked());
}

TEST_F(Options, LoadFailsPartWayThroughTheLooks)
{
    {
        KeyStore store;
        for (const char* name : {"Empty", "Dirs", "Numbers", "Fonts", "Extentions", "DateTime", "Separator"})
            store.writeInteger(kKey, name, 0);
        store.writeInteger(kKey, "Highlights", 0x103);   // only the low 8 bits count
        store.writeInteger(kKey, "SFC", 0xFF0000);       // blue
        store.writeInteger(kKey, "SFB", 1);
        // SFI is missing
    }
    EXPECT_THROW(dialog->LoadSettings(), platform::KeyStoreError);
    EXPECT_EQ(state().settings.Highlights, 3);
    EXPECT_TRUE(dialog->RadioButton2->isChecked());
    EXPECT_EQ(state().settings.selectedLook.color, QColor(0, 0, 255));
    EXPECT_TRUE(state().settings.selectedLook.bold);
    EXPECT_TRUE(dialog->SpeedButton1->isChecked());
    EXPECT_TRUE(state().settings.selectedLook.strikeOut);   // default, never reached
    EXPECT_EQ(state().settings.changedLook.color, QColor(0, 128, 0));
}

TEST_F(Options, UnknownSchemeLeavesTheRadioButtons)
{
    KeyStore store;
    for (const char* name : {"Empty", "Dirs", "Numbers", "Fonts", "Extentions", "DateTime", "Separator",
                             "SFC", "SFB", "SFI", "SFU", "SFS", "CFC", "CFB", "CFI", "CFU", "CFS"})
        store.writeInteger(kKey, name, 0);
    store.writeInteger(kKey, "Highlights", 7);
    dialog->RadioButton2->setChecked(true);
    dialog->LoadSettings();
    EXPECT_EQ(state().settings.Highlights, 7);
    EXPECT_TRUE(dialog->RadioButton2->isChecked());
    EXPECT_EQ(state().settings.selectedLook.color, QColor(0, 0, 0));
    EXPECT_FALSE(dialog->Edit1->font().strikeOut());
    // Missing strings read as empty: the defaults give way.
    EXPECT_TRUE(state().settings.CompilerExe.isEmpty());
    EXPECT_TRUE(state().settings.CompilerDir.isEmpty());
}

TEST_F(Options, SaveWhenConfiguredRewritesTheKeyWhole)
{
    KeyStore().writeInteger(kKey, "Stale", 5);

    state().ConfigOK = false;
    ASSERT_TRUE(dialog->SaveSettings());
    EXPECT_TRUE(KeyStore().valueExists(kKey, "Stale"));

    state().ConfigOK = true;
    ASSERT_TRUE(dialog->SaveSettings());
    KeyStore store;
    EXPECT_FALSE(store.valueExists(kKey, "Stale"));
    EXPECT_TRUE(store.valueExists(kKey, "Highlights"));
    EXPECT_EQ(store.valueNames(kKey).size(), 21);
}

TEST_F(Options, OkWithACompilerFolderThatDoesNotExist)
{
    platform::ScriptedUi ui;
    dialog->Edit3->setText("C:\\D\\bin\\dcc32.exe");
    dialog->BitBtn1Click();
    EXPECT_EQ(state().settings.CompilerExe, "dcc32.exe");
    EXPECT_EQ(state().settings.CompilerDir, "C:\\D\\bin\\");
    EXPECT_TRUE(state().ConfigOK);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(KeyStore().keyExists(kKey));
    const QStringList told = ui->texts("message");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("dcc32.cfg")) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains("does not exist")) << told[0].toStdString();
}

TEST_F(Options, PathFieldsStartWithTheDefaultTools)
{
    // Confirming the dialog on the first run must not store empty tool paths.
    EXPECT_EQ(dialog->Edit3->text(), app::delphi::compilerPath(app::Settings::defaults()));
    EXPECT_EQ(dialog->Edit4->text(), app::delphi::idePath(app::Settings::defaults()));
    EXPECT_EQ(dialog->Edit5->text(), app::delphi::resCompPath(app::Settings::defaults()));
    EXPECT_TRUE(dialog->Edit3->text().endsWith("/delphi/dcc32.exe"));
}

TEST_F(Options, OkWithoutACompilerPathWritesNoConfigurationFile)
{
    platform::ScriptedUi ui;
    dialog->Edit3->clear();
    dialog->Edit4->clear();
    dialog->Edit5->clear();
    dialog->BitBtn1Click();
    EXPECT_TRUE(state().settings.CompilerDir.isEmpty());
    EXPECT_TRUE(KeyStore().readString(kKey, "Compiler").isEmpty());
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("no folder")) << ui->texts("message")[0].toStdString();
}

TEST_F(Options, ConfigurationFileIsReadAndWrittenBack)
{
    const QString cfg = useCompilerInTempDir();
    writeFile(cfg, "-$A+\r\n-U\"C:\\old\"\r\n-U\"C:\\lib\"\r\n-a\"WinTypes=Windows\"\r\n-B\r\n");
    dialog->PageControl1->setCurrentIndex(3);
    dialog->FormShow();

    EXPECT_EQ(dialog->PageControl1->currentIndex(), 0);
    EXPECT_EQ(dialog->ConfigCaption->text(), "File " + state().settings.compilerConfigPath());
    ASSERT_EQ(dialog->ConfigList->count(), 5);
    EXPECT_EQ(dialog->ConfigList->item(2)->text(), "-U\"C:\\lib\"");
    EXPECT_EQ(dialog->Edit6->text(), "C:\\lib");
    EXPECT_EQ(dialog->Edit7->text(), "WinTypes=Windows");

    platform::ScriptedUi ui;
    dialog->BitBtn1Click();
    EXPECT_TRUE(ui->texts().isEmpty()) << ui->texts().join('|').toStdString();
    EXPECT_EQ(readAll(cfg), QByteArray("-a\"WinTypes=Windows\"\r\n-u\"C:\\lib\"\r\n"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).size() == 1);   // no temporary file left
}

TEST_F(Options, ConfigurationValuesAreCutSafely)
{
    EXPECT_EQ(OptionsDialog::optionValue("-U\"C:\\lib\""), "C:\\lib");
    EXPECT_EQ(OptionsDialog::optionValue("-aWinTypes=Windows;WinProcs=Windows"),
              "WinTypes=Windows;WinProcs=Windows");
    EXPECT_EQ(OptionsDialog::optionValue("-u\"C:\\my lib\"  "), "C:\\my lib");
    for (const char* shortLine : {"-U", "-u\"", "-A\"\"", "-"})
        EXPECT_EQ(OptionsDialog::optionValue(shortLine), "") << shortLine;

    // Lines ending in LF only, 8-bit bytes kept as they are.
    const QString cfg = useCompilerInTempDir();
    writeFile(cfg, "-u\"C:\\B\xFC" "cher\"\n-A\n");
    dialog->Edit7->setText("kept?");
    dialog->FormShow();
    EXPECT_EQ(dialog->Edit6->text(), QString::fromLatin1("C:\\B\xFC" "cher"));
    EXPECT_EQ(dialog->Edit7->text(), "");
    platform::ScriptedUi ui;
    dialog->BitBtn1Click();
    EXPECT_EQ(readAll(cfg), QByteArray("-a\"\"\r\n-u\"C:\\B\xFC" "cher\"\r\n"));
}

TEST_F(Options, MissingConfigurationFileKeepsTheFields)
{
    const QString cfg = useCompilerInTempDir();
    writeFile(cfg, "-u\"C:\\lib\"\r\n");
    dialog->FormShow();
    ASSERT_EQ(dialog->ConfigList->count(), 1);
    QFile::remove(cfg);
    dialog->Edit7->setText("A=B");
    dialog->FormShow();
    EXPECT_EQ(dialog->ConfigList->count(), 0);
    EXPECT_TRUE(dialog->ConfigCaption->text().isEmpty());
    EXPECT_EQ(dialog->Edit6->text(), "C:\\lib");
    EXPECT_EQ(dialog->Edit7->text(), "A=B");
}

TEST_F(Options, LooksApplyAtOnceAndStayAfterCancel)
{
    platform::ScriptedUi ui;
    ui->dialogs.push_back([this](QDialog&) {
        dialog->SpeedButton1->click();                       // bold
        dialog->ColorComboBox2->setCurrentIndex(12);         // Blue
        EXPECT_TRUE(state().settings.selectedLook.bold);     // at once, not at OK
        dialog->BitBtn2->click();
        return dialog->result();
    });
    EXPECT_EQ(ui->exec(*dialog), QDialog::Rejected);
    EXPECT_TRUE(state().settings.selectedLook.bold);
    EXPECT_TRUE(dialog->Edit1->font().bold());
    EXPECT_EQ(state().settings.changedLook.color, QColor(0, 0, 255));
    EXPECT_EQ(dialog->Edit2->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_FALSE(KeyStore().keyExists(kKey));   // nothing stored

    dialog->SpeedButton1->click();   // and off again
    EXPECT_FALSE(state().settings.selectedLook.bold);
    EXPECT_FALSE(dialog->Edit1->font().bold());
    EXPECT_TRUE(dialog->Edit1->font().strikeOut());
}

TEST_F(Options, FailedStoreKeepsSettingsAndStillWritesTheConfiguration)
{
    const QString cfg = useCompilerInTempDir();
    const QByteArray saved = qgetenv("LINGROVE_KEYSTORE");
    writeFile(dir.filePath("plain"), "x");
    qputenv("LINGROVE_KEYSTORE", dir.filePath("plain/registry.txt").toLocal8Bit());

    platform::ScriptedUi ui;
    dialog->Edit3->setText("C:\\elsewhere\\dcc32.exe");
    dialog->CheckBox1->setChecked(true);
    dialog->Edit6->setText("C:\\lib");
    dialog->BitBtn1Click();
    qputenv("LINGROVE_KEYSTORE", saved);

    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_FALSE(state().settings.Empty);
    EXPECT_EQ(state().settings.CompilerDir, dir.path() + "/");
    EXPECT_TRUE(state().ConfigOK);
    EXPECT_EQ(readAll(cfg), QByteArray("-a\"\"\r\n-u\"C:\\lib\"\r\n"));
}

TEST_F(Options, BrowsePresetsTheToolName)
{
    auto recorder = std::make_unique<RecordingUi>();
    RecordingUi* ui = recorder.get();
    auto previous = platform::setUserInterface(std::move(recorder));
    ui->files = {QString("/opt/d/dcc32.exe"), std::nullopt, QString("/opt/r/brcc32.exe")};
    dialog->Edit4->setText("C:\\D\\delphi32.exe");
    dialog->SpeedButton10->click();
    dialog->SpeedButton11->click();
    dialog->SpeedButton12->click();
    auto back = platform::setUserInterface(std::move(previous));   // keeps ui alive

    EXPECT_EQ(ui->presets, QStringList({"dcc32.exe", "delphi32.exe", "brcc32.exe"}));
    EXPECT_EQ(ui->filters.value(0), "Executable files|*.exe");
    EXPECT_EQ(dialog->Edit3->text(), "/opt/d/dcc32.exe");
    EXPECT_EQ(dialog->Edit4->text(), "C:\\D\\delphi32.exe");   // cancelled
    EXPECT_EQ(dialog->Edit5->text(), "/opt/r/brcc32.exe");
}

TEST_F(Options, DelphiLibrarySettings)
{
    KeyStore store;
    store.writeString(app::delphi::libraryKey(2), "SearchPath", "C:\\D2\\lib;C:\\x");
    store.writeString(app::delphi::libraryKey(2), "UnitAliases", "WinTypes=Windows");
    dialog->SpeedButton13->click();
    EXPECT_EQ(dialog->Edit6->text(), "C:\\D2\\lib;C:\\x");
    EXPECT_EQ(dialog->Edit7->text(), "WinTypes=Windows");
    dialog->SpeedButton14->click();   // no Delphi 3
    EXPECT_TRUE(dialog->Edit6->text().isEmpty());
    EXPECT_TRUE(dialog->Edit7->text().isEmpty());
}
