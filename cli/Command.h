#pragma once
// A command of lingrove-cli. Each cmd_*.cpp registers its commands with a
// static Registrar; main() dispatches on the first argument.
#include <functional>
#include <string>
#include <vector>

namespace lingrove::cli {

struct Command {
    std::string name;
    std::string usage;     // "dfm2txt IN OUT"
    std::string summary;   // one line for --help
    // args: the arguments after the command name. Returns the exit status;
    // errors go to stderr as one line.
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& commands();

struct Registrar {
    explicit Registrar(Command c) { commands().push_back(std::move(c)); }
};

// Write data to path through a temporary file beside it and a rename, so that
// a failure never leaves a half-written file. False (with why) on failure.
bool writeFileAtomically(const std::string& path, const std::string& data, std::string* why);
// Read a whole file. False (with why) on failure.
bool readFile(const std::string& path, std::string& data, std::string* why);

} // namespace lingrove::cli
