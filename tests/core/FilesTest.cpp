#include "core/io/Files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace lingrove;

namespace {

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/lingrove-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        io::testing::clearFaults();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static void put(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& file)
    {
        std::string data;
        EXPECT_EQ(io::readFile(file, data), io::ReadResult::Read) << file;
        return data;
    }
    // Names in the folder, so that a test can see that no temporary file is left.
    std::vector<std::string> names(const fs::path& folder = {}) const
    {
        std::vector<std::string> all;
        for (const auto& e : fs::directory_iterator(folder.empty() ? dir : folder))
            all.push_back(e.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }
    static mode_t modeOf(const std::string& file)
    {
        struct stat st {};
        ::lstat(file.c_str(), &st);
        return st.st_mode;
    }

    fs::path dir;
};

TEST_F(FilesTest, EveryFailureKeepsTheOriginalAndLeavesNoTemporaryFile)
{
    const std::string unit = path("Unit1.pas");
    put(unit, "unit Unit1; { the original }");
    const std::string small = "unit Unit1; { translated }";
    const std::string large(200000, 'x');   // more than any stream buffer

    struct Case {
        const char* what;
        io::testing::Faults faults;
        const char* reason;
    };
    std::vector<Case> cases;
    for (bool named : {false, true}) {
        io::testing::Faults f;
        f.namedTemporary = named;
        f.failWriteAfter = 0;
        cases.push_back({"no space at the first byte", f, "No space left on device"});
        f.failWriteAfter = 10;
        cases.push_back({"no space in the middle", f, "No space left on device"});
        f.failWriteAfter = -1;
        f.syncError = EIO;
        cases.push_back({"flush to disk fails", f, "cannot flush to disk"});
        f.syncError = 0;
        f.renameError = EXDEV;
        cases.push_back({"rename fails", f, "cannot replace"});
    }
    for (const Case& c : cases) {
        for (const std::string* content : {&small, &large}) {
            io::testing::setFaults(c.faults);
            std::string why;
            EXPECT_FALSE(io::replaceFile(unit, *content, &why)) << c.what;
            EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
            EXPECT_NE(why.find(unit), std::string::npos) << why;
            EXPECT_EQ(get(unit), "unit Unit1; { the original }") << c.what;
            EXPECT_EQ(names(), std::vector<std::string>{"Unit1.pas"}) << c.what;
        }
    }
    io::testing::clearFaults();
    EXPECT_TRUE(io::replaceFile(unit, small));
    EXPECT_EQ(get(unit), small);
    EXPECT_EQ(names(), std::vector<std::string>{"Unit1.pas"});
}

// A real full disk: a 64 KB tmpfs, filled up. Needs root (to mount).
TEST_F(FilesTest, FullDiskKeepsTheOriginal)
{
    const fs::path mountPoint = dir / "small";
    fs::create_directory(mountPoint);
    if (::geteuid() != 0 || ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root and a system that allows it";
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{mountPoint};

    const std::string unit = (mountPoint / "Main.pas").string();
    const std::string original(6000, 'o');
    ASSERT_TRUE(io::replaceFile(unit, original));
    {
        std::ofstream filler(mountPoint / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()))
            filler.flush();
    }
    for (const std::size_t size : {std::size_t(100), std::size_t(6000), std::size_t(40000)}) {
        std::string why;
        EXPECT_FALSE(io::replaceFile(unit, std::string(size, 'n'), &why)) << size;
        EXPECT_NE(why.find("No space left on device"), std::string::npos) << why;
        EXPECT_EQ(get(unit), original);
    }
    EXPECT_EQ(names(mountPoint), (std::vector<std::string>{"Main.pas", "filler"}));
}

TEST_F(FilesTest, SymbolicLinksAreWrittenThroughAndKept)
{
    fs::create_directory(dir / "real");
    put(path("real/Main.dfm"), "old");
    fs::create_symlink("real/Main.dfm", dir / "Main.dfm");           // relative
    fs::create_symlink(dir / "Main.dfm", dir / "Chain.dfm");         // a link to a link
    ASSERT_TRUE(io::replaceFile(path("Chain.dfm"), "new"));
    EXPECT_TRUE(S_ISLNK(modeOf(path("Main.dfm"))));
    EXPECT_TRUE(S_ISLNK(modeOf(path("Chain.dfm"))));
    EXPECT_EQ(get(path("real/Main.dfm")), "new");

    // A dangling link gets its target made.
    fs::create_symlink("real/New.pas", dir / "New.pas");
    ASSERT_TRUE(io::replaceFile(path("New.pas"), "made"));
    EXPECT_TRUE(S_ISLNK(modeOf(path("New.pas"))));
    EXPECT_EQ(get(path("real/New.pas")), "made");

    fs::create_symlink("Loop", dir / "Loop");
    std::string why;
    EXPECT_FALSE(io::replaceFile(path("Loop"), "x", &why));
    EXPECT_NE(why.find("symbolic links"), std::string::npos) << why;
}

TEST_F(FilesTest, PipesFoldersAndReadOnlyFilesAreNeverReplaced)
{
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    fs::create_directory(dir / "folder");
    put(path("locked.pas"), "locked");
    fs::permissions(path("locked.pas"), fs::perms(0444));

    std::string why;
    EXPECT_FALSE(io::replaceFile(path("pipe"), "x", &why));
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    EXPECT_TRUE(S_ISFIFO(modeOf(path("pipe"))));
    EXPECT_FALSE(io::replaceFile(path("folder"), "x", &why));
    EXPECT_NE(why.find("is a folder"), std::string::npos) << why;
    EXPECT_FALSE(io::replaceFile(path("locked.pas"), "x", &why));   // even for root
    EXPECT_NE(why.find("read-only"), std::string::npos) << why;
    EXPECT_EQ(get(path("locked.pas")), "locked");

    // Reading: a pipe is refused without waiting for a writer.
    std::string data;
    EXPECT_EQ(io::readFile(path("pipe"), data, &why), io::ReadResult::Failed);
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    EXPECT_EQ(io::readFile(path("folder"), data, &why), io::ReadResult::Failed);
    EXPECT_NE(why.find("is a folder"), std::string::npos) << why;
    EXPECT_EQ(io::readFile("/dev/zero", data, &why), io::ReadResult::Failed);
    EXPECT_EQ(io::readFile(path("gone.pas"), data, &why), io::ReadResult::Missing);
    EXPECT_NE(why.find("does not exist"), std::string::npos) << why;
}

TEST_F(FilesTest, ReplacedFilesKeepTheirModeAndOwner)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0664), mode_t(0755)}) {
        const std::string file = path("file" + std::to_string(mode));
        put(file, "old");
        ::chmod(file.c_str(), mode);
        ASSERT_TRUE(io::replaceFile(file, "new"));
        EXPECT_EQ(modeOf(file) & 07777, mode);
    }
    // New files get the usual permissions (0666 less the umask), not a
    // temporary file's 0600.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_TRUE(io::replaceFile(path("fresh"), "x"));
    EXPECT_EQ(modeOf(path("fresh")) & 0777, 0666 & ~mask);

    if (::geteuid() == 0) {
        put(path("theirs"), "old");
        ASSERT_EQ(::chown(path("theirs").c_str(), 4321, 4321), 0);
        ASSERT_TRUE(io::replaceFile(path("theirs"), "new"));
        struct stat st {};
        ::stat(path("theirs").c_str(), &st);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
}

