#include "platform/Process.h"

#include "TestApp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace lingrove::platform;

namespace {

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureCoreApp(); }
    static ProcessResult sh(const QString& script, const QString& dir = {},
                            WindowMode mode = WindowMode::Hidden, const std::function<void()>& pump = {})
    {
        return runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, dir, mode, pump);
    }
};

TEST_F(ProcessTest, ExitCodeAndMergedOutput)
{
    const ProcessResult r = sh(QStringLiteral("echo out; echo err >&2; exit 3"));
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.output.contains("out\n"));
    EXPECT_TRUE(r.output.contains("err\n"));
    EXPECT_EQ(sh(QStringLiteral("true")).exitCode, 0);
}

TEST_F(ProcessTest, ArgumentsPassUnsplitAndWorkingFolderIsUsed)
{
    QTemporaryDir dir;
    const ProcessResult r = runAndWait(QStringLiteral("/bin/sh"),
                                       {QStringLiteral("-c"), QStringLiteral("pwd; printf '[%s]' \"$0\" \"$1\""),
                                        QStringLiteral("C:\\Work Dir\\Demo.dpr"), QStringLiteral("a b")},
                                       dir.path(), WindowMode::Hidden);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.output, QDir(dir.path()).canonicalPath().toUtf8() + "\n[C:\\Work Dir\\Demo.dpr][a b]");
}

TEST_F(ProcessTest, ProgramThatCannotStart)
{
    const ProcessResult r = runAndWait(QStringLiteral("/no/such/dcc32.exe"), {QStringLiteral("x.dpr")});
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.output.isEmpty());
}

TEST_F(ProcessTest, CrashIsReportedAsSuch)
{
    const ProcessResult r = sh(QStringLiteral("kill -SEGV $$"));
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.crashed);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST_F(ProcessTest, PumpRunsWhileWaiting)
{
    int pumps = 0;
    const ProcessResult r = sh(QStringLiteral("sleep 0.4; echo done"), {}, WindowMode::Hidden, [&] { ++pumps; });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "done\n");
    EXPECT_GE(pumps, 2);
}

TEST_F(ProcessTest, LargeOutputIsCollectedWhole)
{
    // More than a pipe holds: a reader that waited only for the end would hang.
    const ProcessResult r = sh(QStringLiteral("head -c 3000000 /dev/zero | tr '\\0' x; echo; echo end >&2"));
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output.count('x'), 3000000);
    EXPECT_TRUE(r.output.endsWith("end\n"));
}

TEST_F(ProcessTest, StartDetachedDoesNotWait)
{
    QTemporaryDir dir;
    const QString mark = dir.filePath(QStringLiteral("mark"));
    QString error;
    ASSERT_TRUE(startDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo x > mark")},
                              dir.path(), &error))
        << error.toStdString();
    for (int i = 0; i < 500 && !QFile::exists(mark); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(mark));

    EXPECT_FALSE(startDetached(QStringLiteral("/no/such/program"), {}, {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
