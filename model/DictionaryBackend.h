#pragma once
// Inside the dictionary: what differs between the engines that hold
// dictionary tables. Dictionary.cpp keeps the rules (the store rule, merge,
// the scoring of similar matches) and asks a TableBackend for the SQL text
// and the behaviour that are an engine's own; SqliteBackend.cpp and
// PostgresBackend.cpp hold every statement that differs.
//
// Table names never reach SQL text: a SQLite table is a file of its own
// whose record table is always "Dictionary"; a PostgreSQL table is a
// relation whose generated name (ASCII letters, digits and "_") the
// catalogue lingrove.tables maps the user's name to, and which is quoted
// like every identifier; names and values travel as bound values.
#include "model/Dictionary.h"
#include "model/DictionaryLocation.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace lingrove::model::detail {

// How long a busy table is waited for, and what a server connection may
// take to be made.
inline constexpr int kBusyTimeoutMs = 5000;

enum class Failure {
    Busy, // another connection holds what is needed: try again
    ConnectionLost, // the server connection broke: connect again, try again
    Other,
};

// A stored record found as a candidate for a similar match.
struct Candidate {
    QString source;
    Proposals dests;
};

// Runs a prepared query that selects Source and Dest1 .. Dest5 and appends
// its rows to found. False with error when it fails.
bool readCandidates(QSqlQuery& query, std::vector<Candidate>* found, QSqlError* error);

class TableBackend {
public:
    virtual ~TableBackend() = default;

    QString name; // the table's name as the user knows it
    QString filePath; // SQLite: the table's file
    int fieldSize = kDefaultFieldSize;
    bool readOnly = false;

    virtual DictionaryLocation location() const = 0;
    virtual QSqlDatabase database() const = 0;
    virtual void close() = 0;
    // The record table in SQL text (quoted where it needs to be).
    virtual QString recordTable() const = 0;
    // Orders the records as they were made.
    virtual QString madeOrder() const = 0;
    // Starts a transaction that writes: one writer at a time (SQLite), or
    // one whose records are locked as they are read (lockForWrite).
    virtual QString beginWrite() const = 0;
    // Appended to the SELECT of a record about to be changed.
    virtual QString lockForWrite() const = 0;
    // Run after beginWrite by work on many records (merges, copies): lifts
    // the time limit that single statements have.
    virtual QStringList bulkSettings() const { return {}; }
    // Run after work that wrote many records, outside its transaction.
    virtual QStringList afterBulkWrite() const { return {}; }
    virtual Failure classify(const QSqlError& error) const = 0;
    // The message for the user: what the engine said, naming the server.
    virtual QString message(const QSqlError& error) const = 0;
    // Connects again after the connection was lost; false with a message.
    virtual bool reconnect(QString* why) = 0;

    // Similar matches: whether an index gives candidates, and the records
    // it finds for key (at most a few hundred, their length between
    // shortest and longest). False with error; busy or lost tells the
    // caller to try again.
    virtual bool hasSimilarIndex() const = 0;
    virtual bool similarCandidates(
        const std::u32string& key, int shortest, int longest, std::vector<Candidate>* found, QSqlError* error)
        = 0;
    // A source this connection added, or many changed (merge): keeps what
    // the similar search knows of the table up to date.
    virtual void noteNewSource(const QString&) { }
    virtual void forgetSimilarState() { }
};

// ---- SQLite: one file per table in a folder --------------------------------------------

QStringList sqliteTables(const QString& folder);
bool createSqliteTable(const QString& name, int fieldSize, const QString& folder, QString* error);
std::unique_ptr<TableBackend> openSqliteTable(const QString& name, const QString& folder, QString* error);

// ---- PostgreSQL: one relation per table, in the schema lingrove --------------------------

bool serverTables(const DictionaryServer& server, QStringList* names, QString* error);
bool createServerTable(const QString& name, int fieldSize, const DictionaryServer& server, QString* error);
std::unique_ptr<TableBackend> openServerTable(const QString& name, const DictionaryServer& server, QString* error);

// ---- Shared -------------------------------------------------------------------------------

QString newConnectionName();
void dropConnection(const QString& connectionName);
// The engine's own message of error.
QString sqlError(const QSqlError& error);
QString destColumn(int index); // "Dest1" .. "Dest5", quoted
QString destColumns(); // all five, quoted, comma separated

} // namespace lingrove::model::detail