TEST_F(FilesTest, OnlyTemporariesOfEndedProcessesAreRemoved)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = ".Main.pas~lingrove." + std::to_string(child) + ".0123abcd01";
    const std::string ours = ".Main.pas~lingrove." + std::to_string(::getpid()) + ".0123abcd02";
    for (const std::string& name : {dead, ours, std::string(".notes~lingrove.txt"), std::string("Main.pas")})
        put(path(name), "x");
    io::removeStaleTemporaries(dir.string());
    EXPECT_EQ(names(), (std::vector<std::string>{ours, ".notes~lingrove.txt", "Main.pas"}));
}

// A process saving a large file is killed at random moments: the file is
// always the old or the new one, whole, and no temporary file outlives the
// next start.
TEST_F(FilesTest, KilledWritesLeaveTheOldOrTheNewFile)
{
    const std::size_t size = 50u << 20;
    const std::string target = path("Big.dfm");
    std::mt19937 random(12345);
    for (int run = 0; run < 20; ++run) {
        const bool named = run % 2 == 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string sizeText = std::to_string(size);
            ::execl(KILL_WRITER, KILL_WRITER, target.c_str(), sizeText.c_str(), named ? "--named" : nullptr,
                    nullptr);
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 600));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended on its own: " << status;

        std::string data;
        if (io::readFile(target, data) == io::ReadResult::Missing)
            continue;   // killed before its first save ended
        ASSERT_EQ(data.size(), size) << "run " << run;
        ASSERT_EQ(data.find_first_not_of(data[0]), std::string::npos) << "run " << run << ": a mixed file";
    }
    // The next start.
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(KILL_WRITER, KILL_WRITER, target.c_str(), "0", nullptr);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::vector<std::string> left = names();
    EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"Big.dfm"}) << left.size() << " files left";
}

} // namespace
