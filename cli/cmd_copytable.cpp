// lingrove-cli-qt copytable: a dictionary table from this computer to a
// server, back, or to another name.
#include "cli/Command.h"
#include "cli/QtCommands.h"
#include "cli/QtSupport.h"
#include "model/TableCopy.h"

#include <iostream>

namespace {

using namespace lingrove;
using cli::qs;
using cli::utf8;

int runCopyTable(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::cerr << "copytable: a table to copy and a table to copy into are needed (copytable FROM TO)\n";
        return 2;
    }
    const auto app = cli::startQt();
    std::string warning;
    const model::Settings settings = cli::storedSettings(&warning);
    model::setCurrentDictionaryLocation(settings.dictionary);
    model::DictionaryLocation from;
    model::DictionaryLocation to;
    QString fromName;
    QString toName;
    QString error;
    if (!model::parseTableAddress(qs(args[0]), settings.dictionary, &from, &fromName, &error)
        || !model::parseTableAddress(qs(args[1]), settings.dictionary, &to, &toName, &error)) {
        std::cerr << "copytable: " << utf8(error) << "\n";
        return 2;
    }
    model::CopyReport report;
    if (!model::copyTable(from, fromName, to, toName, &report, &error)) {
        std::cerr << "copytable: " << utf8(error) << "\n";
        return 1;
    }
    const auto records = [](int n) { return std::to_string(n) + (n == 1 ? " record" : " records"); };
    if (report.created) {
        std::cout << "Copied " << records(report.records) << " of \"" << utf8(fromName) << "\" on "
                  << utf8(from.describe()) << " into the new table \"" << utf8(toName) << "\" on "
                  << utf8(to.describe()) << ".\n";
    } else {
        std::cout << "Merged " << records(report.records) << " of \"" << utf8(fromName) << "\" on "
                  << utf8(from.describe()) << " into \"" << utf8(toName) << "\" on " << utf8(to.describe()) << ": "
                  << report.added << " added, " << report.updated << " updated, " << report.conflicting
                  << " with translations that did not fit (five already, none replaced).\n";
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

const lingrove::cli::Registrar copyTableCommand{[] {
    const lingrove::cli::QtCommand* c = lingrove::cli::findQtCommand("copytable");
    return lingrove::cli::Command{c->name, c->usage, c->summary, runCopyTable};
}()};

} // namespace
