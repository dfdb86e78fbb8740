#pragma once
// The dictionary: for each source text already translated, up to five
// different translations.
//
// Storage. The dictionary folder is "DB" inside the program's folder. Each
// dictionary table is one SQLite file "<name>.db" there, holding
//   - the table Dictionary (Source, Dest1 .. Dest5, all text) with the unique
//     primary index SourceIndex on Source, and
//   - the one-row table TableInfo (FieldSize), the size chosen when the table
//     was created (10 to 100).
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
// Errors are returned (false plus a message the caller can show), never
// thrown.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>

namespace lingrove::model {

inline constexpr int kMinFieldSize = 10;
inline constexpr int kMaxFieldSize = 100;
inline constexpr int kDefaultFieldSize = 50;
inline constexpr int kProposalCount = 5;

using Proposals = std::array<QString, kProposalCount>;

// The text with every "&" removed (the form in which sources and
// translations are kept).
QString withoutAmpersands(const QString& text);

// <program folder>/DB, created when missing.
QString dictionaryFolder();

// The names of the dictionary tables in folder, sorted without regard to
// case: base names of the "*.db" files, without extension.
QStringList listTables(const QString& folder = dictionaryFolder());

// Empty when name can name a table; otherwise the message to show.
QString checkTableName(const QString& name);

// The file of table name in folder (which need not exist). An existing file
// whose name differs only in letter case is found too.
QString tableFilePath(const QString& name, const QString& folder = dictionaryFolder());

// Create the table name with the given field size (clamped to 10..100).
// Refuses bad names and names of existing tables: the stored dictionary is
// never replaced. The file is built under a temporary name and renamed into
// place, so a failure leaves no half-made table.
bool createTable(const QString& name, int fieldSize, QString* error,
                 const QString& folder = dictionaryFolder());

// One connection to one table file. Closes itself on destruction.
class TableConnection {
public:
    TableConnection() = default;
    ~TableConnection();
    TableConnection(const TableConnection&) = delete;
    TableConnection& operator=(const TableConnection&) = delete;

    // Open the existing table name of folder. On failure stays closed and
    // sets error.
    bool open(const QString& name, QString* error, const QString& folder = dictionaryFolder());
    void close();
    bool isOpen() const { return !connectionName_.isEmpty(); }

    QSqlDatabase database() const;
    QString name() const { return name_; }
    QString filePath() const { return filePath_; }
    int fieldSize() const { return fieldSize_; }
    // Opened for lookups only: the file or its folder cannot be written.
    bool isReadOnly() const { return readOnly_; }

private:
    QString connectionName_;
    QString name_;
    QString filePath_;
    int fieldSize_ = kDefaultFieldSize;
    bool readOnly_ = false;
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
    // Open table name (closing the one open before). False with a message
    // when the name is empty or bad, or the table is missing or unreadable;
    // the dictionary is then closed.
    bool open(const QString& name, QString* error = nullptr);
    void close();
    bool isOpen() const { return table_.isOpen(); }
    QString tableName() const { return table_.name(); }
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

    // The stored record of source ("&" removed), if any; for tests and tools.
    bool find(const QString& source, Proposals* dests);
    // Number of records.
    int count();

private:
    bool fail(const QString& message);
    bool readRecord(const QString& source, Proposals* dests, bool* found, bool* busy = nullptr);
    bool storeOnce(const QString& key, const QString& text, Proposals& current, bool& busy);

    TableConnection table_;
    QString lastError_;
    QString lookupKey_;
    bool newRecord_ = false;
    Proposals proposals_;
};

} // namespace lingrove::model
