// The units and forms that a project source names, found on disk as
// Windows finds them.
#include "model/ProjectSources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

// The files of the project of tests/ui/pages/TreeTest.cpp, which checks what
// the tree lists of them.
class ProjectSourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"Unit1.pas", "HELLOF.PAS", "HELLOF.DFM", "frm/FrmInput.pas", "frm/frminput.dfm"})
            touch(name);
    }
    void touch(const QString& rel)
    {
        const QString full = dir.filePath(rel);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
};

} // namespace

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
    EXPECT_EQ(FileFinder(QString()).find("Unit1.pas"), QString());
    QTextDocument source;
    source.setPlainText("uses Unit1 in 'Unit1.pas';");
    EXPECT_TRUE(findProjectSources(source, QString()).units.isEmpty()) << "without a folder, only the names";

    // Of names that differ only in case, the exact spelling wins.
    touch("unit1.pas");
    EXPECT_EQ(FileFinder(base).find("unit1.pas"), base + "/unit1.pas");
    EXPECT_EQ(FileFinder(base).find("Unit1.pas"), base + "/Unit1.pas");
    EXPECT_EQ(findProjectFile(base, "UNIT1.PAS"), FileFinder(base).find("UNIT1.PAS"));

    EXPECT_EQ(existingSpelling(base + "/hellof.dfm"), base + "/HELLOF.DFM");
    EXPECT_EQ(existingSpelling(base + "/none.dfm"), base + "/none.dfm");
    EXPECT_EQ(withExtension("frm.d\\Input.pas", ".dfm"), "frm.d\\Input.dfm");
    EXPECT_EQ(withExtension("frm.d/Input", ".dfm"), "frm.d/Input.dfm");
}
