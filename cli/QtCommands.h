#pragma once
// The commands that need Qt and the model. lingrove-cli lists them and hands
// them to lingrove-cli-qt, built beside it, which runs them; so lingrove-cli
// itself links no Qt and starts quickly.
#include <string>
#include <vector>

namespace lingrove::cli {

struct QtCommand {
    const char* name;
    const char* usage;
    const char* summary;
};

inline const std::vector<QtCommand>& qtCommands()
{
    static const std::vector<QtCommand> all = {
        {"stats", "stats PROJECT.lgv",
         "Print entries, translated and remaining entries and words of each unit and form of the project and "
         "of the whole project; an entry is translated when its text is a translation stored in the project's "
         "dictionary table."},
        {"pretranslate", "pretranslate PROJECT.lgv [--dry-run]",
         "Write the first stored translation of every entry the project's dictionary table knows into the "
         "project's units and forms, and list each file and entry changed with the checks' warnings; "
         "--dry-run lists them and writes nothing."},
        {"export", "export TABLE FILE [--project PROJECT.lgv] [--source-lang TAG] [--target-lang TAG]",
         "Write a dictionary table (a name as for copytable, or a .db file) as TMX 1.4b, gettext PO or "
         "XLIFF 1.2, by FILE's extension (.tmx, .po, .xlf); with --project each unit names the pages and lines "
         "of its texts and the languages come from the project."},
        {"copytable", "copytable FROM TO",
         "Copy a dictionary table. FROM and TO are sqlite:NAME (a table of this computer's dictionary folder), "
         "postgresql:NAME (a table of the server the options name; what they leave open comes from libpq's PG* "
         "environment variables, the password from ~/.pgpass or PGPASSWORD) or NAME (where the options keep "
         "tables). A missing TO is made with FROM's field size and gets every record as it is; into an existing TO "
         "the records are merged: new sources are added, other translations go into free slots, none is replaced."},
        {"import", "import TABLE FILE [--alternatives] [--dry-run] [--source-lang TAG] [--target-lang TAG]",
         "Merge the pairs of a TMX, PO or XLIFF file into a dictionary table (made when missing): new sources "
         "are added; a stored translation is never replaced, and a different one is listed as a conflict "
         "(--alternatives stores it in a free slot); --dry-run writes nothing. In TMX the source is the variant in the "
         "header's srclang, or in --source-lang."},
    };
    return all;
}

inline const QtCommand* findQtCommand(const std::string& name)
{
    for (const QtCommand& c : qtCommands())
        if (name == c.name)
            return &c;
    return nullptr;
}

// Runs lingrove-cli-qt (beside this program) with command and args in place
// of this process; returns (with a message) only when that failed.
int runWithQt(const std::string& command, const std::vector<std::string>& args);

} // namespace lingrove::cli
