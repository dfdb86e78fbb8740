// The units and forms that a project source names, found on disk as
// Windows finds them.
#include "model/ProjectSources.h"
#include "model/Settings.h"
#include "model/StringFilters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

class ProjectSourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"Unit1.pas", "Unit1.dfm", "HELLOF.PAS", "HELLOF.DFM", "Plain.pas",
                                 "frm/FrmInput.pas", "frm/frminput.dfm"})
            touch(QString::fromLatin1(name));
        source.setPlainText(QStringLiteral(
            "program Test;\nuses\n  Unit1 in 'Unit1.pas' {Form1},\n"
            "  Hellof in 'Hellof.pas', Plain in 'Plain.pas',\n"
            "  Missing in 'Missing.pas', FrmInput in 'Frm\\FrmInput.pas';\n"
            "{ again: 'Unit1.pas' and the folder 'frm' }\n"
            "begin\n  Application.Title := 'My Application';\nend.\n"));
    }
    void touch(const QString& rel)
    {
        const QString full = dir.filePath(rel);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ProjectSources find() { return findProjectSources(source, dir.path()); }

    QTemporaryDir dir;
    QTextDocument source;
};

} // namespace

TEST_F(ProjectSourcesTest, ExistingFilesAsWrittenWithDuplicatesAndTheirForms)
{
    const ProjectSources found = find();
    EXPECT_EQ(found.quotedNames, QStringList({"Unit1.pas", "Hellof.pas", "Plain.pas", "Missing.pas",
                                              "Frm\\FrmInput.pas", "Unit1.pas", "frm", "My Application"}));
    // A folder is no unit; a missing file is left out.
    EXPECT_EQ(found.units,
              QStringList({"Unit1.pas", "Hellof.pas", "Plain.pas", "Frm\\FrmInput.pas", "Unit1.pas"}));
    EXPECT_EQ(found.forms, QStringList({"Unit1.dfm", "Hellof.dfm", "Frm\\FrmInput.dfm", "Unit1.dfm"}));

    // Without a folder, only the names.
    EXPECT_TRUE(findProjectSources(source, QString()).units.isEmpty());
}

TEST_F(ProjectSourcesTest, NamesAreFoundWithoutRegardToCaseOrSeparator)
{
    FileFinder finder(dir.path());
    const QString base = dir.path();
    for (const auto& [name, expected] : std::initializer_list<std::pair<const char*, QString>>{
             {"hellof.pas", base + "/HELLOF.PAS"},
             {"FRM\\FRMINPUT.DFM", base + "/frm/frminput.dfm"},
             {".\\frm/./FrmInput.pas", base + "/frm/FrmInput.pas"},
             {"frm\\..\\unit1.PAS", base + "/frm/../Unit1.pas"},
             {"frm", QString()},
             {"Missing.pas", QString()},
             {"Nowhere\\Unit1.pas", QString()},
             {"   ", QString()},
         }) {
        EXPECT_EQ(finder.find(QString::fromLatin1(name)), expected) << name;
        EXPECT_EQ(findProjectFile(base, QString::fromLatin1(name)), expected) << name;
    }
    EXPECT_EQ(FileFinder(QString()).find(QStringLiteral("Unit1.pas")), QString());

    // Of names that differ only in case, the exact spelling wins.
    touch(QStringLiteral("unit1.pas"));
    EXPECT_EQ(FileFinder(base).find(QStringLiteral("unit1.pas")), base + "/unit1.pas");
    EXPECT_EQ(FileFinder(base).find(QStringLiteral("Unit1.pas")), base + "/Unit1.pas");
    EXPECT_EQ(findProjectFile(base, QStringLiteral("UNIT1.PAS")), FileFinder(base).find(QStringLiteral("UNIT1.PAS")));

    EXPECT_EQ(existingSpelling(base + "/hellof.dfm"), base + "/HELLOF.DFM");
    EXPECT_EQ(existingSpelling(base + "/none.dfm"), base + "/none.dfm");
    EXPECT_EQ(withExtension(QStringLiteral("frm.d\\Input.pas"), QStringLiteral(".dfm")),
              QStringLiteral("frm.d\\Input.dfm"));
    EXPECT_EQ(withExtension(QStringLiteral("frm.d/Input"), QStringLiteral(".dfm")), QStringLiteral("frm.d/Input.dfm"));
}
