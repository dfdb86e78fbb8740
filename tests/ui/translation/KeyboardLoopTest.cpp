// The whole translation loop on the real window, driven by the keyboard:
// open a copy of the demo project, translate entries of a form and of a unit,
// finish each page on the end line, then check the files on disk and the
// dictionary.
#include "tests/common/AppFixture.h"

#include "core/formfile/FormDocument.h"
#include "core/formfile/FormFile.h"
#include "model/ProjectFile.h"
#include "model/TextCodec.h"
#include "ui/project/ProjectFeature.h"
#include "ui/translation/TranslationBar.h"
#include "ui/translation/TranslationFeature.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>

namespace {

using lingrove::testing::readBytes;
namespace model = lingrove::model;

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

std::string formText(const QByteArray& bytes)
{
    std::string text;
    lingrove::formfile::ResourceToText(std::string_view(bytes.constData(), size_t(bytes.size())), text);
    return text;
}

QString latin(const char* text)
{
    return model::fromWindows1252(std::string_view(text));
}

// Types text as a keyboard of any layout would, letter by letter.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class KeyboardLoopTest : public lingrove::testing::AppTest {
protected:
    QWidget* focused() const { return QApplication::focusWidget(); }
    lingrove::ui::TranslationFeature& loop() { return app->translation(); }

    // Walks the string list of the active page from its first entry by the
    // keyboard: an entry with a translation in translations is located
    // (Enter), typed into the input and committed (Enter), any other one is
    // passed (Down). Enter on the end line finishes the page. Returns the
    // sources translated, in order.
    QStringList translatePage(const QMap<QString, QString>& translations)
    {
        QStringList done;
        QListView* list = loop().entryView();
        QLineEdit* input = loop().bar()->translationField();
        const model::StringListModel& rows = loop().session().list();
        EXPECT_EQ(focused(), list);
        QTest::keyClick(focused(), Qt::Key_Home);
        while (loop().selectedRow() < rows.endRow()) {
            const model::ListEntry* entry = rows.entry(loop().selectedRow());
            if (!entry || !translations.contains(entry->text)) {
                QTest::keyClick(focused(), Qt::Key_Down);
                continue;
            }
            QTest::keyClick(focused(), Qt::Key_Return);
            EXPECT_EQ(focused(), input) << entry->text.toStdString();
            if (focused() != input)
                return done;
            EXPECT_EQ(loop().bar()->sourceField()->text(), entry->text);
            const QString source = entry->text;
            typeText(focused(), translations[source]);
            QTest::keyClick(focused(), Qt::Key_Return);
            EXPECT_EQ(focused(), list);
            done << source;
        }
        QTest::keyClick(focused(), Qt::Key_Return);
        return done;
    }
};

