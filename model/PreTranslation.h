#pragma once
// Pre-translation: every entry of a page whose source the dictionary knows
// gets the source's first stored translation, written through the same
// steps as a commit by hand (TranslationSession: locate, commit), so that
// apostrophes are doubled, the written literal gets the "changed" look and
// the undo buffer records it; whole files are read and saved through
// SourceFile (their own encoding and line breaks, forms converted back,
// written through a temporary file).
//
// Left alone: entries that hold a stored translation already (see
// ProjectStatistics.h), entries whose translation is the source itself, and
// entries whose translation no literal of the file can hold (a line break,
// as an imported translation may have; a character outside Windows-1252 in
// an 8-bit file); those are reported, so that one such text does not keep
// the rest of its file from being written.
// Every written entry is checked as a commit is (TranslationChecks.h): an
// accelerator the stored translation lacks, a format string, and on forms
// the clashes and widths.
#include "model/ProjectPages.h"
#include "model/ProjectStatistics.h"
#include "model/TranslationChecks.h"

#include <QString>

#include <functional>
#include <vector>

class QTextDocument;

namespace lingrove::model {

class SourceFile;
class TranslationSession;
class Workspace;

struct PreTranslatedEntry {
    int line = 0;          // 1-based page line
    int column = 0;        // 1-based column of the literal's content
    QString source;        // the literal's text before (apostrophes single)
    QString translation;   // the text written; empty when skipped
    int alternatives = 0;  // further stored translations, not written
    QString skipped;       // why nothing was written, or empty
    std::vector<CheckWarning> warnings;
};

struct PreTranslatedFile {
    QString name;
    QString path;
    std::vector<PreTranslatedEntry> entries;   // written and skipped ones, in page order
    QString problem;    // the file could not be read or written: it is unchanged
    bool written = false;

    int writtenEntries() const;
};

struct PreTranslationReport {
    std::vector<PreTranslatedFile> files;
    bool dryRun = false;

    int writtenEntries() const;
    int changedFiles() const;
    int problems() const;
};

class PreTranslator {
public:
    // Uses the workspace's settings (string filters, looks) and its open
    // dictionary table.
    explicit PreTranslator(Workspace& workspace);

    // Pre-translates document, the page file was loaded into, through
    // session, which collects the page's entries anew (as those of page, the
    // name its written literals are marked translated under). The caller
    // saves the document. False with why when the dictionary cannot be read.
    bool translateDocument(QTextDocument& document, TranslationSession& session, const SourceFile& file,
                           std::vector<PreTranslatedEntry>* entries, QString* why, const QString& page = {});

    // Every unit and form of pages: read, pre-translated and, unless dryRun,
    // saved when an entry was written. skip (when given) names pages to
    // leave out (those the window has open and does itself). A dry run
    // leaves the project's marks of translated literals as they were.
    PreTranslationReport translateProject(const std::vector<ProjectPage>& pages, bool dryRun,
                                          const std::function<bool(const ProjectPage&)>& skip = {});

private:
    bool readIndex(QString* why);

    Workspace& workspace_;
    DictionaryIndex index_;
    bool indexRead_ = false;
};

} // namespace lingrove::model
