#pragma once
// Reading and writing whole files. Every file the program writes goes through
// replaceFile, so that a write either fully happens or leaves the old file as
// it was:
//
//   - the bytes go to a temporary file in the target's folder (an unnamed one
//     where the file system has them, so that a killed process leaves
//     nothing behind; otherwise a hidden name ending in "~lingrove.<pid>.<random>"
//     created exclusively, so that it never meets a user's file);
//   - every write and the flush to disk are checked, then the temporary file
//     is renamed over the target and the folder is flushed;
//   - through a symbolic link the link's target is replaced and the link is
//     kept; the replaced file's permissions (and owner, where permitted) are
//     kept;
//   - a read-only target, a folder and anything that is not a regular file
//     (a pipe, a device, a socket) are refused, never replaced.
//
// Errors come back as one line naming the file and the reason.
#include <string>
#include <string_view>

namespace lingrove::io {

enum class ReadResult {
    Read,      // data holds the whole content
    Missing,   // there is no such file (or it vanished); data is empty
    Failed,    // a folder, a device, a pipe, or a read error; why says which
};

// Reads the whole regular file at path. Folders, devices, pipes and sockets
// are refused without being opened for reading (a pipe would block, a device
// may never end).
ReadResult readFile(const std::string& path, std::string& data, std::string* why = nullptr);

// Replaces (or creates) the regular file at path with data, as described
// above. False with the reason on failure; the target is then unchanged and
// no temporary file is left.
bool replaceFile(const std::string& path, std::string_view data, std::string* why = nullptr);

// Output of the command-line tool: "-" and "/dev/stdout" write standard output
// directly; any other path goes through replaceFile.
bool writeOutput(const std::string& path, std::string_view data, std::string* why = nullptr);

// Removes the named temporary files a killed writer left in folder (those
// whose process is gone). Writers call it for their target's folder; the
// program calls it for the folders it works in when it starts.
void removeStaleTemporaries(const std::string& folder);

// The mark in the name of a named temporary file.
inline constexpr std::string_view kTemporaryMark = "~lingrove.";

namespace testing {

// Faults the tests inject into replaceFile. A default-constructed value means
// no fault.
struct Faults {
    // Writes fail with writeError once this many bytes were written (-1: never).
    long long failWriteAfter = -1;
    int writeError = 0;        // errno of the failing write (ENOSPC when 0)
    int syncError = 0;         // errno of a failing fsync of the file (0: none)
    int renameError = 0;       // errno of a failing rename (0: none)
    bool namedTemporary = false; // never use an unnamed temporary file
};

// Applies to every later replaceFile in this process until cleared.
void setFaults(const Faults& faults);
void clearFaults();

} // namespace testing
} // namespace lingrove::io
