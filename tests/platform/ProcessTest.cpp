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
    static ProcessResult sh(const QString& script, const std::function<void()>& pump = {})
    {
        return runAndWait("/bin/sh", {"-c", script}, {}, WindowMode::Hidden, pump);
    }
};

TEST_F(ProcessTest, ArgumentsPassUnsplitAndWorkingFolderIsUsed)
{
    QTemporaryDir dir;
    const QStringList arguments = {"-c", "pwd; printf '[%s]' \"$0\" \"$1\"", "C:\\Work Dir\\Demo.dpr", "a b"};
    const ProcessResult r = runAndWait("/bin/sh", arguments, dir.path(), WindowMode::Hidden);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.output, QDir(dir.path()).canonicalPath().toUtf8() + "\n[C:\\Work Dir\\Demo.dpr][a b]");
}

TEST_F(ProcessTest, FailuresToStartAndCrashesAreReported)
{
    ProcessResult r = runAndWait("/no/such/dcc32.exe", {"x.dpr"});
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.output.isEmpty());

    r = sh("kill -SEGV $$");
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.crashed);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST_F(ProcessTest, PumpRunsWhileWaiting)
{
    int pumps = 0;
    const ProcessResult r = sh("sleep 0.4; echo done", [&] { ++pumps; });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "done\n");
    EXPECT_GE(pumps, 2);
}

TEST_F(ProcessTest, LargeOutputIsCollectedWholeWithErrorsAndExitCode)
{
    // More than a pipe holds: a reader that waited only for the end would hang.
    const ProcessResult r = sh("head -c 3000000 /dev/zero | tr '\\0' x; echo; echo end >&2; exit 3");
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.output.count('x'), 3000000);
    EXPECT_TRUE(r.output.endsWith("\nend\n"));
}

TEST_F(ProcessTest, StartDetachedDoesNotWait)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(startDetached("/bin/sh", {"-c", "echo x > mark"}, dir.path(), &error)) << error.toStdString();
    for (int i = 0; i < 500 && !QFile::exists(dir.filePath("mark")); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(dir.filePath("mark")));

    EXPECT_FALSE(startDetached("/no/such/program", {}, {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