TEST_F(KeyboardLoopTest, TranslateAFormAndAUnitByKeyboard)
{
    const QString dpr = copyDemo();
    const QByteArray formBefore = readBytes(project + "/Main.dfm");
    const QByteArray unitBefore = readBytes(project + "/Texts.pas");
    const QByteArray dprBefore = readBytes(project + "/Demo.dpr");
    makeTable("German_English");
    const QString projectFile =
        model::writeNewProjectFile({"demo_en", dir.path(), dpr, "German", "English", "German_English"});

    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QApplication::processEvents();
    ui->clear();

    app->project().openProjectFile(projectFile);
    ASSERT_TRUE(workspace().project().isOpen());
    ASSERT_TRUE(workspace().dictionary().isOpen());

    // The form: three entries, one translation with an apostrophe.
    pages().openPage("main.dfm");
    ASSERT_EQ(pages().activeCaption(), "main.dfm");
    loop().getStringsAction()->trigger();
    const QMap<QString, QString> formWords = {{latin("Adre\xdf" "buch"), "Address book"},
                                              {latin("&Hinzuf\xfcgen..."), "&Add..."},
                                              {"Bereit", "Ready, isn't it"}};
    EXPECT_EQ(translatePage(formWords).size(), 3);
    EXPECT_EQ(ui->texts("message"), QStringList({"The current file will saved and removed"}));
    EXPECT_TRUE(pages().isProjectPageActive());
    EXPECT_TRUE(loop().session().undoBuffer().isEmpty());

    // The unit: an 8-bit character typed into one translation.
    pages().openPage("texts.pas");
    loop().getStringsAction()->trigger();
    const QMap<QString, QString> unitWords = {{latin("%d Eintr\xe4ge"), "%d entries"},
                                              {"Welcome to the address book", latin("Willkommen im Adre\xdf" "buch")},
                                              {"Datei nicht gefunden: %s", "File not found: %s"}};
    EXPECT_EQ(translatePage(unitWords).size(), 3);
    EXPECT_EQ(ui->texts("message").size(), 2);
    EXPECT_EQ(pages().tabs()->count(), 1);
    EXPECT_FALSE(workspace().isProjectSaved());
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();

    // The form file holds the translations and nothing else changed: it is
    // the binary form of the page text that was written.
    const QByteArray written = replaced(QByteArray::fromStdString(formText(formBefore)),
                                        {{"'Adre\xdf" "buch'", "'Address book'"},
                                         {"'&Hinzuf\xfcgen...'", "'&Add...'"},
                                         {"'Bereit'", "'Ready, isn''t it'"}});
    const QByteArray savedForm = readBytes(project + "/Main.dfm");
    std::string expectedForm;
    lingrove::formfile::TextToResource(std::string_view(written.constData(), size_t(written.size())), expectedForm);
    EXPECT_EQ(savedForm, QByteArray::fromStdString(expectedForm));
    // Read back, the apostrophe is spelt #39.
    QByteArray readBack = written;
    readBack.replace("'Ready, isn''t it'", "'Ready, isn'#39't it'");
    EXPECT_EQ(formText(savedForm), readBack.toStdString());
    EXPECT_TRUE(leftOver("*.txt").isEmpty());

    // The unit, byte for byte: 8-bit text, CR LF kept.
    EXPECT_EQ(readBytes(project + "/Texts.pas"),
              replaced(unitBefore, {{"'%d Eintr\xe4ge'", "'%d entries'"},
                                    {"'Datei nicht gefunden: %s'", "'File not found: %s'"},
                                    {"'Welcome to the address book'", "'Willkommen im Adre\xdf" "buch'"}}));
    EXPECT_EQ(readBytes(project + "/Demo.dpr"), dprBefore);

    // The dictionary learned the pairs as typed, without "&".
    model::Dictionary& table = workspace().dictionary();
    QMap<QString, QString> learned = formWords;
    learned.insert(unitWords);
    for (auto it = learned.cbegin(); it != learned.cend(); ++it) {
        model::Proposals dests;
        const QString source = model::withoutAmpersands(it.key());
        ASSERT_TRUE(table.find(source, &dests)) << source.toStdString();
        EXPECT_EQ(dests[0], model::withoutAmpersands(it.value())) << source.toStdString();
    }
}

