#include "core/io/Files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lingrove::io {

namespace {

std::mutex faultsMutex;
testing::Faults activeFaults;
std::atomic<bool> faultsSet{false};

testing::Faults currentFaults()
{
    if (!faultsSet.load(std::memory_order_acquire))
        return {};
    std::lock_guard lock(faultsMutex);
    return activeFaults;
}

bool fail(std::string* why, const std::string& message)
{
    if (why)
        *why = message;
    return false;
}

std::string errorText(int error)
{
    return std::strerror(error);
}

// Closes a descriptor on every path out of a scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path finally names: symbolic links in its last part are
// followed (relative links from the link's own folder). exists tells whether
// that file is there; st then describes it.
bool resolveTarget(const std::string& path, std::string& target, bool& exists, struct stat& st,
                   std::string* why)
{
    target = path;
    for (int hops = 0;; ++hops) {
        if (::lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                exists = false;
                return true;
            }
            return fail(why, path + ": " + errorText(errno));
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return true;
        }
        if (hops >= 40)
            return fail(why, path + ": " + errorText(ELOOP));
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return fail(why, path + ": " + errorText(errno));
        link.resize(static_cast<std::size_t>(n));
        if (link.empty())
            return fail(why, path + ": an empty symbolic link");
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
}

// A regular file we may replace: refuses folders, devices, pipes, sockets and
// files nobody may write.
bool checkReplaceable(const std::string& path, const std::string& target, const struct stat& st,
                      std::string* why)
{
    if (S_ISDIR(st.st_mode))
        return fail(why, path + ": is a folder, not a file");
    if (!S_ISREG(st.st_mode))
        return fail(why, path + ": is not a regular file (a device, pipe or socket); it is not replaced");
    // Without its owner's write permission a file is read-only (as the
    // read-only attribute of Windows), even for those whom the system would
    // let write it.
    if ((st.st_mode & S_IWUSR) == 0)
        return fail(why, path + ": is read-only");
    if (::access(target.c_str(), W_OK) != 0)
        return fail(why, path + ": cannot be written: " + errorText(errno));
    return true;
}

bool writeAll(int fd, std::string_view data, const testing::Faults& faults, int& error)
{
    std::size_t done = 0;
    while (done < data.size()) {
        std::size_t chunk = std::min<std::size_t>(data.size() - done, std::size_t(1) << 20);
        if (faults.failWriteAfter >= 0) {
            const auto limit = static_cast<std::size_t>(faults.failWriteAfter);
            if (done >= limit) {
                error = faults.writeError ? faults.writeError : ENOSPC;
                return false;
            }
            chunk = std::min(chunk, limit - done);
        }
        const ssize_t n = ::write(fd, data.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool syncFile(int fd, const testing::Faults& faults, int& error)
{
    if (faults.syncError) {
        error = faults.syncError;
        return false;
    }
    if (::fsync(fd) != 0) {
        error = errno;
        return false;
    }
    return true;
}

// The hidden name of a named temporary file for target, unique by process
// and random part. Long names are shortened so that the result still fits
// into a folder entry.
std::string temporaryName(const std::string& folder, const std::string& name)
{
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random{std::random_device{}()};
    char tail[64];
    std::snprintf(tail, sizeof tail, "%.*s%ld.%08x%02x", int(kTemporaryMark.size()), kTemporaryMark.data(),
                  static_cast<long>(::getpid()), static_cast<unsigned>(random()), counter++ & 0xFFu);
    const std::size_t room = NAME_MAX - 1 - std::strlen(tail);
    return folder + "/." + name.substr(0, room) + tail;
}

// Opens a new named temporary file in folder, created exclusively so that it
// can never be an existing file.
int openNamedTemporary(const std::string& folder, const std::string& name, std::string& tempPath, int& error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryName(folder, name);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Gives the temporary file the replaced file's owner and permissions. The
// owner first: changing it clears set-user-ID bits that chmod then restores.
void copyOwnerAndMode(int fd, const struct stat& original)
{
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != original.st_uid || now.st_gid != original.st_gid)) {
        // Not permitted for others' files unless we are root; then at least
        // the group, when we belong to it.
        if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
            const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
            static_cast<void>(groupOnly);
        }
    }
    ::fchmod(fd, original.st_mode & 07777);
}

bool syncFolder(const std::string& folder, std::string* why, const std::string& path)
{
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return true;   // nothing to flush through; the rename itself succeeded
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
        return fail(why, path + ": written, but its folder could not be flushed to disk: " + errorText(errno));
    return true;
}

bool processIsGone(long pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The process number in a temporary file's name, or -1 when the name is not
// one of ours.
long temporaryOwner(const char* entry)
{
    if (entry[0] != '.')
        return -1;
    const char* mark = std::strstr(entry, kTemporaryMark.data());
    if (!mark)
        return -1;
    // The last mark counts: a user's file name may contain the mark itself.
    for (const char* next; (next = std::strstr(mark + 1, kTemporaryMark.data())) != nullptr;)
        mark = next;
    const char* digits = mark + kTemporaryMark.size();
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != '.' || std::strlen(end + 1) != 10)
        return -1;
    return pid;
}

} // namespace

ReadResult readFile(const std::string& path, std::string& data, std::string* why)
{
    data.clear();
    // Non-blocking, so that opening a pipe cannot wait for a writer; the
    // flag means nothing for regular files.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT) {
            fail(why, path + ": does not exist (it may have been moved or deleted)");
            return ReadResult::Missing;
        }
        fail(why, path + ": cannot open: " + errorText(error));
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        fail(why, path + ": cannot read: " + errorText(errno));
        return ReadResult::Failed;
    }
    if (S_ISDIR(st.st_mode)) {
        fail(why, path + ": is a folder, not a file");
        return ReadResult::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        fail(why, path + ": is not a regular file (a device, pipe or socket)");
        return ReadResult::Failed;
    }
    if (st.st_size > 0)
        data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    for (;;) {
        if (done == data.size())
            data.resize(done + 65536);   // the file grew, or its size was not known
        const ssize_t n = ::read(fd.get(), data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            data.clear();
            fail(why, path + ": cannot read: " + errorText(error));
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    data.resize(done);
    return ReadResult::Read;
}

namespace {

bool replaceWith(const std::string& path, std::string_view data, const testing::Faults& faults,
                 std::string* why)
{
    std::string target;
    bool exists = false;
    struct stat st {};
    if (!resolveTarget(path, target, exists, st, why))
        return false;
    if (exists && !checkReplaceable(path, target, st, why))
        return false;
    const std::string folder = folderOf(target);
    const std::string name = nameOf(target);
    removeStaleTemporaries(folder);

    // The temporary file: unnamed where possible, so that nothing is left
    // behind whatever happens to this process before the rename.
    std::string tempPath;
    int error = 0;
    Descriptor fd;
    bool unnamed = false;
#ifdef O_TMPFILE
    if (!faults.namedTemporary) {
        fd.reset(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        unnamed = fd.get() >= 0;
    }
#endif
    if (!unnamed) {
        fd.reset(openNamedTemporary(folder, name, tempPath, error));
        if (fd.get() < 0)
            return fail(why, path + ": cannot create a temporary file in " + folder + ": " + errorText(error));
    }
    auto discard = [&](const std::string& message) {
        fd.reset();
        if (!tempPath.empty())
            ::unlink(tempPath.c_str());
        return fail(why, message);
    };

    if (exists)
        copyOwnerAndMode(fd.get(), st);
    if (!writeAll(fd.get(), data, faults, error))
        return discard(path + ": cannot write: " + errorText(error) + "; the file is unchanged");
    if (!syncFile(fd.get(), faults, error))
        return discard(path + ": cannot flush to disk: " + errorText(error) + "; the file is unchanged");

    if (unnamed) {
        // Give the finished file a name, then move it into place.
        const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            tempPath = temporaryName(folder, name);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW) == 0)
                break;
            error = errno;
            tempPath.clear();
            if (error != EEXIST)
                break;
        }
        if (tempPath.empty()) {
            // No /proc, or links refused here: write once more under a name.
            fd.reset();
            testing::Faults named = faults;
            named.namedTemporary = true;
            return replaceWith(path, data, named, why);
        }
    }
    fd.reset();

    if (faults.renameError)
        return discard(path + ": cannot replace: " + errorText(faults.renameError) + "; the file is unchanged");
    if (::rename(tempPath.c_str(), target.c_str()) != 0)
        return discard(path + ": cannot replace: " + errorText(errno) + "; the file is unchanged");
    return syncFolder(folder, why, path);
}

} // namespace

bool replaceFile(const std::string& path, std::string_view data, std::string* why)
{
    if (path.empty())
        return fail(why, "no file name was given");
    return replaceWith(path, data, currentFaults(), why);
}

bool writeOutput(const std::string& path, std::string_view data, std::string* why)
{
    if (path != "-" && path != "/dev/stdout")
        return replaceFile(path, data, why);
    int error = 0;
    if (!writeAll(STDOUT_FILENO, data, {}, error))
        return fail(why, "standard output: cannot write: " + errorText(error));
    return true;
}

void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const long pid = temporaryOwner(entry->d_name);
        if (pid > 0 && processIsGone(pid))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

namespace testing {

void setFaults(const Faults& faults)
{
    std::lock_guard lock(faultsMutex);
    activeFaults = faults;
    faultsSet = true;
}

void clearFaults()
{
    std::lock_guard lock(faultsMutex);
    activeFaults = {};
    faultsSet = false;
}

} // namespace testing
} // namespace lingrove::io
