#pragma once
// "Pre-translate project" in the window: every entry of the project's units
// and forms whose text the dictionary knows gets the text's first stored
// translation (model/PreTranslation.h). A page the window has open is
// translated there, through the string list's session, so that UNDO takes
// its translations back and its tab shows it changed; it is saved as any
// page is. Every other file is read, translated and saved. A preview (dry
// run) works on copies and writes nothing.
#include "model/PreTranslation.h"

#include <QStringList>

#include <optional>

namespace lingrove::model {
class TranslationSession;
class Workspace;
}

namespace lingrove::ui {

class Shell;

struct PreTranslationOutcome {
    model::PreTranslationReport report;   // every unit and form, in the tree's order
    QStringList openPages;                // the names of those done in the window
};

class ProjectPreTranslation {
public:
    ProjectPreTranslation(model::Workspace& workspace, Shell& shell, model::TranslationSession& session);

    // Pre-translates the project; asks first unless dryRun. nullopt when
    // nothing was done: no project or table open, the project source not
    // readable (the user is told), or the user declined.
    std::optional<PreTranslationOutcome> run(bool dryRun);

private:
    model::Workspace& workspace_;
    Shell& shell_;
    model::TranslationSession& session_;
};

} // namespace lingrove::ui
