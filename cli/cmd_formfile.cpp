// Form-file conversions: dfm2txt, txt2dfm, bin2txt, txt2bin.
#include "cli/Command.h"
#include "formfile/FormFile.h"

#include <iostream>
#include <new>

namespace {

using Converter = void (*)(std::string_view, std::string&);

int convert(const std::string& commandName, Converter converter, const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::cerr << "lingrove-cli " << commandName << ": usage: " << commandName << " IN OUT\n";
        return 2;
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    std::string input;
    std::string why;
    if (!lingrove::cli::readFile(in, input, &why)) {
        std::cerr << "lingrove-cli " << commandName << ": " << why << "\n";
        return 1;
    }
    std::string output;
    try {
        converter(input, output);
    } catch (const lingrove::formfile::FormError& e) {
        std::cerr << "lingrove-cli " << commandName << ": " << in << ": " << e.what() << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "lingrove-cli " << commandName << ": " << in << ": out of memory\n";
        return 1;
    }
    if (!lingrove::cli::writeOutput(out, output, &why)) {
        std::cerr << "lingrove-cli " << commandName << ": " << why << "\n";
        return 1;
    }
    return 0;
}

lingrove::cli::Command make(const char* name, const char* summary, Converter converter)
{
    return {name, std::string(name) + " IN OUT", summary,
            [name, converter](const std::vector<std::string>& args) { return convert(name, converter, args); }};
}

using namespace lingrove::formfile;

const lingrove::cli::Registrar dfm2txt(make(
    "dfm2txt", "Convert a binary form file (.dfm with resource header) into its text form.",
    [](std::string_view in, std::string& out) { ResourceToText(in, out); }));
const lingrove::cli::Registrar txt2dfm(make(
    "txt2dfm", "Convert the text form of a form into a binary form file (.dfm with resource header).",
    [](std::string_view in, std::string& out) { TextToResource(in, out); }));
const lingrove::cli::Registrar bin2txt(make(
    "bin2txt", "Convert binary form data (from the TPF0 signature on, no resource header) into text.",
    [](std::string_view in, std::string& out) { BinaryToText(in, out); }));
const lingrove::cli::Registrar txt2bin(make(
    "txt2bin", "Convert the text form of a form into binary form data without resource header.",
    [](std::string_view in, std::string& out) { TextToBinary(in, out); }));

} // namespace
