#pragma once
// The dictionary: for each source text already translated, up to five
// different translations.
//
// Storage. Tables live on this computer (the default) or on a PostgreSQL
// server a team shares (model/DictionaryLocation.h); the functions below
// that are given no folder work in the program's current location, those
// given a folder or a location there. Both engines keep the same records
// and follow the same rules; what differs between them is in
// model/DictionaryBackend.h (the server's layout, connections and
// concurrency are described in model/PostgresBackend.cpp).
//
// On this computer the dictionary folder is "DB" inside the program's
// folder. Each dictionary table is one SQLite file "<name>.db" there, holding
//   - the table Dictionary (Source, Dest1 .. Dest5, all text) with the unique
//     primary index SourceIndex on Source, and
//   - the one-row table TableInfo (FieldSize), the size chosen when the table
//     was created (10 to 100), and
//   - the full-text index DictionaryTrigrams over Source (SQLite FTS5 with the
//     trigram tokenizer, its content read from Dictionary by rowid), kept in
//     step with Dictionary by the triggers DictionaryTrigramsInsert,
//     DictionaryTrigramsDelete and DictionaryTrigramsUpdate. Opening a table
//     that can be written adds index and triggers when they are missing
//     (tables made before they existed, or by other programs) and fills the
//     index in the same transaction. Where SQLite lacks FTS5 or the trigram
//     tokenizer the table works without them.
// The table names shown to the user are the base names of those files.
//
// Field size. SQLite keeps texts of any length, and a dictionary that cut
// texts at the field size would propose truncated translations and mix up
// long sources that share their first characters. So sources and
// translations are stored and looked up in full; the field size is the
// table's declared display width (the dictionary window sizes its columns by
// it and shows it) and never shortens a stored text. Tables of every field
// size open as working tables.
//
// Sharing. Every open table has its own named connection. The files use the
// WAL journal and a busy timeout of 5 s, and every store runs in one
// immediate transaction that re-reads the record, so two programs working on
// the same dictionary neither corrupt it nor overwrite each other's
// translations. A lookup, a store or an opening that meets a busy database
// is tried again until the busy timeout has passed.
//
// Read-only tables. A table whose file or folder cannot be written (or lacks
// its owner's write permission) opens for lookups only; stores then fail
// with a message saying so.
//
// Similar matches. A source with fewer than five translations leaves slots
// free; similarMatches() fills them with translations of other sources that
// are at least kMinSimilarity percent alike (model/Similarity.h), each with
// its source and similarity, so that the window can set them apart from the
// exact ones. Candidates come from the trigram index: the key is cut into
// pieces (its trigrams when it is short, else pieces of five characters),
// the records sharing the most pieces are scored by edit distance. Sources
// that share no piece with the key are not found, which costs little: a
// text 70% alike keeps most of its pieces. A table without the index (read-
// only, made elsewhere) is searched record by record instead.
//
// On a server the similar matches' candidates come from the pg_trgm
// extension's trigram index where the server has it, else every record is
// scored; the scoring is the same as on this computer.
//
// Errors are returned (false plus a message the caller can show; for a
// server it names the server), never thrown. A server connection that broke
// is made again once by the next call, which then repeats its work (stores
// and merges may run twice without harm: the store rule keeps a translation
// once).
#include "model/DictionaryTableModel.h"
#include "model/DictionaryLocation.h"
#include "model/Similarity.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QSqlError;
class QSqlQuery;

namespace lingrove::model {

inline constexpr int kMinFieldSize = 10;
inline constexpr int kMaxFieldSize = 100;
inline constexpr int kDefaultFieldSize = 50;
inline constexpr int kProposalCount = 5;

using Proposals = std::array<QString, kProposalCount>;

// A translation of a stored source like the one looked up.
struct SimilarMatch {
    QString source;        // the stored source ("&" removed, as stored)
    QString translation;
    int similarity = 0;    // percent, kMinSimilarity..99

    bool operator==(const SimilarMatch&) const = default;
};

// What merging translations from elsewhere did to one source.
struct MergeResult {
    QString source;
    Proposals before;        // the stored translations before the merge
    bool added = false;      // the source was new: a record was made
    QStringList stored;      // incoming translations written into the record
    QStringList notStored;   // incoming translations that differ from the stored
                             // ones and were not written (conflicts)

