#include "formfile/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace lingrove::formfile {

namespace {

bool failed(std::string* why, const std::string& reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

bool readFile(const std::string& path, std::string& data, std::string* why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failed(why, path + ": cannot open: " + std::strerror(errno));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return failed(why, path + ": cannot read");
    data = std::move(buffer).str();
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view data, std::string* why)
{
    // A temporary file beside the destination, renamed over it at the end.
    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    const std::string temp = path + suffix;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return failed(why, temp + ": cannot create: " + std::strerror(errno));
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            return failed(why, temp + ": cannot write");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return failed(why, path + ": cannot replace: " + ec.message());
    }
    return true;
}

} // namespace lingrove::formfile
