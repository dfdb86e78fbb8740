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
        const SplitPath s = splitToolPath(QString::fromLatin1(p));
        return (s.folder + QStringLiteral("|") + s.file).toStdString();
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
    EXPECT_EQ(joinPath(QStringLiteral("C:\\D\\bin\\"), QStringLiteral("dcc32.exe")), QStringLiteral("C:\\D\\bin\\/dcc32.exe"));
    EXPECT_EQ(toNative(QStringLiteral("C:\\D\\bin\\/dcc32.exe")), QStringLiteral("C:/D/bin//dcc32.exe"));

    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("dcc32.exe")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString stored = QDir::toNativeSeparators(dir.path()).replace(u'/', u'\\') + u'\\';
    const SplitPath s = splitToolPath(stored + QStringLiteral("dcc32.exe"));
    EXPECT_TRUE(QFile::exists(toNative(joinPath(s.folder, s.file))));
}

TEST(PathsTest, FolderAndFileNameParts)
{
    EXPECT_EQ(folderOf(QStringLiteral("C:\\Lib\\Sub\\x.pas")), QStringLiteral("C:\\Lib\\Sub"));
    EXPECT_EQ(folderOf(QStringLiteral("C:\\x.pas")), QStringLiteral("C:\\"));
    EXPECT_EQ(folderOf(QStringLiteral("/x.pas")), QStringLiteral("/"));
    EXPECT_EQ(folderOf(QStringLiteral("/home/u/a b/x.pas")), QStringLiteral("/home/u/a b"));
    EXPECT_EQ(folderOf(QStringLiteral("src/forms\\main.dfm")), QStringLiteral("src/forms"));
    EXPECT_EQ(folderOf(QStringLiteral("x.pas")), QString());
    EXPECT_EQ(fileNameOf(QStringLiteral("C:\\Lib\\Sub\\x.pas")), QStringLiteral("x.pas"));
    EXPECT_EQ(fileNameOf(QStringLiteral("src/forms\\main.dfm")), QStringLiteral("main.dfm"));
    EXPECT_EQ(fileNameOf(QStringLiteral("C:x.pas")), QStringLiteral("x.pas"));
    EXPECT_EQ(fileNameOf(QStringLiteral("x.pas")), QStringLiteral("x.pas"));
}

class FindTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    void touch(const QString& rel)
    {
        const QString full = dir.filePath(rel);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

TEST_F(FindTest, EachPartMatchesWithoutCase)
{
    touch(QStringLiteral("Forms/Sub Dir/Unit1.PAS"));
    const QString base = dir.path();
    EXPECT_EQ(findCaseInsensitive(base, QStringLiteral("forms\\SUB DIR\\unit1.pas")),
              base + QStringLiteral("/Forms/Sub Dir/Unit1.PAS"));
    EXPECT_EQ(findCaseInsensitive(base, QStringLiteral(".\\FORMS//sub dir/./UNIT1.pas")),
              base + QStringLiteral("/Forms/Sub Dir/Unit1.PAS"));
    EXPECT_EQ(findCaseInsensitive(base + u'/', QStringLiteral("forms")), base + QStringLiteral("/Forms"));
    EXPECT_EQ(findCaseInsensitive(base + QStringLiteral("/Forms"), QStringLiteral("..\\forms\\sub dir")),
              base + QStringLiteral("/Forms/../Forms/Sub Dir"));
    EXPECT_EQ(findCaseInsensitive(base, QStringLiteral("forms\\unit1.pas")), QString());
    EXPECT_EQ(findCaseInsensitive(base, QStringLiteral("nothing\\unit1.pas")), QString());
    EXPECT_EQ(findCaseInsensitive(base + QStringLiteral("/missing"), QStringLiteral("x")), QString());
}

TEST_F(FindTest, ExactSpellingWinsOverOtherCases)
{
    touch(QStringLiteral("unit1.pas"));
    touch(QStringLiteral("Unit1.pas"));
    touch(QStringLiteral("UNIT1.PAS"));
    const QString base = dir.path();
    EXPECT_EQ(findCaseInsensitive(base, QStringLiteral("Unit1.pas")), base + QStringLiteral("/Unit1.pas"));
    EXPECT_EQ(findCaseInsensitive(base, QStringLiteral("unit1.pas")), base + QStringLiteral("/unit1.pas"));
    EXPECT_FALSE(findCaseInsensitive(base, QStringLiteral("uNIT1.pAS")).isEmpty());
}

TEST(PathsTest, ProgramFolderFromEnvironmentOrExecutable)
{
    test::ensureCoreApp();
    const QByteArray saved = qgetenv("LINGROVE_HOME");
    qputenv("LINGROVE_HOME", "/tmp/lingrove-home/");
    EXPECT_EQ(programFolder(), QStringLiteral("/tmp/lingrove-home"));
    qunsetenv("LINGROVE_HOME");
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath());
    if (!saved.isEmpty())
        qputenv("LINGROVE_HOME", saved);
}

} // namespace
