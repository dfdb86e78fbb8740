// The whole translation loop on the real main window, driven by the keyboard:
// open a project, translate a form and a unit entry by entry, finish each
// page on the end line, then check the files on disk and the dictionary.
#include "test_dictionary_support.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/ProjectFile.h"
#include "formfile/FormFile.h"
#include "platform/UserInterface.h"
#include "translation/TranslationLoop.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

using namespace lingrove;
using lingrove::translation::testing::DictionaryFolderTest;
using lingrove::translation::testing::str;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray replaced(QByteArray text, const QList<QPair<QByteArray, QByteArray>>& pairs)
{
    for (const auto& [from, to] : pairs) {
        const qsizetype at = text.indexOf(from);
        EXPECT_GE(at, 0) << from.toStdString();
        if (at >= 0)
            text.replace(at, from.size(), to);
    }
    return text;
}

const QByteArray kDpr = "program demo;\r\n\r\nuses\r\n  Forms,\r\n  main in 'main.pas' {MainForm};\r\n\r\n"
                        "{$R *.RES}\r\n\r\nbegin\r\n  Application.Initialize;\r\n"
                        "  Application.CreateForm(TMainForm, MainForm);\r\n  Application.Run;\r\nend.\r\n";

const QByteArray kFormText = "object MainForm: TMainForm\r\n  Left = 200\r\n  Top = 100\r\n"
                             "  Caption = 'Demo'\r\n  ClientHeight = 200\r\n  ClientWidth = 300\r\n"
                             "  object OpenButton: TButton\r\n    Left = 8\r\n    Top = 8\r\n"
                             "    Caption = 'Open'\r\n  end\r\n  object Greeting: TLabel\r\n    Left = 8\r\n"
                             "    Top = 40\r\n    Caption = 'Hello'\r\n  end\r\nend\r\n";

const QByteArray kUnit = "unit main;\r\n\r\ninterface\r\n\r\nuses Forms, Dialogs;\r\n\r\n"
                         "procedure Greet;\r\n\r\nimplementation\r\n\r\n{$R *.DFM}\r\n\r\n"
                         "procedure Greet;\r\nbegin\r\n  ShowMessage('How are you');\r\n"
                         "  ShowMessage('Close' + ' ' + 'File');\r\nend;\r\n\r\nend.\r\n";

class LoopEndToEnd : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        ASSERT_TRUE(project_.isValid());
        folder = project_.path();
        writeAll(folder + "/demo.dpr", kDpr);
        std::string form;
        formfile::TextToResource(std::string_view(kFormText.constData(), size_t(kFormText.size())), form);
        formBytes = QByteArray(form.data(), qsizetype(form.size()));
        writeAll(folder + "/main.dfm", formBytes);
        writeAll(folder + "/main.pas", kUnit);

        QString error;
        ASSERT_TRUE(translation::createTable("English_German", 50, &error)) << str(error);
        app::state() = app::AppState{};
        projectFile = app::writeNewProjectFile(
            {"demo_de", folder, folder + "/demo.dpr", "English", "German", "English_German"});
    }
    void TearDown() override
    {
        app::state().project = app::Project{};
        DictionaryFolderTest::TearDown();
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    // Enter on the selected entry, type the translation into the input
    // that Locate focused, Enter.
    void translateSelected(app::MainWindow& w, const QString& translation)
    {
        ASSERT_EQ(focused(), w.StringEdit);
        QTest::keyClick(focused(), Qt::Key_Return);
        ASSERT_EQ(focused(), w.Edit2) << str(w.StringEdit->currentItem()->text());
        QTest::keyClicks(focused(), translation);
        QTest::keyClick(focused(), Qt::Key_Return);
    }

    // Translates the entries of the active page in order, then Enter on the
    // end line.
    void translatePage(app::MainWindow& w, const QStringList& sources, const QStringList& translations)
    {
        ASSERT_EQ(w.StringEdit->count(), sources.size() + 1);
        for (int i = 0; i < sources.size(); ++i)
            EXPECT_TRUE(w.StringEdit->item(i)->text().endsWith("  " + sources[i]));
        ASSERT_EQ(focused(), w.StringEdit);
        QTest::keyClick(focused(), Qt::Key_Home);
        for (const QString& t : translations)
            translateSelected(w, t);
        ASSERT_EQ(w.StringEdit->currentRow(), w.StringEdit->count() - 1);
        QTest::keyClick(focused(), Qt::Key_Return);
    }

    QTemporaryDir project_;
    QString folder;
    QString projectFile;
    QByteArray formBytes;
};

