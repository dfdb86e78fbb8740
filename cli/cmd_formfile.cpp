// Form-file conversions: dfm2txt, txt2dfm, bin2txt, txt2bin, apply.
#include "cli/Command.h"
#include "core/formfile/FormDocument.h"
#include "core/formfile/FormFile.h"

#include <iostream>
#include <new>

namespace {

using namespace lingrove::formfile;
using Converter = void (*)(std::string_view, std::string&);

// Reads the files named by args[0..inputs), runs work on their bytes and
// writes its result to the last argument. Exit status 0, 1 (failure) or 2 (usage).
template <typename Work>
int run(const std::string& name, const std::string& usage, const std::vector<std::string>& args, std::size_t inputs,
        Work work)
{
    if (args.size() != inputs + 1) {
        std::cerr << "lingrove-cli " << name << ": usage: " << usage << "\n";
        return 2;
    }
    std::vector<std::string> data(inputs);
    std::string why;
    for (std::size_t i = 0; i < inputs; ++i) {
        if (!lingrove::cli::readFile(args[i], data[i], &why)) {
            std::cerr << "lingrove-cli " << name << ": " << why << "\n";
            return 1;
        }
    }
    std::string output;
    const std::string* blamed = &args[0];
    try {
        work(data, output, blamed);
    } catch (const FormError& e) {
        std::cerr << "lingrove-cli " << name << ": " << *blamed << ": " << e.what() << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "lingrove-cli " << name << ": " << *blamed << ": out of memory\n";
        return 1;
    }
    if (!lingrove::cli::writeOutput(args[inputs], output, &why)) {
        std::cerr << "lingrove-cli " << name << ": " << why << "\n";
        return 1;
    }
    return 0;
}

lingrove::cli::Command make(const char* name, const char* summary, Converter converter)
{
    const std::string usage = std::string(name) + " IN OUT";
    return {name, usage, summary, [name, usage, converter](const std::vector<std::string>& args) {
                return run(name, usage, args, 1,
                           [converter](std::vector<std::string>& in, std::string& out, const std::string*&) {
                               converter(in[0], out);
                           });
            }};
}

const lingrove::cli::Registrar dfm2txt({
    "dfm2txt", "dfm2txt FORM OUT",
    "Write the page text of a form file of any kind (binary with or without resource header, or text): every "
    "string value as one quoted literal; UTF-8 with a byte-order mark when a value needs it.",
    [](const std::vector<std::string>& args) {
        return run("dfm2txt", "dfm2txt FORM OUT", args, 1,
                   [](std::vector<std::string>& in, std::string& out, const std::string*&) {
                       out = FormDocument::load(std::move(in[0])).pageText();
                   });
    }});
const lingrove::cli::Registrar apply({
    "apply", "apply FORM PAGETEXT OUT",
    "Write FORM again with the values of an edited PAGETEXT (from dfm2txt), binary or text as FORM is; "
    "bytes of what was not edited stay as they were.",
    [](const std::vector<std::string>& args) {
        return run("apply", "apply FORM PAGETEXT OUT", args, 2,
                   [&args](std::vector<std::string>& in, std::string& out, const std::string*& blamed) {
                       const FormDocument form = FormDocument::load(std::move(in[0]));
                       blamed = &args[1];
                       out = form.apply(in[1]);
                   });
    }});
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