    bool conflicting() const { return !notStored.isEmpty(); }
    bool updated() const { return !added && !stored.isEmpty(); }
};

struct MergeOptions {
    // Also store an incoming translation that differs from the stored ones,
    // in a free slot (never over a stored translation). Without it a source
    // that has translations keeps exactly them.
    bool addAlternatives = false;
    // Work everything out, write nothing.
    bool dryRun = false;
};

// The text with every "&" removed (the form in which sources and
// translations are kept).
QString withoutAmpersands(const QString& text);

// <program folder>/DB, created when missing.
QString dictionaryFolder();

// The names of the dictionary tables in folder (empty: the current
// location), sorted without regard to case: base names of the "*.db" files,
// without extension; on a server the names of its catalogue. Empty when
// the server cannot be asked.
QStringList listTables(const QString& folder = {});
// The same for location; false with a message when the server cannot be
// asked.
bool listTables(const DictionaryLocation& location, QStringList* names, QString* error);

// Empty when name can name a table; otherwise the message to show.
QString checkTableName(const QString& name);

// The file of table name in folder (which need not exist). An existing file
// whose name differs only in letter case is found too.
QString tableFilePath(const QString& name, const QString& folder = dictionaryFolder());

// Create the table name with the given field size (clamped to 10..100) in
// folder (empty: the current location). Refuses bad names and names of
// existing tables: the stored dictionary is never replaced. The file is
// built under a temporary name and renamed into place (on a server: one
// transaction), so a failure leaves no half-made table.
bool createTable(const QString& name, int fieldSize, QString* error, const QString& folder = {});
bool createTable(const QString& name, int fieldSize, const DictionaryLocation& location, QString* error);

namespace detail {
class TableBackend;
enum class Failure;
}

// One connection to one table. Closes itself on destruction.
class TableConnection {
public:
    TableConnection();
    ~TableConnection();
    TableConnection(const TableConnection&) = delete;
    TableConnection& operator=(const TableConnection&) = delete;

    // Open the existing table name of folder (empty: the current location)
    // or of location. On failure stays closed and sets error.
    bool open(const QString& name, QString* error, const QString& folder = {});
    bool open(const QString& name, const DictionaryLocation& location, QString* error);
    void close();
    bool isOpen() const { return backend_ != nullptr; }

    QSqlDatabase database() const;
    QString name() const;
    // Where the table is.
    DictionaryLocation location() const;
    // The table's file; empty on a server.
    QString filePath() const;
    int fieldSize() const;
    // Opened for lookups only: the file or its folder cannot be written, or
    // the server grants reading only.
    bool isReadOnly() const;
    // The similar matches have an index (FTS5 trigrams, pg_trgm).
    bool hasTrigramIndex() const;
    // Where the table's records are for the dictionary window's grid: the
    // relation, the column that tells records apart, the engine.
    GridTable gridTable() const;

    // For Dictionary: the engine's side of the table.
    detail::TableBackend& backend() const { return *backend_; }

private:
    std::unique_ptr<detail::TableBackend> backend_;
};

// Give the open table the indexes Dest1Index .. Dest5Index, where missing,
// so that a grid sorted by a translation reads its pages by index. False
// with a message when they cannot be made (a read-only table, a database
// kept busy by another program); the table then works as before, its sorts
// by translation are only slower.
bool ensureSortIndexes(const TableConnection& table, QString* error = nullptr);

// The working table of the translation loop.
class Dictionary {
public:
    Dictionary();
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // Open table name of folder (empty: the current location) or of
    // location, closing the one open before. False with a message when the
    // name is empty or bad, the table is missing or unreadable, or the
    // server cannot be reached; the dictionary is then closed.
    bool open(const QString& name, QString* error = nullptr, const QString& folder = {});
    bool open(const QString& name, const DictionaryLocation& location, QString* error = nullptr);
    void close();
    bool isOpen() const { return table_.isOpen(); }
    QString tableName() const { return table_.name(); }
    DictionaryLocation location() const { return table_.location(); }
    int fieldSize() const { return table_.fieldSize(); }
    // A table whose file or folder cannot be written opens for lookups only;
    // stores then fail with a message that says so.
    bool isReadOnly() const { return table_.isReadOnly(); }
    // The error of the last lookup or store; empty when it succeeded.
    QString lastError() const { return lastError_; }

