// lingrove-cli-qt export and import: a dictionary table to and from TMX,
// gettext PO and XLIFF files.
#include "cli/Command.h"
#include "cli/QtCommands.h"
#include "cli/QtSupport.h"
#include "model/DictionaryExchange.h"
#include "model/ProjectPages.h"

#include <algorithm>
#include <iostream>
#include <map>

namespace {

using namespace lingrove;
using cli::qs;
using cli::utf8;

// TABLE FILE, the flags in switches and the options with a value in
// options; false after a message.
bool parseArguments(const char* command, const std::vector<std::string>& args,
                    const std::vector<std::string>& switches, const std::vector<std::string>& options,
                    std::vector<std::string>* positional, std::map<std::string, std::string>* given)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (std::find(switches.begin(), switches.end(), a) != switches.end()) {
            (*given)[a] = "";
        } else if (std::find(options.begin(), options.end(), a) != options.end()) {
            if (i + 1 >= args.size()) {
                std::cerr << command << ": " << a << " needs a value\n";
                return false;
            }
            (*given)[a] = args[++i];
        } else if (a.empty() || a[0] == '-' || positional->size() == 2) {
            std::cerr << command << ": unexpected argument '" << a << "'\n";
            return false;
        } else {
            positional->push_back(a);
        }
    }
    if (positional->size() != 2) {
        std::cerr << command << ": a table and a file are needed\n";
        return false;
    }
    return true;
}

bool formatOf(const char* command, const std::string& file, model::ExchangeFormat* format)
{
    const auto f = model::exchangeFormatOf(qs(file));
    if (!f) {
        std::cerr << command << ": " << file << ": the format goes by the extension: .tmx, .po or .xlf\n";
        return false;
    }
    *format = *f;
    return true;
}

int runExport(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> given;
    if (!parseArguments("export", args, {}, {"--project", "--source-lang", "--target-lang"}, &positional, &given))
        return 2;
    model::ExchangeFormat format;
    if (!formatOf("export", positional[1], &format))
        return 2;
    const auto app = cli::startQt();
    std::string why;
    model::Dictionary dictionary;
    if (!cli::openTable(dictionary, positional[0], false, &why)) {
        std::cerr << "export: " << why << "\n";
        return 1;
    }
    model::ExportOptions options;
    options.original = dictionary.tableName();
    if (given.count("--project")) {
        model::Project project;
        if (!cli::readProject(given["--project"], &project, &why)) {
            std::cerr << "export: " << why << "\n";
            return 1;
        }
        options.sourceLanguage = model::languageTag(project.sourceLanguage);
        options.targetLanguage = model::languageTag(project.destLanguage);
        std::string warning;
        const model::Settings settings = cli::storedSettings(&warning);
        std::vector<model::ProjectPage> pages;
        QString error;
        if (!model::listProjectPages(project, &pages, &error)) {
            std::cerr << "export: " << utf8(error) << "\n";
            return 1;
        }
        options.locations = model::pageLocations(pages, settings);
    }
    if (given.count("--source-lang"))
        options.sourceLanguage = model::languageTag(qs(given["--source-lang"]));
    if (given.count("--target-lang"))
        options.targetLanguage = model::languageTag(qs(given["--target-lang"]));

    model::ExportResult result;
    QString error;
    if (!model::exportTable(dictionary, qs(positional[1]), format, options, &result, &error)) {
        std::cerr << "export: " << utf8(error) << "\n";
        return 1;
    }
    for (const QString& left : result.leftOut)
        std::cout << "left out: " << utf8(left) << "\n";
    std::cout << "Exported " << result.units << (result.units == 1 ? " unit" : " units") << " of table \""
              << utf8(dictionary.tableName()) << "\" to " << positional[1] << ".\n";
    std::cout.flush();
    return std::cout ? 0 : 1;
}

QString listed(const QStringList& texts)
{
    QStringList quoted;
    for (const QString& t : texts)
        quoted << QLatin1Char('"') + t + QLatin1Char('"');
    return quoted.join(QStringLiteral(", "));
}

int runImport(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> given;
    if (!parseArguments("import", args, {"--alternatives", "--dry-run"}, {"--source-lang", "--target-lang"}, &positional, &given))
        return 2;
    model::ExchangeFormat format;
    if (!formatOf("import", positional[1], &format))
        return 2;
    const auto app = cli::startQt();
    const bool dryRun = given.count("--dry-run") > 0;
    std::string why;
    bool created = false;
    model::Dictionary dictionary;
    if (!cli::openTable(dictionary, positional[0], !dryRun, &why, &created)) {
        std::cerr << "import: " << why << "\n";
        return 1;
    }
    if (created)
        std::cout << "Made the table \"" << utf8(dictionary.tableName()) << "\".\n";
    model::ImportOptions importOptions;
    if (given.count("--source-lang"))
        importOptions.sourceLanguage = qs(given["--source-lang"]);
    if (given.count("--target-lang"))
        importOptions.targetLanguage = qs(given["--target-lang"]);
    model::MergeOptions mergeOptions;
    mergeOptions.addAlternatives = given.count("--alternatives") > 0;
    mergeOptions.dryRun = dryRun;
    model::ImportReport report;
    QString error;
    if (!model::importFile(dictionary, qs(positional[1]), format, importOptions, mergeOptions, &report, &error)) {
        std::cerr << "import: " << utf8(error) << "\n";
        return 1;
    }
    for (const model::MergeResult& r : report.results) {
        if (!r.conflicting())
            continue;
        QStringList stored;
        for (const QString& t : r.before)
            if (!t.isEmpty())
                stored << t;
        std::cout << "conflict: \"" << utf8(r.source) << "\": the file has " << utf8(listed(r.notStored))
                  << (stored.isEmpty() ? QString() : QStringLiteral(", the table %1").arg(listed(stored))).toStdString()
                  << (r.added || stored.size() < model::kProposalCount ? "" : " (five translations already)")
                  << "; not stored\n";
    }
    const model::ImportedFile& f = report.file;
    if (!f.sourceLanguage.isEmpty() || !f.targetLanguage.isEmpty())
        std::cout << "Source language " << (f.sourceLanguage.isEmpty() ? "not named" : utf8(f.sourceLanguage))
                  << ", translations in " << (f.targetLanguage.isEmpty() ? "a language not named"
                                                                          : utf8(f.targetLanguage))
                  << ".\n";
    std::cout << (dryRun ? "Dry run, nothing written: " : "") << report.added << " added, " << report.updated
              << " updated, " << report.conflicting << " conflicting, " << report.unchanged << " unchanged";
    if (f.untranslated || f.fuzzy || f.other)
        std::cout << "; not imported: " << f.untranslated << " untranslated, " << f.fuzzy << " fuzzy, " << f.other
                  << " other (obsolete, plural forms, headers)";
    std::cout << ".\n";
    std::cout.flush();
    return std::cout ? 0 : 1;
}

lingrove::cli::Command command(const char* name, int (*run)(const std::vector<std::string>&))
{
    const lingrove::cli::QtCommand* c = lingrove::cli::findQtCommand(name);
    return {c->name, c->usage, c->summary, run};
}

const lingrove::cli::Registrar exportCommand{command("export", runExport)};
const lingrove::cli::Registrar importCommand{command("import", runImport)};

} // namespace
