// The project file (.lgv) and the recent projects (mru.dat).
#include "model/ProjectFile.h"
#include "model/RecentProjects.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    NewProjectFields fields(const QString& name, const QString& folder) const
    {
        return {name, folder, "C:\\D\\demo.dpr", "Deutsch", "English", "Deutsch_English"};
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ProjectFileTest, ElevenLinesByteForByteAndReadBack)
{
    const NewProjectFields f = fields("Demo", dir.path());
    const QString path = writeNewProjectFile(f);
    EXPECT_EQ(path, dir.filePath("Demo.lgv"));
    EXPECT_EQ(readAll(path),
              QByteArray("[General]\r\nProjectname=Demo\r\nProjectfolder=") + dir.path().toUtf8()
                  + "\r\nFilename=C:\\D\\demo.dpr\r\nSource=Deutsch\r\nDestination=English\r\n"
                    "Database=Deutsch_English\r\n[Resource]\r\nResname=\r\nFullresname=\r\nPosition=-1\r\n");

    // A file the wizard wrote has no [Files] and no [Opened].
    const ProjectFileContents c = readProjectFile(path);
    const Project& p = c.project;
    EXPECT_EQ(QStringList({p.name, p.folder, p.delphiProjectFile, p.sourceLanguage, p.destLanguage, p.dictionaryTable}),
              QStringList({"Demo", dir.path(), "C:\\D\\demo.dpr", "Deutsch", "English", "Deutsch_English"}));
    EXPECT_EQ(c.project.resourceLine, -1);
    EXPECT_EQ(c.project.openedPosition, 0);
    EXPECT_TRUE(c.files.isEmpty());
    EXPECT_EQ(c.project.projectFilePath(), path);

    // A missing file opens no project.
    EXPECT_FALSE(readProjectFile(dir.filePath("nothing.lgv")).project.isOpen());
}

TEST_F(ProjectFileTest, SaveWritesPagesAndPositionAndCanBeRepeated)
{
    Project p = projectFromFields(fields("Demo", dir.path()));
    writeNewProjectFile(fields("Demo", dir.path()));
    p.resourceName = "VERSION.rc";
    p.resourceScript = "C:\\D\\VERSION.rc";
    p.resourceLine = 7;
    const QStringList pages = {"Demo.dpr", "unit1.pas", "unit1.dfm"};
    saveProjectFile(p, pages, "unit1.dfm", -1);
    saveProjectFile(p, pages, "unit1.dfm", -1);

    // The wizard's lines stay where they are; one [Files] (written anew at the
    // end), the project source left out.
    EXPECT_EQ(readAll(p.projectFilePath()).toStdString(),
        newProjectFileText(fields("Demo", dir.path()))
                .replace("Resname=\r\n", "Resname=VERSION.rc\r\n")
                .replace("Fullresname=\r\n", "Fullresname=C:\\D\\VERSION.rc\r\n")
                .replace("Position=-1\r\n", "Position=7\r\n")
                .toStdString()
            + "[Opened]\r\nFileInUse=unit1.dfm\r\nPosition=-1\r\n[Files]\r\nunit1.pas=1\r\nunit1.dfm=2\r\n");

    ProjectFileContents c = readProjectFile(p.projectFilePath());
    EXPECT_EQ(c.files, QStringList({"unit1.pas", "unit1.dfm"}));
    EXPECT_EQ(c.fileInUse, "unit1.dfm");
    EXPECT_EQ(c.project.openedPosition, -1);
    EXPECT_EQ(c.project.resourceName, "VERSION.rc");
    EXPECT_EQ(c.project.resourceScript, "C:\\D\\VERSION.rc");
    EXPECT_EQ(c.project.resourceLine, 7);
    EXPECT_EQ(c.project.dictionaryTable, "Deutsch_English");

    // The pages of the last save replace those of the one before.
    saveProjectFile(p, {"Demo.DPR", "unit2.pas"}, "Demo.DPR", 4);
    c = readProjectFile(p.projectFilePath());
    EXPECT_EQ(c.files, QStringList({"unit2.pas"}));
    EXPECT_EQ(c.project.openedPosition, 4);
}

TEST_F(ProjectFileTest, TranslatedLiteralsSurviveAndAFailedSaveChangesNothing)
{
    Project p = projectFromFields(fields("Demo", dir.path()));
    QFile::remove(p.projectFilePath());
    // Texts with blanks at their ends, apostrophes, "|" and characters
    // outside Windows-1252.
    p.translated.add("main.dfm", 12, "Name: ");
    p.translated.add("main.dfm", 12, " It''s | ok");
    p.translated.add("texts.pas", 3, "Привет");
    saveProjectFile(p, {"main.dfm"}, "main.dfm", 2);
    const QByteArray saved = readAll(p.projectFilePath());
    EXPECT_EQ(readProjectFile(p.projectFilePath()).project.translated, p.translated);

    // A page name the format cannot hold stops the save before anything is written.
    Project changed = p;
    changed.translated = {};
    EXPECT_THROW(saveProjectFile(changed, {"a=b.pas"}, QString(), 0), lingrove::platform::IniError);
    EXPECT_EQ(readAll(p.projectFilePath()), saved);
}

// That a save goes to the project's own file, wherever it was opened from:
// tests/ui/project/ProjectTest.cpp.

TEST(RecentProjects, AddFollowsTheTenEntryRule)
{
    RecentProjects r;
    for (const char* p : {"A", "B", "C", "B"})
        r.add(QString::fromLatin1(p));
    EXPECT_EQ(r.entries(), QStringList({"A", "B", "C"})) << "an entry already there keeps its place";
    r.add("b");
    EXPECT_EQ(r.entries().size(), 4) << "letter case counts";

    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QString("E%1").arg(i);
    r.setEntries(ten);
    r.add("N");
    EXPECT_EQ(r.entries(), QStringList({"N"}) + ten.mid(0, 9));
}

TEST(RecentProjects, FileRoundTripAndMissingFile)
{
    QTemporaryDir dir;
    RecentProjects r;
    r.setEntries({"x"});
    r.load(dir.filePath("none.dat"));
    EXPECT_EQ(r.entries(), QStringList("x")) << "a missing file leaves the list as it is";

    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QString("/p/%1 \u00FC.lgv").arg(i);
    r.setEntries(many);
    const QString file = dir.filePath("mru.dat");
    ASSERT_TRUE(r.save(file));
    EXPECT_TRUE(readAll(file).startsWith("/p/0 \xFC.lgv\r\n/p/1")) << "8-bit where every character fits";
    RecentProjects back;
    back.load(file);
    EXPECT_EQ(back.entries(), many) << "a list longer than ten keeps its length";

    // A file an 8-bit program wrote, and one with a path the code page lacks.
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("C:\\\xDC" "bersetzung\\Demo.lgv\r\n");
    old.close();
    back.load(file);
    EXPECT_EQ(back.entries(), QStringList("C:\\\u00DCbersetzung\\Demo.lgv"));
    back.add("/p/\u041F.lgv");
    ASSERT_TRUE(back.save(file));
    EXPECT_EQ(readAll(file), "C:\\\xC3\x9C" "bersetzung\\Demo.lgv\r\n/p/\xD0\x9F.lgv\r\n");
}
