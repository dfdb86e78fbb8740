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
        return {name, folder, QStringLiteral("C:\\D\\demo.dpr"), QStringLiteral("Deutsch"),
                QStringLiteral("English"), QStringLiteral("Deutsch_English")};
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ProjectFileTest, ElevenLinesByteForByteAndReadBack)
{
    const NewProjectFields f = fields(QStringLiteral("Demo"), dir.path());
    const QString path = writeNewProjectFile(f);
    EXPECT_EQ(path, dir.filePath(QStringLiteral("Demo.lgv")));
    EXPECT_EQ(readAll(path),
              QByteArray("[General]\r\nProjectname=Demo\r\nProjectfolder=") + dir.path().toUtf8()
                  + "\r\nFilename=C:\\D\\demo.dpr\r\nSource=Deutsch\r\nDestination=English\r\n"
                    "Database=Deutsch_English\r\n[Resource]\r\nResname=\r\nFullresname=\r\nPosition=-1\r\n");

    // A file the wizard wrote has no [Files] and no [Opened].
    const ProjectFileContents c = readProjectFile(path);
    const Project expected = projectFromFields(f);
    EXPECT_EQ(c.project.name, expected.name);
    EXPECT_EQ(c.project.folder, expected.folder);
    EXPECT_EQ(c.project.delphiProjectFile, expected.delphiProjectFile);
    EXPECT_EQ(c.project.sourceLanguage, expected.sourceLanguage);
    EXPECT_EQ(c.project.destLanguage, expected.destLanguage);
    EXPECT_EQ(c.project.dictionaryTable, expected.dictionaryTable);
    EXPECT_EQ(c.project.resourceLine, -1);
    EXPECT_EQ(c.project.openedPosition, 0);
    EXPECT_TRUE(c.files.isEmpty());
    EXPECT_EQ(c.project.projectFilePath(), path);

    // A missing file opens no project.
    EXPECT_FALSE(readProjectFile(dir.filePath(QStringLiteral("nothing.lgv"))).project.isOpen());
}

TEST_F(ProjectFileTest, SaveWritesPagesAndPositionAndCanBeRepeated)
{
    Project p = projectFromFields(fields(QStringLiteral("Demo"), dir.path()));
    writeNewProjectFile(fields(QStringLiteral("Demo"), dir.path()));
    p.resourceName = QStringLiteral("VERSION.rc");
    p.resourceScript = QStringLiteral("C:\\D\\VERSION.rc");
    p.resourceLine = 7;
    const QStringList pages = {QStringLiteral("Demo.dpr"), QStringLiteral("unit1.pas"), QStringLiteral("unit1.dfm")};
    saveProjectFile(p, pages, QStringLiteral("unit1.dfm"), -1);
    saveProjectFile(p, pages, QStringLiteral("unit1.dfm"), -1);

    // The wizard's lines stay where they are; one [Files] (written anew at the
    // end), the project source left out.
    EXPECT_EQ(readAll(p.projectFilePath()).toStdString(),
              newProjectFileText(fields(QStringLiteral("Demo"), dir.path()))
                      .replace("Resname=\r\n", "Resname=VERSION.rc\r\n")
                      .replace("Fullresname=\r\n", "Fullresname=C:\\D\\VERSION.rc\r\n")
                      .replace("Position=-1\r\n", "Position=7\r\n")
                      .toStdString()
                  + "[Opened]\r\nFileInUse=unit1.dfm\r\nPosition=-1\r\n[Files]\r\nunit1.pas=1\r\nunit1.dfm=2\r\n");

    ProjectFileContents c = readProjectFile(p.projectFilePath());
    EXPECT_EQ(c.files, QStringList({"unit1.pas", "unit1.dfm"}));
    EXPECT_EQ(c.fileInUse, QStringLiteral("unit1.dfm"));
    EXPECT_EQ(c.project.openedPosition, -1);
    EXPECT_EQ(c.project.resourceName, QStringLiteral("VERSION.rc"));
    EXPECT_EQ(c.project.resourceScript, QStringLiteral("C:\\D\\VERSION.rc"));
    EXPECT_EQ(c.project.resourceLine, 7);
    EXPECT_EQ(c.project.dictionaryTable, QStringLiteral("Deutsch_English"));

    // The pages of the last save replace those of the one before.
    saveProjectFile(p, {QStringLiteral("Demo.DPR"), QStringLiteral("unit2.pas")}, QStringLiteral("Demo.DPR"), 4);
    c = readProjectFile(p.projectFilePath());
    EXPECT_EQ(c.files, QStringList({"unit2.pas"}));
    EXPECT_EQ(c.project.openedPosition, 4);
}

