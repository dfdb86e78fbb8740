// lingrove-cli strings: the entry list "Get strings" shows for a file, in
// UTF-8, columns counted in characters as the page counts them. A form file
// of any kind is scanned in its page text, where every string value is one
// literal.
//
// The font, date and number tests need Qt. lingrove-cli itself links no Qt,
// so that the other commands start quickly; when those tests are wanted it
// runs lingrove-cli-qt, built beside it from this file with Qt, with the same
// arguments.
#include "cli/Command.h"
#include "cli/QtCommands.h"
#include "core/scanner/Scanner.h"
#include "core/text/Encoding.h"
#include "core/formfile/FormDocument.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <unistd.h>

#ifdef LINGROVE_CLI_QT
#include "model/StringFilters.h"

#include <QGuiApplication>
#endif

namespace {

using lingrove::scanner::FilterSwitches;
namespace text = lingrove::text;

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

bool endsWithNoCase(const std::string& s, std::string_view tail)
{
    if (s.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}


// Windows-1252 bytes as UTF-8.
std::string utf8Of(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes)
        text::appendUtf8(out, text::fromWindows1252(static_cast<unsigned char>(c)));
    return out;
}

// UTF-8 as Windows-1252 when every character has a byte there (the string
// filters read Windows-1252), otherwise unchanged.
std::string cp1252Of(std::string_view utf8)
{
    std::u16string units;
    if (!text::utf8ToUnits(utf8, units))
        return std::string(utf8);
    std::string out;
    for (char16_t u : units) {
        const int b = text::toWindows1252(u);
        if (b < 0)
            return std::string(utf8);
        out += static_cast<char>(b);
    }
    return out;
}

int characters(std::string_view utf8)
{
    int n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
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
    const FilterSwitches& acc = filters.accept;
    const bool needQt = !acc.Fonts || !acc.DateTime || !acc.Numbers;
#ifndef LINGROVE_CLI_QT
    if (needQt) {
        const int status = lingrove::cli::runWithQt("strings", args);
        std::cerr << "strings: use --accept fonts,datetime,numbers to do without the font, date and number tests\n";
        return status;
    }
#endif

    std::string data, why;
    if (!lingrove::cli::readFile(file, data, &why)) {
        std::cerr << "strings: " << why << "\n";
        return 1;
    }
    // A form file of any kind is scanned in its page text.
    using lingrove::formfile::FormFormat;
    if (lingrove::formfile::formFormatOf(data) != FormFormat::Text || endsWithNoCase(file, ".dfm")) {
        try {
            data = lingrove::formfile::FormDocument::load(std::move(data)).pageText();
        } catch (const std::exception& e) {
            std::cerr << "strings: " << file << ": " << e.what() << "\n";
            return 1;
        }
    }
    const bool utf8 = text::hasUtf8ByteOrderMark(data);
    std::string_view text(data);
    if (utf8)
        text.remove_prefix(3);

#ifdef LINGROVE_CLI_QT
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
#endif

    std::string entry;
    lingrove::scanner::forEachLine(text, [&](int lineNumber, std::string_view line) {
        lingrove::scanner::forEachLiteral(line, [&](int posA, int posB, std::string_view literal) {
            if (!lingrove::scanner::acceptsLiteral(utf8 ? cp1252Of(literal) : std::string(literal), filters))
                return;
            entry.clear();
            if (utf8) {
                const int a = characters(line.substr(0, static_cast<std::size_t>(posA - 1))) + 1;
                const int b = characters(line.substr(0, static_cast<std::size_t>(posB)));
                lingrove::scanner::appendEntry(entry, lineNumber, a, b, literal);
            } else {
                lingrove::scanner::appendEntry(entry, lineNumber, posA, posB, utf8Of(literal));
            }
            std::cout << entry << '\n';
        });
    });
    std::cout << lingrove::scanner::EndLine << '\n';
    std::cout.flush();
    return std::cout ? 0 : 1;
}

const lingrove::cli::Registrar strings{{
    "strings",
    "strings FILE [--accept empty,fonts,datetime,numbers,dirs,extensions,separator]",
    "Print the entry list of a unit, project source or form file (UTF-8, columns in characters), end line "
    "included; --accept keeps the kinds of literal that are dropped otherwise.",
    runStrings,
}};

} // namespace
