// lingrove-cli-qt stats and pretranslate: a translation project's progress,
// and its pre-translation from the project's dictionary table.
#include "cli/Command.h"
#include "cli/QtCommands.h"
#include "cli/QtSupport.h"
#include "model/PreTranslation.h"
#include "model/ProjectStatistics.h"
#include "model/Workspace.h"

#include <algorithm>
#include <iomanip>
#include <iostream>

namespace {

using namespace lingrove;
using cli::utf8;

struct Opened {
    model::Workspace workspace;
    std::vector<model::ProjectPage> pages;
};

// The project of path with its settings, dictionary table and pages; false
// (with a message on standard error) when something is missing.
bool openProject(const char* command, const std::string& path, Opened& opened)
{
    std::string why;
    std::string warning;
    opened.workspace.setSettings(cli::storedSettings(&warning));
    if (!warning.empty())
        std::cerr << command << ": the stored settings are damaged, read up to: " << warning << "\n";
    model::Project project;
    if (!cli::readProject(path, &project, &why)) {
        std::cerr << command << ": " << why << "\n";
        return false;
    }
    opened.workspace.setProject(project);
    if (!cli::openTable(opened.workspace.dictionary(), utf8(project.dictionaryTable), false, &why)) {
        std::cerr << command << ": " << why << "\n";
        return false;
    }
    QString error;
    if (!model::listProjectPages(project, &opened.pages, &error)) {
        std::cerr << command << ": " << utf8(error) << "\n";
        return false;
    }
    return true;
}

// The one argument and the flags of a command; false after a message.
bool parseArguments(const char* command, const std::vector<std::string>& args, std::vector<std::string> flags,
                    std::string* file, std::vector<std::string>* given)
{
    for (const std::string& a : args) {
        if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
            given->push_back(a);
        } else if (a.empty() || a[0] == '-' || !file->empty()) {
            std::cerr << command << ": unexpected argument '" << a << "'\n";
            return false;
        } else {
            *file = a;
        }
    }
    if (file->empty()) {
        std::cerr << command << ": no project file given\n";
        return false;
    }
    return true;
}

int runStats(const std::vector<std::string>& args)
{
    std::string path;
    std::vector<std::string> flags;
    if (!parseArguments("stats", args, {}, &path, &flags))
        return 2;
    const auto app = cli::startQt();
    Opened opened;
    if (!openProject("stats", path, opened))
        return 1;
    model::DictionaryIndex index;
    if (!index.read(opened.workspace.dictionary())) {
        std::cerr << "stats: " << utf8(opened.workspace.dictionary().lastError()) << "\n";
        return 1;
    }
    const model::ProjectStatistics stats =
        model::projectStatistics(opened.pages, opened.workspace.settings(), index);

    std::size_t width = 7;   // "Project"
    for (const model::PageStatistics& p : stats.pages)
        width = std::max(width, std::size_t(p.name.size()));
    auto row = [&](const std::string& name, const auto&... columns) {
        std::cout << std::left << std::setw(int(width)) << name << std::right;
        ((std::cout << "  " << std::setw(10) << columns), ...);
        std::cout << '\n';
    };
    row("Page", "Entries", "Translated", "Remaining", "Matches", "Words", "Remaining");
    auto figures = [&](const std::string& name, const model::PageStatistics& s) {
        row(name, s.entries, s.translated, s.remaining, s.exactMatches, s.words, s.remainingWords);
    };
    int status = 0;
    for (const model::PageStatistics& p : stats.pages) {
        if (!p.problem.isEmpty()) {
            std::cerr << "stats: " << utf8(p.name) << ": " << utf8(p.problem) << "\n";
            status = 1;
            continue;
        }
        figures(utf8(p.name), p);
    }
    figures("Project", stats.total);
    const int percent = stats.total.entries ? 100 * stats.total.translated / stats.total.entries : 100;
    std::cout << "\n" << stats.total.translated << " of " << stats.total.entries << " entries translated (" << percent
              << "%), " << stats.total.remainingWords << " of " << stats.total.words << " words remaining; "
              << stats.total.exactMatches << " remaining entries have a stored translation.\n";
    std::cout.flush();
    return std::cout ? status : 1;
}

int runPretranslate(const std::vector<std::string>& args)
{
    std::string path;
    std::vector<std::string> flags;
    if (!parseArguments("pretranslate", args, {"--dry-run"}, &path, &flags))
        return 2;
    const bool dryRun = !flags.empty();
    const auto app = cli::startQt();
    Opened opened;
    if (!openProject("pretranslate", path, opened))
        return 1;
    if (opened.workspace.dictionary().isReadOnly())
        std::cout << "The dictionary table cannot be written; it is only read.\n";
    model::PreTranslator translator(opened.workspace);
    const model::PreTranslationReport report = translator.translateProject(opened.pages, dryRun);

    auto literal = [](const QString& text) {
        // Appended, not "'" + string: g++ 12 warns wrongly (-Wrestrict) on that at -O2.
        std::string quoted(1, '\'');
        quoted += utf8(text);
        quoted += '\'';
        return quoted;
    };
    for (const model::PreTranslatedFile& f : report.files) {
        if (!f.problem.isEmpty()) {
            std::cout << utf8(f.name) << ": not changed: " << utf8(f.problem) << "\n";
            continue;
        }
        if (f.entries.empty())
            continue;
        const int n = f.writtenEntries();
        std::cout << utf8(f.name) << ": " << n << (n == 1 ? " entry" : " entries")
                  << (dryRun ? " to write" : " written") << "\n";
        for (const model::PreTranslatedEntry& e : f.entries) {
            std::cout << "  " << e.line << ":" << e.column << "  " << literal(e.source);
            if (!e.skipped.isEmpty()) {
                std::cout << "  skipped: " << utf8(e.skipped) << "\n";
                continue;
            }
            std::cout << " -> " << literal(e.translation);
            if (e.alternatives > 0)
                std::cout << "  (first of " << e.alternatives + 1 << " translations)";
            std::cout << "\n";
            for (const model::CheckWarning& w : e.warnings)
                std::cout << "      warning: " << utf8(w.message) << "\n";
        }
    }
    const int entries = report.writtenEntries();
    const int files = report.changedFiles();
    std::cout << (dryRun ? "Dry run: " : "") << entries << (entries == 1 ? " entry" : " entries") << " in " << files
              << (files == 1 ? " file" : " files") << (dryRun ? " would be pre-translated; nothing was written.\n"
                                                              : " pre-translated.\n");
    std::cout.flush();
    return report.problems() > 0 || !std::cout ? 1 : 0;
}

lingrove::cli::Command command(const char* name, int (*run)(const std::vector<std::string>&))
{
    const lingrove::cli::QtCommand* c = lingrove::cli::findQtCommand(name);
    return {c->name, c->usage, c->summary, run};
}

const lingrove::cli::Registrar stats{command("stats", runStats)};
const lingrove::cli::Registrar pretranslate{command("pretranslate", runPretranslate)};

} // namespace
