#include "cli/Command.h"

#include <algorithm>
#include <cstring>
#include <iostream>

namespace lingrove::cli {

std::vector<Command>& commands()
{
    static std::vector<Command> all;
    return all;
}

} // namespace lingrove::cli

namespace {

void printHelp()
{
    using lingrove::cli::commands;
    std::vector<lingrove::cli::Command> sorted = commands();
    std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.name < b.name; });
    std::cout << "Usage: lingrove-cli COMMAND ARGS...\n\nCommands:\n";
    for (const auto& c : sorted)
        std::cout << "  " << c.usage << "\n      " << c.summary << "\n";
    std::cout << "\nExit status 0 on success; otherwise one line on standard error says what went wrong.\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0
        || std::strcmp(argv[1], "help") == 0) {
        printHelp();
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const auto& c : lingrove::cli::commands()) {
        if (c.name == name) {
            std::vector<std::string> args(argv + 2, argv + argc);
            return c.run(args);
        }
    }
    std::cerr << "lingrove-cli: unknown command '" << name << "' (see lingrove-cli --help)\n";
    return 2;
}
