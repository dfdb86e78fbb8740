#include "core/rcscript/VersionScript.h"

#include "core/rcscript/Tables.h"

namespace lingrove::rcscript {

static std::string joinVersion(const std::array<std::string, 4>& parts)
{
    return parts[0] + "," + parts[1] + "," + parts[2] + "," + parts[3];
}

// A string of the resource language: a quote is doubled and a backslash
// escaped, so that every text the user typed comes out as typed.
static std::string quoted(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (const char c : text) {
        if (c == '"')
            out += '"';
        else if (c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

static std::string value(const char* name, const std::string& text)
{
    return std::string(6, ' ') + "VALUE \"" + name + "\", \"" + quoted(text) + "\\0\"";
}

std::vector<std::string> CreateRC(const VersionInfoFields& f)
{
    const auto lang = languageId(f.language);
    const auto charset = charsetId(f.charset);
    if (!lang)
        throw NoTableChoice("no language chosen");
    if (!charset)
        throw NoTableChoice("no code page chosen");
    const std::string LLLL = hex4(*lang);
    const std::string CCCC = hex4(*charset);

    return {
        "1 VERSIONINFO",
        "FILEVERSION " + joinVersion(f.fileVersionNumbers),
        "PRODUCTVERSION " + joinVersion(f.productVersionNumbers),
        "FILEFLAGSMASK 0x0000003F",
        "FILEFLAGS 0x00000008",
        "FILETYPE 0x00000001",
        "FILEOS 0x00010004",
        "BEGIN",
        "  BLOCK \"StringFileInfo\"",
        "  BEGIN",
        "    BLOCK \"" + LLLL + CCCC + "\"",
        "    BEGIN",
        value("Comments", f.comments),
        value("CompanyName", f.companyName),
        value("FileDescription", f.fileDescription),
        value("FileVersion", f.fileVersion),
        value("InternalName", f.internalName),
        value("LegalCopyright", f.legalCopyright),
        value("LegalTradeMark", f.legalTrademark),
        value("OriginalFileName", f.originalFileName),
        value("PrivateBuild", f.privateBuild),
        value("ProductVersion", f.productVersion),
        "    END",
        "  END",
        "  BLOCK \"VarFileInfo\"",
        "  BEGIN",
        "    VALUE \"Translation\",",
        "      0x" + LLLL + ", " + decimal(*charset),
        "  END",
        "END",
    };
}

std::string scriptText(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string upperResourceName(const std::string& typed)
{
    std::string s = typed;
    for (char& ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        unsigned char u = c;
        if (c >= 'a' && c <= 'z')
            u = static_cast<unsigned char>(c - 0x20);
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)   // Latin-1 small letters
            u = static_cast<unsigned char>(c - 0x20);
        else if (c == 0x9A || c == 0x9C || c == 0x9E)  // s, oe, z with marks
            u = static_cast<unsigned char>(c - 0x10);
        else if (c == 0xFF)                            // y with diaeresis
            u = 0x9F;
        ch = static_cast<char>(u);
    }
    return s;
}

} // namespace lingrove::rcscript
