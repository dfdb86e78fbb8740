#pragma once
// The version-information resource script: thirty lines built from the
// wizard's fields, written with CR LF after every line in 8-bit text.
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace lingrove::rcscript {

// Every text is taken as typed (8-bit Windows-1252 bytes); in the script a
// quote is doubled and a backslash escaped, as the resource language wants.
struct VersionInfoFields {
    std::array<std::string, 4> fileVersionNumbers{"0", "0", "0", "0"};
    std::array<std::string, 4> productVersionNumbers{"0", "0", "0", "0"};
    int language = -1;      // position in LanguageTable; -1: none chosen
    int charset = -1;   // position in CharsetTable; -1: none chosen

    std::string comments = "Comments";
    std::string companyName = "CompanyName";
    std::string fileDescription = "FileDescription";
    std::string fileVersion = "FileVersion";
    std::string internalName = "InternalName";
    std::string legalCopyright = "LegalCopyright";
    std::string legalTrademark = "LegalTradeMark";
    std::string originalFileName = "OriginalFileName";
    std::string privateBuild = "PrivateBuild";
    std::string productVersion = "ProductVersion";
};

// Thrown when the language or the code page is not a position of its table.
class NoTableChoice : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// The thirty script lines, without line ends.
std::vector<std::string> CreateRC(const VersionInfoFields& fields);

// The file's bytes: every line followed by CR LF, the last one included.
std::string scriptText(const std::vector<std::string>& lines);

// The resource name as the wizard keeps it: every letter upper-cased as
// Windows-1252 does it (a-z, the accented letters; \xDF stays).
std::string upperResourceName(const std::string& typed);

} // namespace lingrove::rcscript
