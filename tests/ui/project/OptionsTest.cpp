// The options dialog: it shows the program's settings and the compiler's
// configuration file, OK stores both (and tells what could not be stored),
// Cancel changes nothing, Browse presets the tool's name.
#include "tests/common/AppFixture.h"

#include "core/io/Files.h"
#include "model/DelphiInstallation.h"
#include "model/SettingsStore.h"
#include "platform/KeyStore.h"
#include "ui/project/OptionsDialog.h"
#include "ui/project/ProjectFeature.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <cerrno>

using namespace lingrove;
using namespace lingrove::testing;
using platform::KeyStore;

namespace {

const QString kKey = QString::fromLatin1(model::delphi::kSettingsKey);

class OptionsTest : public AppTest {
protected:
    ui::OptionsDialog& dialog() { return app->project().optionsDialog(); }

    // "Preferenses" from the menu; script works the dialog and closes it.
    int showOptions(const std::function<void(ui::OptionsDialog&)>& script)
    {
        ui->dialogs.push_back([this, script](QDialog&) {
            script(dialog());
            return dialog().result();
        });
        app->project().optionsAction()->trigger();
        return dialog().result();
    }

    // The compiler in a folder that exists.
    QString useCompilerFolder()
    {
        const QString folder = dir.path() + "/bin/";
        QDir().mkpath(folder);
        model::Settings s = workspace().settings();
        s.compiler = {folder, "dcc32.exe"};
        workspace().setSettings(s);
        return workspace().settings().compilerConfigPath();
    }
};

// Records what the file dialog was asked for.
class RecordingUi : public ui::ScriptedUserInterface {
public:
    QStringList presets;
    std::optional<QString> openFile(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& fileName, const QString& folder) override
    {
        presets << fileName;
        return ScriptedUserInterface::openFile(parent, caption, filter, fileName, folder);
    }
};

struct FaultGuard {
    explicit FaultGuard(const io::testing::Faults& faults) { io::testing::setFaults(faults); }
    ~FaultGuard() { io::testing::clearFaults(); }
};

} // namespace

// That the dialog shows every setting: OkStoresTheSettingsForTheNextStart,
// where a fresh dialog stores back what it was shown.
TEST_F(OptionsTest, CancelChangesNothingAndTheNextShowingStartsAfresh)
{
    // The first run shows the stand-ins, so that OK stores no empty tool paths.
    showOptions([](ui::OptionsDialog& d) {
        EXPECT_TRUE(d.compilerField->text().endsWith("/delphi/dcc32.exe"));
        d.cancelButton->click();
    });

    model::Settings s = workspace().settings();
    s.compiler = {"C:\\D\\bin\\", "dcc32.exe"};
    s.selectedLook.bold = true;
    s.selectedLook.color = QColor(1, 2, 3);   // none of the listed colours
    workspace().setSettings(s);
    const auto changeAndCancel = [](ui::OptionsDialog& d) {
        EXPECT_FALSE(d.acceptEmpty->isChecked());
        EXPECT_EQ(d.compilerField->text(), "C:\\D\\bin\\dcc32.exe");
        // A colour not in the list is added while it is chosen; the sample
        // follows every change at once.
        EXPECT_EQ(d.selectedColor->count(), ui::ColorComboBox::standardCount() + 1);
        EXPECT_EQ(d.selectedSample->palette().color(QPalette::Text), QColor(1, 2, 3));
        EXPECT_TRUE(d.selectedSample->font().bold());
        d.acceptEmpty->setChecked(true);
        d.selectedStyle[0]->click();
        EXPECT_FALSE(d.selectedSample->font().bold());
        d.selectedColor->setColor(QColor(0, 0, 255));
        EXPECT_EQ(d.selectedColor->count(), ui::ColorComboBox::standardCount());
        EXPECT_EQ(d.selectedColor->currentText(), "Blue");
        d.compilerField->setText("/other/dcc32.exe");
        d.cancelButton->click();
    };
    EXPECT_EQ(showOptions(changeAndCancel), QDialog::Rejected);
    EXPECT_EQ(workspace().settings().compiler, s.compiler);
    EXPECT_FALSE(workspace().settings().accept.Empty);
    EXPECT_EQ(workspace().settings().selectedLook, s.selectedLook);
    EXPECT_FALSE(KeyStore().keyExists(kKey)) << "nothing stored";
    showOptions(changeAndCancel);
    EXPECT_TRUE(ui->texts("message").isEmpty());
}

