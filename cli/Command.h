#pragma once
// A command of lingrove-cli. Each cmd_*.cpp registers its commands with a
// static Registrar; main() dispatches on the first argument.
#include "core/io/Files.h"

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

// Whole files: read, and written through a temporary file and a rename;
// "-" and "/dev/stdout" as output write standard output.
using io::writeOutput;

// Reads a whole input file; false with the reason.
inline bool readFile(const std::string& path, std::string& data, std::string* why)
{
    return io::readFile(path, data, why) == io::ReadResult::Read;
}

} // namespace lingrove::cli
