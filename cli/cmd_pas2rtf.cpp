// lingrove-cli pas2rtf IN OUT [--scheme 2|3]: colour a Pascal source as RTF,
// with the classic editor colours.
#include "cli/Command.h"

#include "core/pascal/PasConversion.h"
#include "core/text/Encoding.h"

#include <exception>
#include <iostream>
#include <string_view>

namespace {

using namespace lingrove;

int pas2rtf(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    int scheme = 2;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--scheme") {
            if (i + 1 == args.size()) {
                std::cerr << "pas2rtf: --scheme needs a value (2 or 3)\n";
                return 2;
            }
            const std::string& v = args[++i];
            scheme = (v == "2") ? 2 : (v == "3") ? 3 : -1;
            if (scheme < 0) {
                std::cerr << "pas2rtf: " << pascal::HighlightVersionError().what() << "\n";
                return 2;
            }
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        std::cerr << "pas2rtf: usage: pas2rtf IN OUT [--scheme 2|3]\n";
        return 2;
    }

    std::string source;
    std::string why;
    if (!cli::readFile(files[0], source, &why)) {
        std::cerr << "pas2rtf: " << why << "\n";
        return 1;
    }
    std::string rtf;
    try {
        pascal::TPasConversion conversion;
        conversion.HighlightVersion(scheme, pascal::ColourScheme::classic());
        std::string_view text = source;
        if (text::hasUtf8ByteOrderMark(text) && text::isValidUtf8(text.substr(3))) {
            conversion.setEncoding(pascal::SourceEncoding::Utf8);
            text.remove_prefix(3);
        }
        rtf = conversion.convert(text);
    } catch (const std::exception& e) {
        std::cerr << "pas2rtf: " << files[0] << ": " << e.what() << "\n";
        return 1;
    }
    if (!cli::writeOutput(files[1], rtf, &why)) {
        std::cerr << "pas2rtf: " << why << "\n";
        return 1;
    }
    return 0;
}

const cli::Registrar registrar(cli::Command{
    "pas2rtf",
    "pas2rtf IN OUT [--scheme 2|3]",
    "Colour a Pascal source (unit, project source, form text) as RTF in the classic editor colours",
    pas2rtf,
});

} // namespace
