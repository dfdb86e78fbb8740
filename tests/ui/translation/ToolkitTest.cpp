// The translator's tools around the loop, in the window: similar matches on
// the proposal buttons, the checks of a commit and their list, the
// statistics, pre-translating the project, and the dictionary window's
// export and import.
#include "LoopFixture.h"

#include "model/DictionaryExchange.h"
#include "model/ProjectStatistics.h"
#include "ui/project/ProjectFeature.h"
#include "ui/project/StatisticsWindow.h"
#include "ui/translation/ChecksWindow.h"
#include "ui/translation/DictionaryExchangeCommands.h"
#include "ui/translation/DictionaryWindow.h"
#include "ui/translation/PreTranslationWindow.h"
#include "ui/translation/ProjectPreTranslation.h"
#include "ui/translation/UndoWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using lingrove::testing::readBytes;
using lingrove::testing::writeBytes;
namespace model = lingrove::model;
namespace ui = lingrove::ui;
using Kind = model::CheckWarning::Kind;

QByteArray crlf(const QByteArray& text)
{
    QByteArray out = text;
    return out.replace("\n", "\r\n");
}

const QByteArray kMainUnit = crlf("unit Main;\n"
                                  "interface\n"
                                  "implementation\n"
                                  "{$R *.DFM}\n"
                                  "const\n"
                                  "  Saved = 'Saved %d files';\n"
                                  "  Title = 'Shop';\n"
                                  "end.\n");

// Two buttons side by side: "&Save" (Alt+S) and "&Close" (Alt+C).
const QByteArray kMainForm = crlf("object MainForm: TMainForm\n"
                                  "  Left = 0\n"
                                  "  Top = 0\n"
                                  "  Width = 300\n"
                                  "  Height = 200\n"
                                  "  Caption = 'Shop'\n"
                                  "  Font.Charset = DEFAULT_CHARSET\n"
                                  "  Font.Color = clWindowText\n"
                                  "  Font.Height = -11\n"
                                  "  Font.Name = 'MS Sans Serif'\n"
                                  "  Font.Style = []\n"
                                  "  PixelsPerInch = 96\n"
                                  "  TextHeight = 13\n"
                                  "  object SaveButton: TButton\n"
                                  "    Left = 8\n"
                                  "    Top = 8\n"
                                  "    Width = 75\n"
                                  "    Height = 25\n"
                                  "    Caption = '&Save'\n"
                                  "    TabOrder = 0\n"
                                  "  end\n"
                                  "  object CloseButton: TButton\n"
                                  "    Left = 96\n"
                                  "    Top = 8\n"
                                  "    Width = 75\n"
                                  "    Height = 25\n"
                                  "    Caption = '&Close'\n"
                                  "    TabOrder = 1\n"
                                  "  end\n"
                                  "end\n");

const QByteArray kTextsUnit = crlf("unit Texts;\n"
                                   "interface\n"
                                   "const\n"
                                   "  Hello = 'Hello';\n"
                                   "  Bye = 'Good bye';\n"
                                   "  Again = 'Hello';\n"
                                   "implementation\n"
                                   "end.\n");

// A project of a unit with its form and a unit of texts, its table "Words".
class ToolkitTest : public lingrove::testing::LoopTest {
protected:
    void SetUp() override
    {
        LoopTest::SetUp();
        writeBytes(project + "/main.pas", kMainUnit);
        writeBytes(project + "/main.dfm", kMainForm);
        writeBytes(project + "/texts.pas", kTextsUnit);
        const QString dpr = project + "/Shop.dpr";
        writeBytes(dpr, crlf("program Shop;\nuses\n  Forms,\n  Main in 'main.pas' {MainForm},\n"
                             "  Texts in 'texts.pas';\nbegin\nend.\n"));
        openProjectSource(dpr, "Words");
        ASSERT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
    }

    // Opens the page name, collects its list and locates the entry that reads text.
    void locateText(const QString& name, const QString& text)
    {
        if (!pages().activatePage(name))
            pages().openPage(name);
        ASSERT_EQ(pages().activeCaption(), name);
        loop().collect();
        const model::StringListModel& list = loop().session().list();
        for (int row = 0; row < list.entryCount(); ++row) {
            if (list.entry(row)->text == text) {
                locate(row);
                return;
            }
        }
        FAIL() << "no entry " << text.toStdString();
    }
    void enter() { QTest::keyClick(bar().translationField(), Qt::Key_Return); }
    QString hint() { return window().statusBar()->currentMessage(); }
    ui::ChecksWindow& checks() { return *loop().checksWindow(); }
};

