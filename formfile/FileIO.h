#pragma once
// Whole files as byte strings, for the converters of whole files and the
// command-line tool (see core/io/Files.h for how files are written).
#include <string>
#include <string_view>

namespace lingrove::formfile {

// Reads the whole file. False, with one line naming the file and the reason
// in why, when it is missing, is not a regular file or cannot be read.
bool readFile(const std::string& path, std::string& data, std::string* why);

// Replaces path with data through a temporary file, so that a failure never
// leaves a half-written file. False with the reason.
bool writeFileAtomically(const std::string& path, std::string_view data, std::string* why);

} // namespace lingrove::formfile
