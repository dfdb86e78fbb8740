// lingrove-cli strings: the entry list "Get strings" shows for a file.
#include "cli/Command.h"
#include "formfile/FormFile.h"
#include "core/scanner/Scanner.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>

#if __has_include(<QGuiApplication>)
#include "model/StringFilters.h"

#include <QGuiApplication>
#define LINGROVE_STRINGS_WITH_QT 1
#endif

namespace {

using lingrove::scanner::FilterSwitches;

// Sets the switch named by one word of --accept; false for an unknown word.
bool acceptKind(FilterSwitches& s, const std::string& word)
{
    if (word == "empty")
        s.Empty = true;
    else if (word == "fonts")
        s.Fonts = true;
    else if (word == "datetime")
        s.DateTime = true;
    else if (word == "numbers")
        s.Numbers = true;
    else if (word == "dirs")
        s.Dirs = true;
    else if (word == "extensions" || word == "extentions")
        s.Extentions = true;
    else if (word == "separator")
        s.Separator = true;
    else
        return false;
    return true;
}

int runStrings(const std::vector<std::string>& args)
{
    std::string file;
    lingrove::scanner::ScanFilters filters;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string list;
        if (a == "--accept" && i + 1 < args.size())
            list = args[++i];
        else if (a.rfind("--accept=", 0) == 0)
            list = a.substr(9);
        else if (a.empty() || a[0] == '-' || !file.empty()) {
            std::cerr << "strings: unexpected argument '" << a << "'\n";
            return 2;
        } else {
            file = a;
            continue;
        }
        std::istringstream words(list);
        for (std::string word; std::getline(words, word, ',');) {
            if (!word.empty() && !acceptKind(filters.accept, word)) {
                std::cerr << "strings: unknown kind '" << word
                          << "' (empty, fonts, datetime, numbers, dirs, extensions, separator)\n";
                return 2;
            }
        }
    }
    if (file.empty()) {
        std::cerr << "strings: no file given\n";
        return 2;
    }

    std::string data, why;
    if (!lingrove::cli::readFile(file, data, &why)) {
        std::cerr << "strings: " << why << "\n";
        return 1;
    }
    // A binary form file is scanned in its text form.
    if (!data.empty() && static_cast<unsigned char>(data[0]) == 0xFF) {
        std::string text;
        try {
            lingrove::formfile::ResourceToText(data, text);
        } catch (const std::exception& e) {
            std::cerr << "strings: " << file << ": " << e.what() << "\n";
            return 1;
        }
        data = std::move(text);
    }

    const FilterSwitches& acc = filters.accept;
    const bool needQt = !acc.Fonts || !acc.DateTime || !acc.Numbers;
#ifdef LINGROVE_STRINGS_WITH_QT
    std::unique_ptr<QGuiApplication> app;
    if (needQt) {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "lingrove-cli";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            app = std::make_unique<QGuiApplication>(argc, argv);
        filters.kinds = lingrove::model::currentKindTests();
    }
#else
    if (needQt) {
        std::cerr << "strings: this build has no Qt for the font, date and number tests; "
                     "use --accept fonts,datetime,numbers\n";
        return 1;
    }
#endif

    for (const std::string& entry : lingrove::scanner::scanText(data, filters))
        std::cout << entry << '\n';
    std::cout << lingrove::scanner::EndLine << '\n';
    std::cout.flush();
    return std::cout ? 0 : 1;
}

const lingrove::cli::Registrar strings{{
    "strings",
    "strings FILE [--accept empty,fonts,datetime,numbers,dirs,extensions,separator]",
    "Print the entry list of a unit, project source or form file, end line included; "
    "--accept keeps the kinds of literal that are dropped otherwise.",
    runStrings,
}};

} // namespace
