// lingrove-cli's side of the commands that need Qt: each is registered here
// and handed to lingrove-cli-qt.
#include "cli/Command.h"
#include "cli/QtCommands.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace lingrove::cli {

int runWithQt(const std::string& command, const std::vector<std::string>& args)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path;
    if (n > 0) {
        path.assign(self, static_cast<std::size_t>(n));
        path = path.substr(0, path.rfind('/') + 1) + "lingrove-cli-qt";
        std::vector<char*> argv;
        argv.push_back(path.data());
        std::string name = command;
        argv.push_back(name.data());
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
    }
    std::cerr << command << ": this command needs " << (path.empty() ? "lingrove-cli-qt" : path) << " ("
              << std::strerror(errno) << ")\n";
    return 1;
}

namespace {

struct Handovers {
    Handovers()
    {
        for (const QtCommand& c : qtCommands()) {
            const std::string name = c.name;
            commands().push_back(Command{name, c.usage, c.summary,
                                         [name](const std::vector<std::string>& args) { return runWithQt(name, args); }});
        }
    }
};

const Handovers handovers;

} // namespace

} // namespace lingrove::cli
