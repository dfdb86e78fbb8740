#include "model/PreTranslation.h"

#include "model/RtfReader.h"
#include "model/SourceFile.h"
#include "model/TranslationSession.h"
#include "model/Workspace.h"

#include <QTextDocument>

#include <algorithm>

namespace lingrove::model {

namespace {

// The first character of text that an 8-bit file cannot hold, or a null QChar.
QChar notInWindows1252(const QString& text)
{
    for (const QChar c : text)
        if (unicodeToWindows1252(c.unicode()) < 0)
            return c;
    return QChar();
}

} // namespace

int PreTranslatedFile::writtenEntries() const
{
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const PreTranslatedEntry& e) { return e.skipped.isEmpty(); }));
}

int PreTranslationReport::writtenEntries() const
{
    int n = 0;
    for (const PreTranslatedFile& f : files)
        n += f.problem.isEmpty() ? f.writtenEntries() : 0;
    return n;
}

int PreTranslationReport::changedFiles() const
{
    return int(std::count_if(files.begin(), files.end(), [](const PreTranslatedFile& f) {
        return f.problem.isEmpty() && f.writtenEntries() > 0;
    }));
}

int PreTranslationReport::problems() const
{
    return int(std::count_if(files.begin(), files.end(), [](const PreTranslatedFile& f) {
        return !f.problem.isEmpty();
    }));
}

PreTranslator::PreTranslator(Workspace& workspace)
    : workspace_(workspace)
{
}

bool PreTranslator::readIndex(QString* why)
{
    if (indexRead_)
        return true;
    if (!index_.read(workspace_.dictionary())) {
        *why = workspace_.dictionary().lastError();
        return false;
    }
    indexRead_ = true;
    return true;
}

bool PreTranslator::translateDocument(QTextDocument& document, TranslationSession& session, const SourceFile& file,
                                      std::vector<PreTranslatedEntry>* entries, QString* why, const QString& page)
{
    entries->clear();
    if (!readIndex(why))
        return false;
    const bool eightBit = file.decoding().encoding == TextEncoding::Windows1252;

    Dictionary& dictionary = workspace_.dictionary();
    session.collect(&document, page);
    const StringListModel& list = session.list();
    for (int row = 0; row < list.entryCount(); ++row) {
        const ListEntry* entry = list.entry(row);
        const QString source = pascalUnquoted(entry->text);
        const QString key = withoutAmpersands(source);
        if (key.isEmpty() || index_.isTranslation(key))
            continue;
        Proposals dests;
        if (!dictionary.find(key, &dests)) {
            if (!dictionary.lastError().isEmpty()) {
                *why = dictionary.lastError();
                return false;
            }
            continue;
        }
        const auto first = std::find_if(dests.begin(), dests.end(), [](const QString& t) { return !t.isEmpty(); });
        if (first == dests.end() || *first == key)
            continue;

        PreTranslatedEntry done;
        done.line = entry->line;
        done.column = entry->posA;
        done.source = source;
        done.alternatives = int(std::count_if(dests.begin(), dests.end(), [](const QString& t) {
                                    return !t.isEmpty();
                                })) - 1;
        // A literal is one line: a translation with a line break (as an
        // imported one may have) would break the source or the form.
        const auto control = std::find_if(first->begin(), first->end(),
                                          [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
        if (control != first->end()) {
            done.skipped = QStringLiteral("The translation holds a line break or another control character "
                                          "(U+%1), which a literal cannot hold.")
                               .arg(control->unicode(), 4, 16, QLatin1Char('0'));
            entries->push_back(done);
            continue;
        }
        const QChar unwritable = eightBit ? notInWindows1252(*first) : QChar();
        if (!unwritable.isNull()) {
            done.skipped = QStringLiteral("The file is 8-bit text: the translation's character \"%1\" (U+%2) cannot "
                                          "be written into it.")
                               .arg(unwritable)
                               .arg(unwritable.unicode(), 4, 16, QLatin1Char('0'));
            entries->push_back(done);
            continue;
        }
        const std::optional<TranslationSession::Location> at = session.locate(&document, row);
        if (!at) {
            done.skipped = QStringLiteral("The literal was not found on its line any more.");
            entries->push_back(done);
            continue;
        }
        QTextCursor cursor(&document);
        cursor.setPosition(at->start);
        cursor.setPosition(at->start + at->length, QTextCursor::KeepAnchor);
        if (!session.commit(row, *first, cursor)) {
            done.skipped = QStringLiteral("The literal could not be written.");
            entries->push_back(done);
            continue;
        }
        done.line = at->line;
        done.column = at->column;
        done.translation = *first;
        done.warnings = checkTranslation(source, *first);
        entries->push_back(done);
    }

    if (file.isForm()) {
        // The clashes and widths of the form as it is now, every caption written.
        if (const std::optional<FormOutline> outline = FormOutline::read(documentText(document))) {
            for (PreTranslatedEntry& e : *entries) {
                if (!e.skipped.isEmpty())
                    continue;
                std::vector<CheckWarning> more = checkFormCaption(*outline, e.line);
                e.warnings.insert(e.warnings.end(), more.begin(), more.end());
            }
        }
    }
    return true;
}

PreTranslationReport PreTranslator::translateProject(const std::vector<ProjectPage>& pages, bool dryRun,
                                                     const std::function<bool(const ProjectPage&)>& skip)
{
    PreTranslationReport report;
    report.dryRun = dryRun;
    // Each entry written marks its literal translated in the project; a dry
    // run writes nothing, so it marks nothing either.
    const TranslatedLiterals translated = workspace_.project().translated;
    const bool saved = workspace_.isProjectSaved();
    for (const ProjectPage& page : pages) {
        if (!page.isSource || (skip && skip(page)))
            continue;
        PreTranslatedFile result;
        result.name = page.name;
        result.path = page.path;
        SourceFile file(page.path);
        QTextDocument document;
        FileProblem problem;
        TranslationSession session(workspace_);
        QString why;
        if (!file.load(document, pascal::ColourScheme::classic(), &problem)) {
            result.problem = problem.message;
        } else if (!translateDocument(document, session, file, &result.entries, &why, page.name)) {
            result.problem = why;
            result.entries.clear();
        } else if (!dryRun && result.writtenEntries() > 0) {
            if (file.save(documentText(document), &problem))
                result.written = true;
            else
                result.problem = problem.message;
        }
        report.files.push_back(std::move(result));
    }
    if (dryRun) {
        workspace_.project().translated = translated;
        workspace_.setProjectSaved(saved);
    }
    return report;
}

} // namespace lingrove::model
