// Saves one large file over and over until it is killed: each save fills the
// file with one byte value, the next save with the next one. Used by the kill
// test of the file writer.
//   core_kill_writer FILE SIZE [--named]
// At start it clears what an earlier, killed run left in the file's folder,
// as the program does for the folders it works in.
#include "core/io/Files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string path = argv[1];
    const std::size_t size = std::strtoul(argv[2], nullptr, 10);
    if (argc > 3 && std::strcmp(argv[3], "--named") == 0) {
        lingrove::io::testing::Faults faults;
        faults.namedTemporary = true;
        lingrove::io::testing::setFaults(faults);
    }
    const std::size_t slash = path.find_last_of('/');
    lingrove::io::removeStaleTemporaries(slash == std::string::npos ? "." : path.substr(0, slash));
    if (size == 0)
        return 0;   // only the start

    std::string data;
    unsigned char value = 1;
    if (lingrove::io::readFile(path, data) == lingrove::io::ReadResult::Read && !data.empty())
        value = static_cast<unsigned char>(data[0] % 250 + 1);
    for (;;) {
        data.assign(size, static_cast<char>(value));
        std::string why;
        if (!lingrove::io::replaceFile(path, data, &why)) {
            std::fprintf(stderr, "%s\n", why.c_str());
            return 1;
        }
        value = static_cast<unsigned char>(value % 250 + 1);
    }
}
