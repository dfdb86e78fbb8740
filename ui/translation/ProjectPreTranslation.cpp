#include "ui/translation/ProjectPreTranslation.h"

#include "model/SourceFile.h"
#include "model/TranslationSession.h"
#include "model/Workspace.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/UserInterface.h"
#include "ui/shell/WaitCursor.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <memory>

namespace lingrove::ui {

ProjectPreTranslation::ProjectPreTranslation(model::Workspace& workspace, Shell& shell,
                                             model::TranslationSession& session)
    : workspace_(workspace)
    , shell_(shell)
    , session_(session)
{
}

std::optional<PreTranslationOutcome> ProjectPreTranslation::run(bool dryRun)
{
    QWidget* window = shell_.window();
    if (!workspace_.project().isOpen()) {
        ui().message(window, QStringLiteral("Open a project first."));
        return std::nullopt;
    }
    model::Dictionary& dictionary = workspace_.dictionary();
    if (!dictionary.isOpen()) {
        ui().message(window, QStringLiteral("The project's dictionary table is not open."), BoxKind::Warning);
        return std::nullopt;
    }
    std::vector<model::ProjectPage> pages;
    QString why;
    if (!model::listProjectPages(workspace_.project(), &pages, &why)) {
        ui().error(window, why);
        return std::nullopt;
    }

    // Each unit and form with the page that shows it, if one does.
    const std::vector<OpenFilePage> open = shell_.pages().openFilePages();
    auto pageOf = [&](const model::ProjectPage& page) -> const OpenFilePage* {
        for (const OpenFilePage& p : open)
            if (QFileInfo(p.file->path()) == QFileInfo(page.path))
                return &p;
        return nullptr;
    };
    int files = 0;
    QStringList shown;
    for (const model::ProjectPage& page : pages) {
        if (!page.isSource)
            continue;
        if (pageOf(page))
            shown << page.name;
        else
            ++files;
    }

    if (!dryRun) {
        QString text = QStringLiteral("Pre-translation writes the first stored translation of every entry that "
                                      "the dictionary table \"%1\" knows into the project's units and forms.\n\n")
                           .arg(dictionary.tableName());
        if (files > 0)
            text += QStringLiteral("%1 %2 on disk %3 changed and saved.\n")
                        .arg(files)
                        .arg(files == 1 ? QStringLiteral("file") : QStringLiteral("files"))
                        .arg(files == 1 ? QStringLiteral("is") : QStringLiteral("are"));
        if (!shown.isEmpty())
            text += QStringLiteral("Open pages (%1) are changed in the window and not saved; UNDO takes their "
                                   "translations back.\n")
                        .arg(shown.join(QStringLiteral(", ")));
        text += QStringLiteral("\nPre-translate the project now?");
        if (!ui().question(window, text, BoxKind::Confirmation))
            return std::nullopt;
    }

    WaitCursor wait;
    // A preview writes nothing, not even the marks of translated literals.
    const model::TranslatedLiterals translated = workspace_.project().translated;
    const bool saved = workspace_.isProjectSaved();

    PreTranslationOutcome outcome;
    outcome.report.dryRun = dryRun;
    outcome.openPages = shown;
    model::PreTranslator translator(workspace_);
    for (const model::ProjectPage& page : pages) {
        if (!page.isSource)
            continue;
        const OpenFilePage* onPage = pageOf(page);
        if (!onPage) {
            model::PreTranslationReport one = translator.translateProject({page}, dryRun);
            for (model::PreTranslatedFile& f : one.files)
                outcome.report.files.push_back(std::move(f));
            continue;
        }
        model::PreTranslatedFile result;
        result.name = page.name;
        result.path = page.path;
        QTextDocument* document = onPage->editor->document();
        std::unique_ptr<QTextDocument> copy;
        std::unique_ptr<model::TranslationSession> scratch;
        model::TranslationSession* session = &session_;
        if (dryRun) {
            copy.reset(document->clone());
            document = copy.get();
            scratch = std::make_unique<model::TranslationSession>(workspace_);
            session = scratch.get();
        }
        QString error;
        if (!translator.translateDocument(*document, *session, *onPage->file, &result.entries, &error,
                                          onPage->caption)) {
            result.problem = error;
            result.entries.clear();
        }
        outcome.report.files.push_back(std::move(result));
    }
    if (dryRun) {
        workspace_.project().translated = translated;
        workspace_.setProjectSaved(saved);
    }
    return outcome;
}

} // namespace lingrove::ui
