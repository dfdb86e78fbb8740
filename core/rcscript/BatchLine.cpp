#include "core/rcscript/BatchLine.h"

#include <cstring>

namespace lingrove::rcscript {

// Inside sh double quotes only these keep a meaning.
static std::string shDoubleQuoted(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '$' || c == '`' || c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

// An unquoted sh word list that the compiler joins back with single spaces.
static std::string shWords(const std::string& s)
{
    static const char* plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,:@%=";
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ' ') {
            const bool lone = i > 0 && i + 1 < s.size() && s[i - 1] != ' ';
            out += lone ? " " : "\\ ";
        } else if (c == '\n') {
            out += "'\n'";   // a backslash before a line feed would drop it
        } else if (c != '\0' && std::strchr(plain, c) != nullptr) {
            out += c;
        } else {
            out += '\\';
            out += c;
        }
    }
    return out;
}

std::string compallLine(const BatchPaths& p, Shell shell, char folderSeparator)
{
    std::string compiler = p.compilerDir;
    compiler += folderSeparator;
    compiler += p.compilerExe;
    const std::string result = p.programFolder + "result.txt";
    // Built by appending: chains of operator+ on temporaries set off a false
    // -Wrestrict warning in g++ 12.
    std::string line = "\"";
    if (shell == Shell::Cmd) {
        line += compiler;
        line += "\" -b ";
        line += p.projectFile;
        line += " >\"";
        line += result;
    } else {
        line += shDoubleQuoted(compiler);
        line += "\" -b ";
        line += shWords(p.projectFile);
        line += " >\"";
        line += shDoubleQuoted(result);
    }
    line += '"';
    return line;
}

std::string compallFile(const std::string& line) { return line + "\r\n"; }

} // namespace lingrove::rcscript