TEST_F(LoopEndToEnd, TranslateAFormAndAUnitByKeyboard)
{
    platform::ScriptedUi ui;
    app::MainWindow w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QApplication::processEvents();
    ui->clear();

    w.OpenProjectFile(projectFile);
    ASSERT_TRUE(app::state().project.isOpen());
    ASSERT_TRUE(translation::DM().Table1.isOpen());

    // The form.
    w.OpenSourcePage("main.dfm");
    ASSERT_EQ(w.PageControl1->tabText(w.PageControl1->currentIndex()), "main.dfm");
    w.Getstrings1Click();
    translatePage(w, {"Demo", "Open", "Hello"}, {"Demo DE", "Auf's", "Hallo"});
    EXPECT_EQ(ui->texts("message"), QStringList({"The current file will saved and removed"}));
    EXPECT_EQ(w.PageControl1->currentWidget(), w.MainTabSheet);
    EXPECT_TRUE(w.translationLoop->undoBuffer().isEmpty());

    // The unit.
    w.OpenSourcePage("main.pas");
    w.Getstrings1Click();
    // ' ' holds only a blank and is no entry.
    translatePage(w, {"How are you", "Close", "File"},
                  {"Wie geht's", QString::fromUtf8("Schlie\xc3\x9f" "en"), "Datei"});
    EXPECT_EQ(ui->texts("message").size(), 2);
    EXPECT_EQ(w.PageControl1->count(), 1);
    EXPECT_FALSE(app::state().ProjectSaved);

    // The form file holds the translations and nothing else changed.
    const QByteArray savedForm = readAll(folder + "/main.dfm");
    std::string text;
    formfile::ResourceToText(std::string_view(savedForm.constData(), size_t(savedForm.size())), text);
    // The page wrote the doubled apostrophe; the text form of the binary file
    // spells the same string with #39.
    const QByteArray writtenText = replaced(kFormText, {{"'Demo'", "'Demo DE'"},
                                                        {"'Open'", "'Auf''s'"},
                                                        {"'Hello'", "'Hallo'"}});
    QByteArray readBack = writtenText;
    readBack.replace("'Auf''s'", "'Auf'#39's'");
    EXPECT_EQ(text, readBack.toStdString());
    std::string expectedForm;
    formfile::TextToResource(std::string_view(writtenText.constData(), size_t(writtenText.size())),
                             expectedForm);
    EXPECT_EQ(savedForm, QByteArray::fromStdString(expectedForm));
    EXPECT_FALSE(QFile::exists(folder + "/main.txt"));

    // The unit, byte for byte: 8-bit text, CR LF kept.
    EXPECT_EQ(readAll(folder + "/main.pas"),
              replaced(kUnit, {{"'How are you'", "'Wie geht''s'"}, {"'Close'", "'Schlie\xdf" "en'"},
                               {"'File'", "'Datei'"}}));
    EXPECT_EQ(readAll(folder + "/demo.dpr"), kDpr);

    // The dictionary learned the pairs as typed.
    translation::Dictionary& table = translation::DM().Table1;
    const QList<QPair<QString, QString>> learned = {
        {"Demo", "Demo DE"}, {"Open", "Auf's"}, {"Hello", "Hallo"}, {"How are you", "Wie geht's"},
        {"Close", QString::fromUtf8("Schlie\xc3\x9f" "en")}, {"File", "Datei"}};
    for (const auto& [source, dest] : learned) {
        translation::Proposals dests;
        ASSERT_TRUE(table.find(source, &dests)) << str(source);
        EXPECT_EQ(dests[0], dest) << str(source);
    }
}

} // namespace
