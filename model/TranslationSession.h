#pragma once
// The translation loop on one page's document, without widgets:
//   - collect: Get strings fills the string list with the page's literals;
//   - locate: an entry's literal is found in the page (from the entry's line
//     on), marked in the "selected" look, and its source looked up in the
//     dictionary;
//   - commit: the translation replaces exactly the located literal (in the
//     "changed" look, apostrophes doubled), the entry is marked changed, the
//     change is recorded for undo and the dictionary learns the pair;
//   - undo: the newest recorded translation is put back to what it was.
// The windows show the list and the proposals, move the caret and tell the
// user what went wrong.
#include "model/Dictionary.h"
#include "model/StringListModel.h"
#include "model/UndoBuffer.h"
#include "core/scanner/Scanner.h"

#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>

namespace lingrove::model {

class Workspace;

// A translation as it is written between the apostrophes of a Pascal or form
// literal: every apostrophe doubled.
QString pascalQuoted(const QString& typed);
// The content of a literal as the user reads and types it: every doubled
// apostrophe as one.
QString pascalUnquoted(const QString& written);

// The literals of every line of document (block i is page line i + 1) that
// pass filters.
std::vector<ListEntry> collectEntries(const QTextDocument& document, const scanner::ScanFilters& filters);

class TranslationSession : public QObject {
    Q_OBJECT

public:
    explicit TranslationSession(Workspace& workspace, QObject* parent = nullptr);

    StringListModel& list() { return list_; }
    const StringListModel& list() const { return list_; }
    UndoBuffer& undoBuffer() { return undo_; }

    // Get strings: the list of the literals of document, the page captioned
    // page (none for nullptr, the project page). An entry is marked changed
    // when the project's translated literals hold it (see Project.h).
    void collect(const QTextDocument* document, const QString& page = {});
    // Empties the list.
    void clear();

    struct Location {
        QPointer<QTextDocument> document;
        int row = -1;          // in the string list
        int start = 0;         // document position of the literal's content
        int length = 0;
        int line = 0;          // 1-based page line
        int column = 0;        // 1-based column of the content
        QString content;       // as it stands in the page
    };

    // Finds entry row's literal in document from the entry's line on (the
    // first entry from the first line), gives it the selected look and looks
    // its source up. nullopt (nothing changed) when row is no entry or the
    // literal is not found.
    std::optional<Location> locate(QTextDocument* document, int row);
    // The last located literal, until a commit, an undo or a new list.
    const std::optional<Location>& located() const { return located_; }
    // True while cursor (of document) selects exactly the literal located for row.
    bool isLocated(const QTextDocument* document, int row, const QTextCursor& cursor) const;

    // The located entry's text as the user reads it, and its proposals.
    const QString& source() const { return source_; }
    const Proposals& proposals() const { return proposals_; }
    // The dictionary's error of the last lookup; empty when it succeeded.
    const QString& lookupError() const { return lookupError_; }

    struct Commit {
        QTextCursor written;   // the caret right after the translation as written into the page
        QString storeError;    // the dictionary could not learn the pair
    };
    // Writes typed over the literal located for row, which cursor must still
    // select. nullopt (nothing written) when it does not.
    std::optional<Commit> commit(int row, const QString& typed, const QTextCursor& cursor);

    // Puts the newest recorded translation on document back to the literal's
    // old text; the entry in the list shows its old text again, unmarked.
    // nullopt on success, else why nothing was done.
    std::optional<QString> undo(QTextDocument* document);

signals:
    // After a commit or an undo changed the undo buffer.
    void undoChanged();

private:
    Workspace& workspace_;
    StringListModel list_;
    QPointer<const QTextDocument> listDocument_;   // the document the list was collected from
    QString page_;                                  // its page
    UndoBuffer undo_;
    std::optional<Location> located_;
    QString source_;
    Proposals proposals_;
    QString lookupError_;
};

} // namespace lingrove::model
