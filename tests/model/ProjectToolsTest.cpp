// Statistics and pre-translation on a project of our own: an 8-bit unit, a
// UTF-8 unit, a binary form and a file that is no source.
#include "DictionaryFixture.h"

#include "core/formfile/FormFile.h"
#include "model/PreTranslation.h"
#include "model/ProjectStatistics.h"
#include "model/Workspace.h"

#include <QDir>
#include <QFile>

using namespace lingrove;
using namespace lingrove::model;
using lingrove::model::testing::DictionaryFolderTest;
using lingrove::model::testing::str;

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
    f.write(bytes);
}

const char* kFormText = "object MainForm: TMainForm\r\n"
                        "  Caption = 'Bitte warten'\r\n"
                        "  object OpenButton: TButton\r\n"
                        "    Width = 75\r\n"
                        "    Caption = '&Speichern'\r\n"
                        "  end\r\n"
                        "end\r\n";

class ProjectToolsTest : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        dir = home_.filePath("project");
        QDir().mkpath(dir);
        writeAll(dir + "/Demo.dpr", "program Demo;\r\nuses\r\n  Main in 'Main.pas' {MainForm},\r\n"
                                    "  Utf in 'UTF.PAS';\r\n{$R 'notes.txt'}\r\nbegin\r\nend.\r\n");
        // 8-bit, CR LF: an umlaut, a doubled apostrophe, a stored
        // translation already written, one the file cannot hold, one of
        // several, an unknown text.
        mainPas = "unit Main;\r\nbegin\r\n  A := 'Datei \xf6" "ffnen';\r\n  B := 'It''s done';\r\n"
                  "  C := 'Done'; D := 'Japanisch';\r\n  E := '&Speichern'; F := 'Unbekannt text';\r\nend.\r\n";
        writeAll(dir + "/Main.pas", mainPas);
        writeAll(dir + "/Utf.pas", "\xEF\xBB\xBFunit Utf;\nconst J = 'Japanisch';\n");
        writeAll(dir + "/notes.txt", "'Datei öffnen'");
        std::string form;
        formfile::TextToResource(kFormText, form);
        writeAll(dir + "/Main.dfm", QByteArray::fromStdString(form));

        makeTable("Words", {{"Datei öffnen", "Open the user's file"},
                            {"Bitte warten", "Please wait"},
                            {"Anything", "Done"},
                            {"Japanisch", "日本語"},
                            {"Speichern", "Save"},
                            {"Speichern", "Store"},
                            {"Unbekannt text", "Two\nlines"}});
        project.name = "Demo";
        project.delphiProjectFile = dir + "/Demo.dpr";
        project.dictionaryTable = "Words";
        workspace.setProject(project);
        ASSERT_TRUE(workspace.dictionary().open("Words"));
        QString why;
        ASSERT_TRUE(listProjectPages(project, &pages, &why)) << str(why);
    }

    ProjectStatistics statistics()
    {
        DictionaryIndex index;
        EXPECT_TRUE(index.read(workspace.dictionary()));
        return projectStatistics(pages, workspace.settings(), index);
    }

    QString dir;
    QByteArray mainPas;
    Project project;
    Workspace workspace;
    std::vector<ProjectPage> pages;
};

TEST_F(ProjectToolsTest, PagesAreTheTreesUnitsAndForms)
{
    QStringList names;
    for (const ProjectPage& p : pages)
        names << p.name + (p.isSource ? "" : " (no source)");
    EXPECT_EQ(names, QStringList({"main.pas", "utf.pas", "notes.txt (no source)", "main.dfm"}));
}

TEST_F(ProjectToolsTest, StatisticsCountEntriesTranslatedRemainingAndWords)
{
    const ProjectStatistics s = statistics();
    ASSERT_EQ(s.pages.size(), 3u) << "the text file is left out";
    const PageStatistics& unit = s.pages[0];
    EXPECT_EQ(unit.entries, 6);
    EXPECT_EQ(unit.translated, 1) << "'Done' is a stored translation";
    EXPECT_EQ(unit.exactMatches, 4);
    EXPECT_EQ(unit.words, 9);
    EXPECT_EQ(unit.remainingWords, 8);
    EXPECT_EQ(s.total.entries, 6 + 1 + 2);
    EXPECT_EQ(s.total.remaining, s.total.entries - s.total.translated);
    EXPECT_EQ(countWords(" Save  as... - 3.5 file's  日本語 "), 5);
}