// The text forms of newer Delphis, in sub-folders, one of them a frame: the
// Windows-1252 form and the UTF-8 frame translate by the same keys and stay
// text files in their own encoding. Closing the window asks about every page
// with unsaved changes.
TEST_F(KeyboardLoopTest, TranslateTextFormsAndAFrameInSubFoldersByKeyboard)
{
    const QString dpr = copyExample("notes", "Notes.dpr");
    const QByteArray formBefore = readBytes(project + "/Forms/NoteMain.dfm");
    const QByteArray frameBefore = readBytes(project + "/Frames/Greeting.dfm");
    const QByteArray textsBefore = readBytes(project + "/Common/NoteTexts.pas");
    makeTable("German_English");
    const QString projectFile =
        model::writeNewProjectFile({"notes_en", dir.path(), dpr, "German", "English", "German_English"});
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    app->project().openProjectFile(projectFile);
    ASSERT_TRUE(workspace().project().isOpen());
    ui->clear();

    // The form: 8-bit text, its letters raw and as #nnn codes.
    pages().openPage("forms\\notemain.dfm");
    ASSERT_EQ(pages().activeCaption(), "forms\\notemain.dfm");
    loop().getStringsAction()->trigger();
    EXPECT_EQ(translatePage({{QString::fromUtf8("Notizbuch für alle"), "Notebook for everyone"},
                             {QString::fromUtf8("Schließen"), "Close"},
                             {QString::fromUtf8("Willkommen zurück!"), "Welcome back!"}})
                  .size(),
              3);
    EXPECT_EQ(readBytes(project + "/Forms/NoteMain.dfm"),
              replaced(formBefore, {{"  Caption = 'Notizbuch f'#252'r alle'", "  Caption = 'Notebook for everyone'"},
                                    {"    Caption = 'Schlie\xdf" "en'", "    Caption = 'Close'"},
                                    {"      Caption = 'Willkommen zur'#252'ck!'", "      Caption = 'Welcome back!'"}}));

    // The frame: UTF-8 with Cyrillic typed into it.
    pages().openPage("frames\\greeting.dfm");
    loop().getStringsAction()->trigger();
    EXPECT_EQ(translatePage({{QString::fromUtf8("Grüße aus Köln"), "Greetings from Cologne"},
                             {QString::fromUtf8("Привет"), QString::fromUtf8("Привет, мир")}})
                  .size(),
              2);
    const QByteArray frame = readBytes(project + "/Frames/Greeting.dfm");
    EXPECT_TRUE(frame.startsWith("\xEF\xBB\xBF"));
    const auto saved = lingrove::formfile::FormDocument::load(frame.toStdString());
    EXPECT_EQ(saved.format(), lingrove::formfile::FormFormat::Text);
    const QString page = QString::fromUtf8(saved.pageText());
    EXPECT_TRUE(page.contains("    Caption = 'Greetings from Cologne'\r\n")) << page.toStdString();
    EXPECT_TRUE(page.contains(QString::fromUtf8("    Hint = 'Привет, мир'\r\n"))) << page.toStdString();
    EXPECT_EQ(frame.size() - frameBefore.size(), QByteArray("Greetings from Cologne").size()
                                                     - QByteArray("Grüße aus Köln").size()
                                                     + QByteArray("'Привет, мир'").size()
                                                     - QByteArray("#1055#1088#1080#1074#1077#1090").size())
        << frame.toStdString();
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts().join('\n').toStdString();

    // Two units translated in part, not saved: closing the window asks for
    // each; Yes saves the first, No leaves the second as it was.
    const QByteArray unitBefore = readBytes(project + "/Forms/NoteMain.pas");
    for (const QString& name : {QString("common\\notetexts.pas"), QString("forms\\notemain.pas")}) {
        pages().openPage(name);
        loop().getStringsAction()->trigger();
        QTest::keyClick(focused(), Qt::Key_Home);
        QTest::keyClick(focused(), Qt::Key_Return);
        QTest::keyClicks(focused(), "Note saved.");
        QTest::keyClick(focused(), Qt::Key_Return);
    }
    ui->clear();
    ui->choices = {lingrove::ui::Answer::Yes, lingrove::ui::Answer::No};
    EXPECT_TRUE(window().close());
    EXPECT_EQ(ui->texts("choice"), QStringList({"Save changes to common\\notetexts.pas?",
                                                "Save changes to forms\\notemain.pas?"}));
    EXPECT_EQ(readBytes(project + "/Common/NoteTexts.pas"),
              replaced(textsBefore, {{"'Notiz gespeichert.'", "'Note saved.'"}}));
    EXPECT_EQ(readBytes(project + "/Forms/NoteMain.pas"), unitBefore);
}

} // namespace