TEST_F(ProjectFileTest, TranslatedLiteralsSurviveAndAFailedSaveChangesNothing)
{
    Project p = projectFromFields(fields(QStringLiteral("Demo"), dir.path()));
    QFile::remove(p.projectFilePath());
    // Texts with blanks at their ends, apostrophes, "|" and characters
    // outside Windows-1252.
    p.translated.add(QStringLiteral("main.dfm"), 12, QStringLiteral("Name: "));
    p.translated.add(QStringLiteral("main.dfm"), 12, QStringLiteral(" It''s | ok"));
    p.translated.add(QStringLiteral("texts.pas"), 3, QStringLiteral("Привет"));
    saveProjectFile(p, {QStringLiteral("main.dfm")}, QStringLiteral("main.dfm"), 2);
    const QByteArray saved = [&] {
        QFile f(p.projectFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_EQ(readProjectFile(p.projectFilePath()).project.translated, p.translated);

    // A page name the format cannot hold stops the save before anything is written.
    Project changed = p;
    changed.translated = {};
    EXPECT_THROW(saveProjectFile(changed, {QStringLiteral("a=b.pas")}, QString(), 0), lingrove::platform::IniError);
    QFile f(p.projectFilePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), saved);
}

TEST_F(ProjectFileTest, SaveGoesToTheProjectsOwnFile)
{
    // A project file copied elsewhere is saved back to the file its folder
    // and name give.
    QDir(dir.path()).mkpath(QStringLiteral("home"));
    const QString own = writeNewProjectFile(fields(QStringLiteral("Moved"), dir.filePath(QStringLiteral("home"))));
    const QString copy = dir.filePath(QStringLiteral("copy.lgv"));
    ASSERT_TRUE(QFile::copy(own, copy));
    const Project p = readProjectFile(copy).project;
    saveProjectFile(p, {QStringLiteral("unit1.pas")}, QStringLiteral("unit1.pas"), 0);
    EXPECT_TRUE(readAll(own).contains("[Opened]"));
    EXPECT_FALSE(readAll(copy).contains("[Opened]"));
}

TEST(RecentProjects, AddFollowsTheTenEntryRule)
{
    RecentProjects r;
    for (const char* p : {"A", "B", "C", "B"})
        r.add(QString::fromLatin1(p));
    EXPECT_EQ(r.entries(), QStringList({"A", "B", "C"})) << "an entry already there keeps its place";
    r.add(QStringLiteral("b"));
    EXPECT_EQ(r.entries().size(), 4) << "letter case counts";

    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QStringLiteral("E%1").arg(i);
    r.setEntries(ten);
    r.add(QStringLiteral("N"));
    EXPECT_EQ(r.entries(), QStringList({"N"}) + ten.mid(0, 9));
}

TEST(RecentProjects, FileRoundTripAndMissingFile)
{
    QTemporaryDir dir;
    RecentProjects r;
    r.setEntries({QStringLiteral("x")});
    r.load(dir.filePath(QStringLiteral("none.dat")));
    EXPECT_EQ(r.entries(), QStringList("x")) << "a missing file leaves the list as it is";

    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QStringLiteral("/p/%1 \u00FC.lgv").arg(i);
    r.setEntries(many);
    const QString file = dir.filePath(QStringLiteral("mru.dat"));
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
    back.add(QStringLiteral("/p/\u041F.lgv"));
    ASSERT_TRUE(back.save(file));
    EXPECT_EQ(readAll(file), "C:\\\xC3\x9C" "bersetzung\\Demo.lgv\r\n/p/\xD0\x9F.lgv\r\n");
}