TEST_F(ProjectToolsTest, PreTranslationWritesExactMatchesThroughCommit)
{
    PreTranslator dry(workspace);
    const PreTranslationReport preview = dry.translateProject(pages, true);
    EXPECT_EQ(preview.writtenEntries(), 5);
    EXPECT_EQ(readAll(dir + "/Main.pas"), mainPas) << "a dry run writes nothing";
    EXPECT_TRUE(workspace.project().translated.isEmpty()) << "nor marks anything translated";

    const QByteArray form = readAll(dir + "/Main.dfm");
    PreTranslator translator(workspace);
    const PreTranslationReport report = translator.translateProject(pages, false);
    EXPECT_EQ(report.changedFiles(), 3);
    EXPECT_EQ(report.problems(), 0);
    EXPECT_EQ(readAll(dir + "/Main.pas"),
              "unit Main;\r\nbegin\r\n  A := 'Open the user''s file';\r\n  B := 'It''s done';\r\n"
              "  C := 'Done'; D := 'Japanisch';\r\n  E := 'Save'; F := 'Unbekannt text';\r\nend.\r\n");
    EXPECT_EQ(readAll(dir + "/Utf.pas"), "\xEF\xBB\xBFunit Utf;\nconst J = '日本語';\n");
    // Each written literal is marked translated on its page, as a commit by hand marks it.
    EXPECT_TRUE(workspace.project().translated.contains("main.pas", 3, "Open the user''s file"));
    EXPECT_TRUE(workspace.project().translated.contains("utf.pas", 2, "日本語"));

    const std::vector<PreTranslatedEntry>& unit = report.files[0].entries;
    ASSERT_EQ(unit.size(), 4u);
    EXPECT_EQ(unit[0].line, 3);
    EXPECT_EQ(unit[0].column, 9);
    EXPECT_EQ(unit[1].source, "Japanisch");
    EXPECT_TRUE(unit[1].skipped.contains("cannot be written")) << str(unit[1].skipped);
    EXPECT_EQ(unit[2].translation, "Save");
    EXPECT_EQ(unit[2].alternatives, 1);
    ASSERT_EQ(unit[2].warnings.size(), 1u);
    EXPECT_EQ(unit[2].warnings[0].kind, CheckWarning::Kind::Accelerator);
    EXPECT_TRUE(unit[3].skipped.contains("line break")) << str(unit[3].skipped);

    // The form: both captions written, everything else as it was.
    std::string text;
    formfile::ResourceToText(readAll(dir + "/Main.dfm").toStdString(), text);
    QString expected = kFormText;
    expected.replace("'Bitte warten'", "'Please wait'").replace("'&Speichern'", "'Save'");
    EXPECT_EQ(QString::fromStdString(text), expected);
    EXPECT_NE(readAll(dir + "/Main.dfm"), form);

    // Done once, nothing is left to do; the figures say so.
    PreTranslator again(workspace);
    EXPECT_EQ(again.translateProject(pages, false).writtenEntries(), 0);
    const ProjectStatistics s = statistics();
    EXPECT_EQ(s.total.entries, 9);
    EXPECT_EQ(s.total.translated, 6);
    EXPECT_EQ(s.total.exactMatches, 2) << "'Japanisch' in the 8-bit unit, the text of two lines";
}

TEST_F(ProjectToolsTest, FileThatCannotBeWrittenIsReportedAndKept)
{
    QFile::setPermissions(dir + "/Main.pas", QFileDevice::ReadOwner);
    PreTranslator translator(workspace);
    const PreTranslationReport report = translator.translateProject(pages, false);
    QFile::setPermissions(dir + "/Main.pas", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(report.problems(), 1);
    EXPECT_FALSE(report.files[0].problem.isEmpty());
    EXPECT_EQ(readAll(dir + "/Main.pas"), mainPas);
    EXPECT_EQ(report.changedFiles(), 2);
}

} // namespace