TEST_F(OptionsTest, OkStoresTheSettingsForTheNextStart)
{
    const QString compiler = dir.path() + "/bin/dcc32.exe";
    QDir().mkpath(dir.path() + "/bin");
    KeyStore().writeInteger(kKey, "Stale", 5);
    EXPECT_EQ(showOptions([&](ui::OptionsDialog& d) {
                  d.compilerField->setText(compiler);
                  d.ideField->setText("C:\\D\\bin\\delphi32.exe");
                  d.resourceCompilerField->setText("C:\\R\\brcc32.exe");
                  d.acceptFonts->setChecked(true);
                  d.acceptExtensions->setChecked(true);
                  d.delphi3Scheme->setChecked(true);
                  d.selectedColor->setColor(QColor(10, 20, 30));
                  d.selectedStyle[0]->click();   // bold on
                  d.selectedStyle[3]->click();   // strike-out off
                  d.changedStyle[3]->click();    // changed: strike-out on
                  d.okButton->click();
              }),
              QDialog::Accepted);
    EXPECT_TRUE(ui->texts("message").isEmpty()) << ui->texts().join('|').toStdString();
    EXPECT_TRUE(workspace().isConfigured());
    auto check = [&](const model::Settings& s) {
        EXPECT_EQ(s.compiler.folder, dir.path() + "/bin/");
        EXPECT_EQ(s.ide.folder, "C:\\D\\bin\\");
        EXPECT_EQ(s.resourceCompiler.stored(), "C:\\R\\brcc32.exe");
        EXPECT_TRUE(s.accept.Fonts && s.accept.Extentions && !s.accept.Empty);
        EXPECT_EQ(s.colourScheme, 3);
        EXPECT_EQ(s.selectedLook, (model::TextLook{QColor(10, 20, 30), true, false, false, false}));
        EXPECT_EQ(s.changedLook, (model::TextLook{QColor(0, 128, 0), false, false, true, true}));
    };
    check(workspace().settings());
    EXPECT_EQ(KeyStore().readInteger(kKey, "SFC"), 0x1E140A);
    EXPECT_TRUE(KeyStore().valueExists(kKey, "Stale")) << "first stored: added to what is there";
    EXPECT_TRUE(QFile::exists(dir.path() + "/bin/dcc32.cfg"));

    // The next run reads them when it first shows.
    app.reset();
    app = std::make_unique<app::Application>();
    window().show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return workspace().isConfigured(); }));
    check(workspace().settings());
    // Stored again once configured: the settings key is written afresh.
    showOptions([](ui::OptionsDialog& d) { d.okButton->click(); });
    EXPECT_FALSE(KeyStore().valueExists(kKey, "Stale"));
    check(workspace().settings());
}

TEST_F(OptionsTest, StoreThatCannotBeWrittenKeepsTheDialogOpen)
{
    const QString cfg = useCompilerFolder();
    KeyStore().createKey(kKey);
    showOptions([](ui::OptionsDialog& d) {
        d.acceptEmpty->setChecked(true);
        FaultGuard full({.failWriteAfter = 0, .writeError = ENOSPC});
        d.okButton->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_NE(d.result(), int(QDialog::Accepted));
        d.cancelButton->click();
    });
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_FALSE(workspace().settings().accept.Empty);
    EXPECT_FALSE(workspace().isConfigured());
    EXPECT_FALSE(QFile::exists(cfg));
}

TEST_F(OptionsTest, SettingsKeyThatCannotBeMadeKeepsTheSettingsAndWritesTheConfiguration)
{
    const QString cfg = useCompilerFolder();
    writeBytes(dir.path() + "/plain", "x");
    const QByteArray keyStore = qgetenv("LINGROVE_KEYSTORE");
    qputenv("LINGROVE_KEYSTORE", (dir.path() + "/plain/registry.txt").toLocal8Bit());
    const int result = showOptions([](ui::OptionsDialog& d) {
        d.compilerField->setText("/elsewhere/dcc32.exe");
        d.acceptEmpty->setChecked(true);
        d.libraryPathField->setText("C:\\lib");
        d.okButton->click();
    });
    qputenv("LINGROVE_KEYSTORE", keyStore);

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_FALSE(workspace().settings().accept.Empty);
    EXPECT_EQ(workspace().settings().compiler.folder, dir.path() + "/bin/");
    EXPECT_TRUE(workspace().isConfigured());
    EXPECT_EQ(readBytes(cfg), QByteArray("-a\"\"\r\n-u\"C:\\lib\"\r\n"));
}