TEST_F(ToolkitTest, SimilarMatchesWaitOnTheirButtonsUntilChosen)
{
    ASSERT_TRUE(dictionary().store("Save the file", "Datei speichern"));
    ASSERT_TRUE(dictionary().store("Print", "Drucken"));
    ASSERT_TRUE(dictionary().store("Prints", "Druckt"));
    page("a := 'Save the files';\nb := 'Print';\n");
    loop().collect();

    // Only a similar match: shown on S1 with its similarity and source, but
    // the input stays empty, no button is down, and Enter does not write it.
    locate(0);
    const ui::ProposalSlot& first = loop().proposalSlots()[0];
    EXPECT_TRUE(first.isSimilar());
    EXPECT_EQ(first.source, "Save the file");
    EXPECT_EQ(first.similarity, 92);
    EXPECT_TRUE(bar().proposalButton(0)->text().startsWith("92% Datei")) << bar().proposalButton(0)->text().toStdString();
    EXPECT_TRUE(bar().proposalButton(0)->toolTip().contains("Save the file"));
    EXPECT_TRUE(bar().translationField()->text().isEmpty());
    EXPECT_EQ(loop().selectedProposal(), -1);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(bar().proposalButton(i)->isChecked()) << i;
    enter();
    EXPECT_FALSE(line(1).contains("Datei"));

    // Chosen by a click, it is written and learnt for this source.
    bar().undoButton()->click();
    ASSERT_EQ(line(1), "a := 'Save the files';");
    locate(0);
    bar().proposalButton(0)->click();
    EXPECT_EQ(bar().translationField()->text(), "Datei speichern");
    enter();
    EXPECT_EQ(line(1), "a := 'Datei speichern';");
    model::Proposals dests;
    ASSERT_TRUE(dictionary().find("Save the files", &dests));
    EXPECT_EQ(dests[0], "Datei speichern");

    // An exact proposal goes into the input as before; the similar one
    // fills a free slot and comes by F2 or its key only.
    locate(1);
    EXPECT_EQ(bar().translationField()->text(), "Drucken");
    EXPECT_TRUE(bar().proposalButton(0)->isChecked());
    EXPECT_FALSE(loop().proposalSlots()[0].isSimilar());
    EXPECT_TRUE(loop().proposalSlots()[1].isSimilar());
    EXPECT_FALSE(bar().proposalButton(2)->isEnabled());
    QTest::keyClick(bar().translationField(), Qt::Key_F2);
    EXPECT_EQ(bar().translationField()->text(), "Druckt");
    QTest::keyClick(bar().translationField(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(bar().translationField()->text(), "Drucken");
    QTest::keyClick(bar().translationField(), Qt::Key_2, Qt::ControlModifier);
    enter();
    EXPECT_EQ(line(2), "b := 'Druckt';");
}

TEST_F(ToolkitTest, CommitWarningsAreListedAndSteppingLocatesThem)
{
    // A format argument of another type in a unit.
    locateText("main.pas", "Saved %d files");
    bar().translationField()->setText("%s Dateien gespeichert");
    enter();
    EXPECT_TRUE(hint().startsWith("main.pas line 6: ")) << hint().toStdString();
    ASSERT_EQ(checks().items().size(), 1u);
    EXPECT_EQ(checks().items()[0].warning.kind, Kind::Format);
    EXPECT_TRUE(loop().checksIndicator()->isVisibleTo(&window()));

    // On the form, the translated caption takes the key of its neighbour.
    // UNDO takes the translation and its warnings away.
    auto clashes = [this] {
        std::vector<ui::CheckItem> found;
        for (const ui::CheckItem& i : checks().items())
            if (i.warning.kind == Kind::AcceleratorClash)
                found.push_back(i);
        return found;
    };
    locateText("main.dfm", "&Close");
    bar().translationField()->setText("&Schließen");
    enter();
    ASSERT_EQ(clashes().size(), 1u);
    bar().undoButton()->click();
    EXPECT_TRUE(clashes().empty());
    locateText("main.dfm", "&Close");
    bar().translationField()->setText("&Schließen");
    enter();
    ASSERT_EQ(clashes().size(), 1u);
    const ui::CheckItem clash = clashes()[0];
    EXPECT_EQ(clash.page, "main.dfm");
    EXPECT_EQ(clash.line, 27);
    EXPECT_EQ(clash.warning.clashWith, "SaveButton");
    EXPECT_TRUE(hint().startsWith("main.dfm line 27: ")) << hint().toStdString();

    // Stepping to the unit's warning opens its page again (saved and closed
    // meanwhile) and locates the translation.
    ASSERT_TRUE(pages().activatePage("main.pas"));
    ASSERT_TRUE(pages().saveActivePage());
    pages().closeActivePage();
    ASSERT_FALSE(captions().contains("main.pas"));
    checks().activate(0);
    EXPECT_EQ(pages().activeCaption(), "main.pas");
    EXPECT_EQ(selection(), qMakePair(QString("%s Dateien gespeichert"), 6));
    EXPECT_EQ(bar().sourceField()->text(), "%s Dateien gespeichert");

    // Put right, its warning goes: the new translation is checked against
    // the text it translates, not against the wrong translation.
    bar().translationField()->setText("%d Dateien gespeichert");
    enter();
    ASSERT_FALSE(checks().items().empty());
    for (const ui::CheckItem& item : checks().items())
        EXPECT_EQ(item.page, "main.dfm") << item.warning.message.toStdString();

    // The next one is the form's entry.
    checks().next();
    EXPECT_EQ(pages().activeCaption(), "main.dfm");
    EXPECT_EQ(selection(), qMakePair(QString("&Schließen"), 27));
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
}

TEST_F(ToolkitTest, StatisticsCountOpenPagesAsTheyStand)
{
    ASSERT_TRUE(dictionary().store("Hello", "Hallo"));
    ASSERT_TRUE(dictionary().store("Shop", "Laden"));
    // Translated in the window, not saved.
    locateText("texts.pas", "Good bye");
    bar().translationField()->setText("Auf Wiedersehen");
    enter();

    app->project().statisticsAction()->trigger();
    ui::StatisticsWindow& window = app->project().statisticsWindow();
    EXPECT_TRUE(window.isVisible());
    const model::ProjectStatistics& s = window.statistics();
    QStringList names;
    for (const model::PageStatistics& p : s.pages)
        names << p.name;
    EXPECT_EQ(names, QStringList({"main.pas", "texts.pas", "main.dfm"}));
    // texts.pas: three entries, "Auf Wiedersehen" translated, the two
    // "Hello" have a stored translation.
    EXPECT_EQ(s.pages[1].entries, 3);
    EXPECT_EQ(s.pages[1].translated, 1);
    EXPECT_EQ(s.pages[1].exactMatches, 2);
    EXPECT_EQ(s.pages[1].remainingWords, 2);
    EXPECT_EQ(s.total.entries, s.pages[0].entries + s.pages[1].entries + s.pages[2].entries);
    EXPECT_EQ(s.total.translated, 1);

    QTableWidget* table = window.table();
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->item(3, 0)->text(), "Project");
    EXPECT_EQ(table->item(1, 2)->text(), "1");
    EXPECT_EQ(table->item(3, 1)->text(), QString::number(s.total.entries));
    EXPECT_TRUE(window.summary()->text().startsWith(QString("1 of %1 entries translated").arg(s.total.entries)));
}

TEST_F(ToolkitTest, PreTranslationWritesOpenPagesInTheWindowAndOtherFilesOnDisk)
{
    ASSERT_TRUE(dictionary().store("Hello", "Hallo"));
    ASSERT_TRUE(dictionary().store("Shop", "Laden"));
    ASSERT_TRUE(dictionary().store("&Close", "&Schließen"));
    // texts.pas open and changed by hand.
    locateText("texts.pas", "Good bye");
    bar().translationField()->setText("Auf Wiedersehen");
    enter();
    QPlainTextEdit* texts = pages().activeFileEditor();
    const QString textsBefore = texts->toPlainText();
    const int undoBefore = loop().session().undoBuffer().count();
    ui->clear();

    // The preview writes nothing, anywhere, and asks nothing.
    const auto preview = loop().preTranslate(true);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_EQ(preview->report.writtenEntries(), 5);   // 2 in texts.pas, Shop twice, &Close
    EXPECT_EQ(texts->toPlainText(), textsBefore);
    EXPECT_EQ(loop().session().undoBuffer().count(), undoBefore);
    EXPECT_EQ(readBytes(project + "/main.pas"), kMainUnit);
    EXPECT_EQ(readBytes(project + "/main.dfm").indexOf("Laden"), -1);
    EXPECT_FALSE(workspace().project().translated.contains("main.pas", 7, "Laden"));
    ui::PreTranslationWindow& report = *loop().preTranslationWindow();
    EXPECT_TRUE(report.isVisible());
    EXPECT_TRUE(report.translateButton()->isVisibleTo(&report));
    EXPECT_TRUE(report.summary()->text().startsWith("Preview: 5 entries in 3 files")) << report.summary()->text().toStdString();

    // Declined: nothing either.
    ui->answers = {false};
    EXPECT_FALSE(loop().preTranslate(false));
    EXPECT_EQ(readBytes(project + "/main.pas"), kMainUnit);

    // Done from the preview's button: the open page is translated in the
    // window (changed, not saved), the other files on disk.
    ui->answers = {true};
    report.translateButton()->click();
    EXPECT_EQ(ui->texts("question").size(), 2);
    EXPECT_TRUE(texts->toPlainText().contains("Hello = 'Hallo';"));
    EXPECT_TRUE(texts->toPlainText().contains("Again = 'Hallo';"));
    EXPECT_TRUE(texts->document()->isModified());
    EXPECT_EQ(readBytes(project + "/texts.pas"), kTextsUnit);
    EXPECT_TRUE(readBytes(project + "/main.pas").contains("Title = 'Laden';"));
    EXPECT_TRUE(readBytes(project + "/main.dfm").contains("Laden"));
    EXPECT_TRUE(workspace().project().translated.contains("main.pas", 7, "Laden"));
    EXPECT_TRUE(report.summary()->text().startsWith("5 entries in 3 files pre-translated"));

    // The string list shows the active page again, its entries marked;
    // UNDO takes the page's pre-translations back one by one.
    EXPECT_EQ(rows(loop().changedView()), QStringList({" Yes ", " Yes ", " Yes ", "****"}));
    EXPECT_EQ(loop().session().undoBuffer().count(), undoBefore + 2);
    bar().undoButton()->click();
    bar().undoButton()->click();
    EXPECT_EQ(line(4), "  Hello = 'Hello';");
    EXPECT_EQ(line(5), "  Bye = 'Auf Wiedersehen';");
    EXPECT_EQ(line(6), "  Again = 'Hello';");
}

TEST_F(ToolkitTest, DictionaryWindowExportsAndImportsTheTableItShows)
{
    ASSERT_TRUE(dictionary().store("Hello", "Hallo"));
    ASSERT_TRUE(dictionary().store("Hello", "Servus"));
    ASSERT_TRUE(dictionary().store("Good bye", "Auf Wiedersehen"));
    ui::DictionaryWindow& window = *loop().dictionaryWindow();
    ui::DictionaryExchangeCommands& exchange = *loop().dictionaryExchange();
    window.showAndRaise();
    ASSERT_EQ(window.tableName(), "Words");

    QString summary;
    QStringList details;
    auto readReport = [&](QDialog& dialog) {
        auto* report = qobject_cast<ui::ExchangeReportDialog*>(&dialog);
        summary = report ? report->summary() : QString("<no report>");
        details = report ? report->details() : QStringList();
        return int(QDialog::Accepted);
    };
    for (const QString& ext : {QString("tmx"), QString("po"), QString("xlf")}) {
        SCOPED_TRACE(ext.toStdString());
        const QString file = dir.path() + "/words." + ext;
        ui->files = {file};
        ui->dialogs = {readReport};
        ASSERT_TRUE(exchange.exportTable());
        EXPECT_EQ(summary, QString("3 units of the table Words written to %1.").arg(file));

        // Into the table "Other": new sources added, its own translation
        // kept and the file's differing ones reported.
        makeTable("Imported" + ext, {{"Hello", "Grüß Gott"}});
        ASSERT_TRUE(window.openTable("Imported" + ext));
        ui->files = {file};
        ui->dialogs = {readReport};
        ASSERT_TRUE(exchange.importFile());
        EXPECT_TRUE(summary.contains("1 added, 0 updated, 1 conflicting")) << summary.toStdString();
        ASSERT_EQ(details.size(), 1);
        EXPECT_TRUE(details[0].contains("Hallo")) << details[0].toStdString();
        EXPECT_EQ(window.model()->rowCount(), 2);
        model::Dictionary imported;
        model::Proposals dests;
        ASSERT_TRUE(imported.open("Imported" + ext));
        ASSERT_TRUE(imported.find("Good bye", &dests));
        EXPECT_EQ(dests[0], "Auf Wiedersehen");
        ASSERT_TRUE(imported.find("Hello", &dests));
        EXPECT_EQ(dests[0], "Grüß Gott");
        EXPECT_TRUE(dests[1].isEmpty());
        ASSERT_TRUE(window.openTable("Words"));
    }
    EXPECT_TRUE(ui->texts("error").isEmpty()) << ui->texts("error").join("\n").toStdString();
}

} // namespace
