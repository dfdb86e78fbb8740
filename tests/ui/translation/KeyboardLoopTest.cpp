// The whole translation loop on the real main window, driven by the keyboard:
// open a copy of the demo project, translate entries of a form and of a unit,
// finish each page on the end line, then check the files on disk and the
// dictionary.
#include "test_dictionary_support.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/ProjectFile.h"
#include "formfile/FormFile.h"
#include "platform/UserInterface.h"
#include "translation/StringFilters.h"
#include "translation/TranslationLoop.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
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

// A copy of the demo project.
void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            ASSERT_TRUE(QFile::copy(path, target)) << str(path);
    }
}

std::string formText(const QByteArray& bytes)
{
    std::string text;
    formfile::ResourceToText(std::string_view(bytes.constData(), size_t(bytes.size())), text);
    return text;
}

QString latin(const char* text)
{
    return translation::fromWindows1252(text);
}

class LoopEndToEnd : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        ASSERT_TRUE(project_.isValid());
        folder = project_.path() + "/demo";
        copyTree(QString(LINGROVE_SOURCE_ROOT) + "/examples/demo", folder);
        ASSERT_TRUE(QFile::exists(folder + "/Main.dfm"));

        QString error;
        ASSERT_TRUE(translation::createTable("German_English", 50, &error)) << str(error);
        app::state() = app::AppState{};
        projectFile = app::writeNewProjectFile(
            {"demo_en", project_.path(), folder + "/Demo.dpr", "German", "English", "German_English"});
    }
    void TearDown() override
    {
        app::state().project = app::Project{};
        DictionaryFolderTest::TearDown();
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    // Walks the string list of the active page from its first entry by the
    // keyboard: an entry with a translation in the table is located (Enter),
    // typed into the input and committed (Enter), any other one is passed
    // (Down). Enter on the end line finishes the page. Returns the sources
    // translated, in order.
    QStringList translatePage(app::MainWindow& w, const QMap<QString, QString>& translations)
    {
        QStringList done;
        EXPECT_EQ(focused(), w.StringEdit);
        QTest::keyClick(focused(), Qt::Key_Home);
        while (w.StringEdit->currentRow() < w.StringEdit->count() - 1) {
            const auto entry = translation::parseListEntry(w.StringEdit->currentItem()->text());
            if (!entry || !translations.contains(entry->text)) {
                QTest::keyClick(focused(), Qt::Key_Down);
                continue;
            }
            QTest::keyClick(focused(), Qt::Key_Return);
            EXPECT_EQ(focused(), w.Edit2) << str(entry->text);
            if (focused() != w.Edit2)
                return done;
            EXPECT_EQ(w.Edit1->text(), entry->text);
            QTest::keyClicks(focused(), translations[entry->text]);
            QTest::keyClick(focused(), Qt::Key_Return);
            EXPECT_EQ(focused(), w.StringEdit);
            done << entry->text;
        }
        QTest::keyClick(focused(), Qt::Key_Return);
        return done;
    }

    QTemporaryDir project_;
    QString folder;
    QString projectFile;
};

TEST_F(LoopEndToEnd, TranslateAFormAndAUnitByKeyboard)
{
    const QByteArray formBefore = readAll(folder + "/Main.dfm");
    const QByteArray unitBefore = readAll(folder + "/Texts.pas");
    const QByteArray dprBefore = readAll(folder + "/Demo.dpr");

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

    // The form: three entries, one translation with an apostrophe.
    w.OpenSourcePage("main.dfm");
    ASSERT_EQ(w.PageControl1->tabText(w.PageControl1->currentIndex()), "main.dfm");
    w.Getstrings1Click();
    const QMap<QString, QString> formWords = {{latin("Adre\xdf" "buch"), "Address book"},
                                              {latin("&Hinzuf\xfcgen..."), "&Add..."},
                                              {"Bereit", "Ready, isn't it"}};
    EXPECT_EQ(translatePage(w, formWords).size(), 3);
    EXPECT_EQ(ui->texts("message"), QStringList({"The current file will saved and removed"}));
    EXPECT_EQ(w.PageControl1->currentWidget(), w.MainTabSheet);
    EXPECT_TRUE(w.translationLoop->undoBuffer().isEmpty());

    // The unit: an 8-bit character typed into one translation.
    w.OpenSourcePage("texts.pas");
    w.Getstrings1Click();
    const QMap<QString, QString> unitWords = {{latin("%d Eintr\xe4ge"), "%d entries"},
                                              {"Welcome to the address book", latin("Willkommen im Adre\xdf" "buch")},
                                              {"Datei nicht gefunden: %s", "File not found: %s"}};
    EXPECT_EQ(translatePage(w, unitWords).size(), 3);
    EXPECT_EQ(ui->texts("message").size(), 2);
    EXPECT_EQ(w.PageControl1->count(), 1);
    EXPECT_FALSE(app::state().ProjectSaved);

    // The form file holds the translations and nothing else changed: it is
    // the binary form of the page text that was written.
    const QByteArray written = replaced(QByteArray::fromStdString(formText(formBefore)),
                                        {{"'Adre\xdf" "buch'", "'Address book'"},
                                         {"'&Hinzuf\xfcgen...'", "'&Add...'"},
                                         {"'Bereit'", "'Ready, isn''t it'"}});
    const QByteArray savedForm = readAll(folder + "/Main.dfm");
    std::string expectedForm;
    formfile::TextToResource(std::string_view(written.constData(), size_t(written.size())), expectedForm);
    EXPECT_EQ(savedForm, QByteArray::fromStdString(expectedForm));
    // Read back, the apostrophe is spelt #39.
    QByteArray readBack = written;
    readBack.replace("'Ready, isn''t it'", "'Ready, isn'#39't it'");
    EXPECT_EQ(formText(savedForm), readBack.toStdString());
    EXPECT_FALSE(QFile::exists(folder + "/Main.txt"));
    EXPECT_FALSE(QFile::exists(folder + "/main.txt"));

    // The unit, byte for byte: 8-bit text, CR LF kept.
    EXPECT_EQ(readAll(folder + "/Texts.pas"),
              replaced(unitBefore, {{"'%d Eintr\xe4ge'", "'%d entries'"},
                                    {"'Datei nicht gefunden: %s'", "'File not found: %s'"},
                                    {"'Welcome to the address book'", "'Willkommen im Adre\xdf" "buch'"}}));
    EXPECT_EQ(readAll(folder + "/Demo.dpr"), dprBefore);

    // The dictionary learned the pairs as typed, without "&".
    translation::Dictionary& table = translation::DM().Table1;
    QMap<QString, QString> learned = formWords;
    learned.insert(unitWords);
    for (auto it = learned.cbegin(); it != learned.cend(); ++it) {
        translation::Proposals dests;
        const QString source = translation::withoutAmpersands(it.key());
        ASSERT_TRUE(table.find(source, &dests)) << str(source);
        EXPECT_EQ(dests[0], translation::withoutAmpersands(it.value())) << str(source);
    }
}

} // namespace