TEST_F(OptionsTest, OkTellsWhenTheConfigurationFileCannotBeWritten)
{
    // No compiler path: no folder for dcc32.cfg.
    showOptions([](ui::OptionsDialog& d) {
        d.compilerField->clear();
        d.ideField->clear();
        d.resourceCompilerField->clear();
        d.okButton->click();
    });
    EXPECT_TRUE(workspace().settings().compiler.folder.isEmpty());
    EXPECT_TRUE(KeyStore().readString(kKey, "Compiler").isEmpty());
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("no folder")) << ui->texts("message")[0].toStdString();

    // A compiler folder that does not exist.
    ui->clear();
    EXPECT_EQ(showOptions([](ui::OptionsDialog& d) {
                  d.compilerField->setText("C:\\D\\bin\\dcc32.exe");
                  d.okButton->click();
              }),
              QDialog::Accepted);
    EXPECT_EQ(workspace().settings().compiler.folder, "C:\\D\\bin\\");
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("dcc32.cfg")) << ui->texts("message")[0].toStdString();
    EXPECT_TRUE(ui->texts("message")[0].contains("does not exist")) << ui->texts("message")[0].toStdString();
}

TEST_F(OptionsTest, ConfigurationFileIsShownAndWrittenBack)
{
    const QString cfg = useCompilerFolder();
    writeBytes(cfg, "-$A+\r\n-U\"C:\\old\"\r\n-U\"C:\\lib\"\r\n-a\"WinTypes=Windows\"\r\n-B\r\n");
    dialog().tabs->setCurrentIndex(3);
    showOptions([&](ui::OptionsDialog& d) {
        EXPECT_EQ(d.tabs->currentIndex(), 0);
        EXPECT_EQ(d.configCaption->text(), "File " + cfg);
        ASSERT_EQ(d.configList->count(), 5);
        EXPECT_EQ(d.configList->item(2)->text(), "-U\"C:\\lib\"");
        EXPECT_EQ(d.libraryPathField->text(), "C:\\lib");
        EXPECT_EQ(d.unitAliasesField->text(), "WinTypes=Windows");
        d.okButton->click();
    });
    EXPECT_TRUE(ui->texts("message").isEmpty()) << ui->texts().join('|').toStdString();
    EXPECT_EQ(readBytes(cfg), QByteArray("-a\"WinTypes=Windows\"\r\n-u\"C:\\lib\"\r\n"));
    EXPECT_EQ(QDir(dir.path() + "/bin").entryList(QDir::Files), QStringList("dcc32.cfg")) << "no temporary left";

    // Without the file the fields keep what they hold.
    QFile::remove(cfg);
    dialog().unitAliasesField->setText("A=B");
    showOptions([](ui::OptionsDialog& d) {
        EXPECT_EQ(d.configList->count(), 0);
        EXPECT_TRUE(d.configCaption->text().isEmpty());
        EXPECT_EQ(d.libraryPathField->text(), "C:\\lib");
        EXPECT_EQ(d.unitAliasesField->text(), "A=B");
        d.cancelButton->click();
    });
}

TEST_F(OptionsTest, BrowsePresetsTheToolName)
{
    auto recorder = std::make_unique<RecordingUi>();
    RecordingUi* files = recorder.get();
    auto previous = ui::setUserInterface(std::move(recorder));
    files->files = {QString("/opt/d/dcc32.exe"), std::nullopt, QString("/opt/r/brcc32.exe")};
    dialog().ideField->setText("C:\\D\\delphi32.exe");
    dialog().compilerBrowse->click();
    dialog().ideBrowse->click();
    dialog().resourceCompilerBrowse->click();
    auto back = ui::setUserInterface(std::move(previous));   // keeps files alive

    EXPECT_EQ(files->presets, QStringList({"dcc32.exe", "delphi32.exe", "brcc32.exe"}));
    EXPECT_EQ(dialog().compilerField->text(), "/opt/d/dcc32.exe");
    EXPECT_EQ(dialog().ideField->text(), "C:\\D\\delphi32.exe");   // cancelled
    EXPECT_EQ(dialog().resourceCompilerField->text(), "/opt/r/brcc32.exe");
}
