#include "cli/Command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace lingrove::cli {

std::vector<Command>& commands()
{
    static std::vector<Command> all;
    return all;
}

bool readFile(const std::string& path, std::string& data, std::string* why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (why)
            *why = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad()) {
        if (why)
            *why = path + ": cannot read";
        return false;
    }
    data = std::move(buf).str();
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& data, std::string* why)
{
    const std::string temp = path + ".lingrove-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            if (why)
                *why = temp + ": cannot create: " + std::strerror(errno);
            return false;
        }
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            if (why)
                *why = temp + ": cannot write";
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        if (why)
            *why = path + ": cannot replace: " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
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
