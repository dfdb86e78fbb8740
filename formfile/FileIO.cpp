#include "formfile/FileIO.h"

#include "core/io/Files.h"

namespace lingrove::formfile {

bool readFile(const std::string& path, std::string& data, std::string* why)
{
    return io::readFile(path, data, why) == io::ReadResult::Read;
}

bool writeFileAtomically(const std::string& path, std::string_view data, std::string* why)
{
    return io::replaceFile(path, data, why);
}

} // namespace lingrove::formfile