    // The lookup: the five translations of key ("&" removed), empty texts
    // where there are none. Remembers key, proposals and the new-record flag
    // for the next store. Writes nothing. On a database error (or when no
    // table is open) returns five empty texts and sets lastError().
    Proposals lookup(const QString& key);

    // Learn translation for source (both taken without "&"): a new source
    // gets a record with the translation first; a known source gets the
    // translation in the first slot that holds it already or is empty; a
    // sixth different translation is not stored. The record is read again
    // inside the transaction, so translations stored meanwhile by another
    // program are kept. False with lastError() on a database error.
    bool store(const QString& source, const QString& translation);

    // The state of the last lookup (or store).
    QString lookupKey() const { return lookupKey_; }
    bool isNewRecord() const { return newRecord_; }
    const Proposals& proposals() const { return proposals_; }

    // Translations of sources similar to key ("&" removed), at least
    // kMinSimilarity percent alike, most alike first (then by source, then
    // by slot): at most limit of them, none equal to one of exclude. The
    // record of key itself is left out. Writes nothing. On a database error
    // returns what was found and sets lastError().
    std::vector<SimilarMatch> similar(const QString& key, int limit, const QStringList& exclude = {});
    // The similar matches for the slots that exact left free: as many as
    // exact has empty texts, none equal to one of its texts.
    std::vector<SimilarMatch> similarMatches(const QString& key, const Proposals& exact);
    // Whether similar() uses the trigram index (else it reads every record).
    bool hasSimilarIndex() const { return table_.hasTrigramIndex(); }

    // Calls visit for every record in the order they were made. False with
    // lastError() on a database error.
    bool forEachRecord(const std::function<void(const QString& source, const Proposals& dests)>& visit);

    // Merge translations from elsewhere: for each source (taken without "&",
    // empty texts ignored, the same source given twice counted once) its
    // translations in order. A new source gets a record with up to five of
    // them. A known source without translations gets them in its slots; a
    // known source with translations keeps them, and an incoming one that
    // differs is a conflict: not stored, or with addAlternatives stored in a
    // free slot. A stored translation is never replaced. One transaction;
    // results (when given) lists every source in order. False with
    // lastError() on a database error (nothing is then written).
    bool merge(const std::vector<std::pair<QString, QStringList>>& records, const MergeOptions& options,
               std::vector<MergeResult>* results = nullptr);

    // The stored record of source ("&" removed), if any; for tests and tools.
    bool find(const QString& source, Proposals* dests);
    // Number of records.
    int count();

    // Adds records as they are (empty slots kept) to a table that has none
    // of their sources, in the order given, in one transaction; for copying
    // whole tables. False with lastError() (nothing is then written).
    bool insertRecords(const std::vector<std::pair<QString, Proposals>>& records);

private:
    bool fail(const QString& message);
    bool failed(const QSqlError& error);
    template<typename Attempt>
    bool run(Attempt attempt);
    bool readRecord(const QString& source, Proposals* dests, bool* found, bool forWrite = false);
    bool storeOnce(const QString& key, const QString& text, Proposals& current, bool& added);
    bool similarByIndex(const std::u32string& key, std::vector<std::pair<int, Proposals>>& found,
                        std::vector<QString>& sources);
    bool similarByScan(const std::u32string& key, std::vector<std::pair<int, Proposals>>& found,
                       std::vector<QString>& sources);
    bool mergeOnce(const std::vector<std::pair<QString, QStringList>>& records, const MergeOptions& options,
                   std::vector<MergeResult>& results);
    void rollback();
    // Opens a transaction with begin for a job over many records and lifts
    // the engine's time limits inside it. False with the error recorded (and
    // the transaction rolled back) when it cannot.
    bool beginBulk(const QString& begin);
    // The statement sql, prepared once per connection (a server answers a
    // prepared statement in one round trip).
    QSqlQuery& prepared(const QString& sql);
    void forgetStatements();

    TableConnection table_;
    std::map<QString, std::unique_ptr<QSqlQuery>> statements_;
    std::unique_ptr<QSqlQuery> unprepared_;
    QString lastError_;
    QString lookupKey_;
    bool newRecord_ = false;
    Proposals proposals_;
    // What made the last statement fail, for run().
    std::optional<detail::Failure> failure_;
};

} // namespace lingrove::model
