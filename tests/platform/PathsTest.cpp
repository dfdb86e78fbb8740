#include "platform/Paths.h"

#include "TestApp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove::platform;

namespace {

TEST(PathsTest, SplitToolPathAtTheLastSeparatorOrColon)
{
    const auto split = [](const char* p) {
        const SplitPath s = splitToolPath(p);
        return (s.folder + "|" + s.file).toStdString();
    };
    EXPECT_EQ(split("C:\\D\\bin\\dcc32.exe"), "C:\\D\\bin\\|dcc32.exe");
    EXPECT_EQ(split("C:dcc32.exe"), "C:|dcc32.exe");
    EXPECT_EQ(split("/opt/delphi/bin/dcc32"), "/opt/delphi/bin/|dcc32");
    EXPECT_EQ(split("C:\\Mixed/bin\\x.exe"), "C:\\Mixed/bin\\|x.exe");
    EXPECT_EQ(split("dcc32.exe"), "|dcc32.exe");
    EXPECT_EQ(split("C:\\D\\bin\\"), "C:\\D\\bin\\|");
    EXPECT_EQ(split(""), "|");
}

TEST(PathsTest, JoinedToolPathWithDoubledSeparatorStillOpens)
{
    // Folder as loaded from the store (trailing "\") joined with another separator.
    EXPECT_EQ(toNative(joinPath("C:\\D\\bin\\", "dcc32.exe")), "C:/D/bin//dcc32.exe");
    QTemporaryDir dir;
    QFile f(dir.filePath("dcc32.exe"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const SplitPath s = splitToolPath(QString(dir.path()).replace(u'/', u'\\') + "\\dcc32.exe");
    EXPECT_TRUE(QFile::exists(toNative(joinPath(s.folder, s.file))));
}

TEST(PathsTest, FolderAndFileNameParts)
{
    const std::pair<const char*, const char*> folders[] = {
        {"C:\\Lib\\Sub\\x.pas", "C:\\Lib\\Sub"}, {"C:\\x.pas", "C:\\"}, {"/x.pas", "/"},
        {"/home/u/a b/x.pas", "/home/u/a b"},   {"src/forms\\main.dfm", "src/forms"}, {"x.pas", ""}};
    for (const auto& [path, folder] : folders)
        EXPECT_EQ(folderOf(path), folder) << path;
    for (const char* path : {"C:\\Lib\\Sub\\x.pas", "src/forms\\x.pas", "C:x.pas", "x.pas"})
        EXPECT_EQ(fileNameOf(path), "x.pas") << path;
}

TEST(PathsTest, FindMatchesEachPartWithoutCaseAndPrefersTheExactSpelling)
{
    QTemporaryDir dir;
    for (const char* name : {"Forms/Sub Dir/Unit1.PAS", "unit1.pas", "Unit1.pas", "UNIT1.PAS"}) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString base = dir.path();
    EXPECT_EQ(findCaseInsensitive(base, "forms\\SUB DIR\\unit1.pas"), base + "/Forms/Sub Dir/Unit1.PAS");
    EXPECT_EQ(findCaseInsensitive(base, ".\\FORMS//sub dir/./UNIT1.pas"), base + "/Forms/Sub Dir/Unit1.PAS");
    EXPECT_EQ(findCaseInsensitive(base + u'/', "forms"), base + "/Forms");
    EXPECT_EQ(findCaseInsensitive(base + "/Forms", "..\\forms\\sub dir"), base + "/Forms/../Forms/Sub Dir");
    EXPECT_EQ(findCaseInsensitive(base, "forms\\unit2.pas"), QString());
    EXPECT_EQ(findCaseInsensitive(base, "nothing\\unit1.pas"), QString());
    EXPECT_EQ(findCaseInsensitive(base + "/missing", "x"), QString());

    EXPECT_EQ(findCaseInsensitive(base, "Unit1.pas"), base + "/Unit1.pas");
    EXPECT_EQ(findCaseInsensitive(base, "unit1.pas"), base + "/unit1.pas");
    EXPECT_FALSE(findCaseInsensitive(base, "uNIT1.pAS").isEmpty());
}

TEST(PathsTest, ProgramFolderFromEnvironmentOrExecutable)
{
    test::ensureCoreApp();
    const QByteArray saved = qgetenv("LINGROVE_HOME");
    qputenv("LINGROVE_HOME", "/tmp/lingrove-home/");
    EXPECT_EQ(programFolder(), "/tmp/lingrove-home");
    qunsetenv("LINGROVE_HOME");
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath());
    if (!saved.isEmpty())
        qputenv("LINGROVE_HOME", saved);
}

} // namespace
