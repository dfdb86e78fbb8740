#pragma once
// The one line of compall.bat: the compiler (quoted), " -b ", the project
// source (unquoted), " >" and the quoted output file result.txt.
#include <string>

namespace lingrove::rcscript {

struct BatchPaths {
    std::string compilerDir;     // as stored; may end in a separator already
    std::string compilerExe;
    std::string projectFile;     // the .dpr, as stored
    std::string programFolder;   // with its trailing separator
};

enum class Shell {
    // The Windows command interpreter: the pieces exactly as they are.
    Cmd,
    // POSIX sh: the same line, but every character that sh would take as
    // syntax is escaped, so that no path can run a command or be expanded.
    // Single spaces inside the project path stay as they are (the compiler
    // joins its words again); a leading, trailing or repeated space is
    // escaped so that it survives.
    Sh,
};

// folderSeparator joins the compiler folder and its file name ("\" on
// Windows, "/" here).
std::string compallLine(const BatchPaths& paths, Shell shell, char folderSeparator);

// The batch file's bytes: the line ended by CR LF.
std::string compallFile(const std::string& line);

} // namespace lingrove::rcscript
