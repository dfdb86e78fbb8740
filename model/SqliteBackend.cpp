// Dictionary tables on this computer: one SQLite file per table (see
// Dictionary.h for the layout, the trigram index and sharing).
#include "model/DictionaryBackend.h"

#include "platform/Paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <algorithm>

#include <unistd.h>

namespace lingrove::model::detail {

namespace {

constexpr const char* kDriver = "QSQLITE";

// SQLite's result codes for a database another connection holds.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;

bool exec(QSqlDatabase& db, const QString& sql, QString* why)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    if (why)
        *why = sqlError(query.lastError());
    return false;
}

bool isBusy(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    return ok && (code == kSqliteBusy || code == kSqliteLocked);
}

// Runs attempt until it succeeds, fails for another reason than a busy
// database, or the busy timeout has passed; the engine's own waiting does
// not cover every case (a lock met while a connection is being opened or
// recovered, a write lock that cannot wait without a deadlock).
template <typename Attempt> bool retryWhileBusy(Attempt attempt)
{
    QElapsedTimer clock;
    clock.start();
    for (int round = 0;; ++round) {
        bool busy = false;
        if (attempt(busy))
            return true;
        if (!busy || clock.elapsed() >= kBusyTimeoutMs)
            return false;
        QThread::msleep(static_cast<unsigned long>(std::min(2 << std::min(round, 6), 100)));
    }
}

// Whether the table file and its folder may be written. A file or folder
// without its owner's write permission counts as read-only (the read-only
// attribute of Windows), even for those whom the system would let write.
bool mayWrite(const QString& path)
{
    const QFileInfo info(path);
    return (info.permissions() & QFileDevice::WriteOwner) && ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

enum class Access {
    ReadWrite,
    ReadOnly, // read-only, with the journal another program left beside it
    Immutable, // read-only and complete: read as a file that never changes
};

Access accessTo(const QString& path)
{
    if (mayWrite(path) && mayWrite(QFileInfo(path).absolutePath()))
        return Access::ReadWrite;
    // Without a journal left over the file holds every record, and reading
    // it as unchanging leaves no side files behind.
    const bool journal
        = QFileInfo::exists(path + QStringLiteral("-wal")) || QFileInfo::exists(path + QStringLiteral("-journal"));
    return journal ? Access::ReadOnly : Access::Immutable;
}

QSqlDatabase openConnection(
    const QString& connectionName, const QString& path, QString* why, Access access = Access::ReadWrite)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connectionName);
    if (!db.isValid()) {
        *why = QStringLiteral("The SQLite database driver is not available.");
        return db;
    }
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (access == Access::Immutable) {
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
            + QStringLiteral("?immutable=1"));
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    } else {
        db.setDatabaseName(path);
        if (access == Access::ReadOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    }
    db.setConnectOptions(options);
    if (!db.open())
        *why = sqlError(db.lastError());
    return db;
}

// The trigram index of the sources and the triggers that keep it in step.
const QString kIndexName = QStringLiteral("DictionaryTrigrams");
const QStringList kIndexTriggers = {
    QStringLiteral("DictionaryTrigramsInsert"),
    QStringLiteral("DictionaryTrigramsDelete"),
    QStringLiteral("DictionaryTrigramsUpdate"),
};

bool indexComplete(QSqlDatabase& db, bool* busy)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE (type = 'table' AND name = ?) OR "
                                 "(type = 'trigger' AND tbl_name = 'Dictionary' AND name IN (?, ?, ?))"));
    query.addBindValue(kIndexName);
    for (const QString& trigger : kIndexTriggers)
        query.addBindValue(trigger);
    if (!query.exec() || !query.next()) {
        *busy = isBusy(query.lastError());
        return false;
    }
    return query.value(0).toInt() == 1 + kIndexTriggers.size();
}

// Adds the index and its triggers where they are missing or incomplete, and
// fills the index, in one transaction. False when that failed (busy tells
// whether another connection held the database); the table then stays as
// it was.
bool ensureTrigramIndex(QSqlDatabase& db, bool* busy)
{
    *busy = false;
    if (indexComplete(db, busy))
        return true;
    if (*busy)
        return false;
    QString why;
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *busy = isBusy(begin.lastError());
        return false;
    }
    const QStringList statements = {
        QStringLiteral("DROP TRIGGER IF EXISTS DictionaryTrigramsInsert"),
        QStringLiteral("DROP TRIGGER IF EXISTS DictionaryTrigramsDelete"),
        QStringLiteral("DROP TRIGGER IF EXISTS DictionaryTrigramsUpdate"),
        QStringLiteral("DROP TABLE IF EXISTS DictionaryTrigrams"),
        QStringLiteral("CREATE VIRTUAL TABLE DictionaryTrigrams USING fts5(Source, content = 'Dictionary', "
                       "content_rowid = 'rowid', tokenize = 'trigram')"),
        QStringLiteral("CREATE TRIGGER DictionaryTrigramsInsert AFTER INSERT ON Dictionary BEGIN "
                       "INSERT INTO DictionaryTrigrams (rowid, Source) VALUES (new.rowid, new.Source); END"),
        QStringLiteral("CREATE TRIGGER DictionaryTrigramsDelete AFTER DELETE ON Dictionary BEGIN "
                       "INSERT INTO DictionaryTrigrams (DictionaryTrigrams, rowid, Source) "
                       "VALUES ('delete', old.rowid, old.Source); END"),
        QStringLiteral("CREATE TRIGGER DictionaryTrigramsUpdate AFTER UPDATE OF Source ON Dictionary BEGIN "
                       "INSERT INTO DictionaryTrigrams (DictionaryTrigrams, rowid, Source) "
                       "VALUES ('delete', old.rowid, old.Source); "
                       "INSERT INTO DictionaryTrigrams (rowid, Source) VALUES (new.rowid, new.Source); END"),
        QStringLiteral("INSERT INTO DictionaryTrigrams (DictionaryTrigrams) VALUES ('rebuild')"),
    };
    // Another program may have made it meanwhile.
    bool ok = indexComplete(db, busy);
    for (int i = 0; !ok && !*busy && i < statements.size(); ++i) {
        QSqlQuery query(db);
        if (!query.exec(statements[i])) {
            *busy = isBusy(query.lastError());
            break;
        }
        if (i + 1 == statements.size())
            ok = true;
    }
    QSqlQuery end(db);
    if (ok && end.exec(QStringLiteral("COMMIT")))
        return true;
    if (ok)
        *busy = isBusy(end.lastError());
    exec(db, QStringLiteral("ROLLBACK"), &why);
    return false;
}

// Whether the index answers queries (SQLite may lack FTS5 or the tokenizer).
bool trigramIndexUsable(QSqlDatabase& db)
{
    bool busy = false;
    if (!indexComplete(db, &busy))
        return false;
    QSqlQuery probe(db);
    return probe.exec(QStringLiteral("SELECT rowid FROM DictionaryTrigrams WHERE DictionaryTrigrams MATCH "
                                     "'\"abc\"' LIMIT 1"));
}

// The trigram index folds letter case; so do the trigrams of a key.
quint64 trigramCode(char32_t a, char32_t b, char32_t c)
{
    auto fold = [](char32_t x) { return quint64(QChar::toLower(x)) & 0x1FFFFF; };
    return (fold(a) << 42) | (fold(b) << 21) | fold(c);
}

// The trigrams of key, rarest in the index first, as many as together sit
// in about kPostingBudget records (at least the two rarest, unless the
// second is very common) and at most kMaxTrigrams. Each is asked for on its
// own; the records that share the most of them are the candidates. The
// rarest trigrams of a text are also the ones most likely to be left by a
// change elsewhere in it, and the budget bounds the time a key of common
// trigrams takes.
constexpr int kPostingBudget = 4000;
// And at most this many, however rare: each is one term of a compound
// SELECT, of which SQLite takes 500.
constexpr int kMaxTrigrams = 48;

QStringList rareTrigrams(const std::u32string& key, const QHash<quint64, int>& documents)
{
    struct Trigram {
        QString text;
        int documents;
    };
    std::vector<Trigram> trigrams;
    QSet<quint64> seen;
    for (std::size_t i = 0; i + 3 <= key.size(); ++i) {
        const quint64 code = trigramCode(key[i], key[i + 1], key[i + 2]);
        if (seen.contains(code))
            continue;
        // Unknown to the counts: none, or new from another program; rare
        // either way, and cheap to ask for.
        const int n = std::max(1, documents.value(code));
        seen.insert(code);
        trigrams.push_back({QString::fromUcs4(key.data() + i, 3), n});
    }
    std::stable_sort(
        trigrams.begin(), trigrams.end(), [](const Trigram& a, const Trigram& b) { return a.documents < b.documents; });
    QStringList chosen;
    long long total = 0;
    for (const Trigram& t : trigrams) {
        const bool within = total + t.documents <= kPostingBudget;
        const bool second = chosen.size() == 1 && t.documents <= 4 * kPostingBudget;
        if ((!chosen.isEmpty() && !within && !second) || chosen.size() == kMaxTrigrams)
            break;
        chosen << t.text;
        total += t.documents;
    }
    return chosen;
}

// A trigram as an FTS5 string: in double quotes, inner ones doubled.
QString ftsString(const QString& piece)
{
    QString quoted = piece;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// How many records sharing the most pieces are read, and how many of them
// (the nearest in length first) are scored.
constexpr int kCandidatesRanked = 256;
constexpr int kCandidatesScored = 64;

class SqliteTable : public TableBackend {
public:
    SqliteTable(QString connectionName, const QString& folder)
        : connectionName_(std::move(connectionName))
        , folder_(folder)
    {
    }
    ~SqliteTable() override { close(); }

    bool trigramIndex = false;

    DictionaryLocation location() const override { return DictionaryLocation::local(folder_); }
    QSqlDatabase database() const override
    {
        return connectionName_.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(connectionName_, false);
    }
    void close() override
    {
        if (!connectionName_.isEmpty())
            dropConnection(connectionName_);
        connectionName_.clear();
    }
    QString recordTable() const override { return QStringLiteral("Dictionary"); }
    QString madeOrder() const override { return QStringLiteral("rowid"); }
    QString beginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString lockForWrite() const override { return {}; }
    // The journal of a large copy goes into the file now rather than into
    // the next translator's store.
    QStringList afterBulkWrite() const override { return {QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")}; }
    Failure classify(const QSqlError& error) const override { return isBusy(error) ? Failure::Busy : Failure::Other; }
    QString message(const QSqlError& error) const override { return sqlError(error); }
    bool reconnect(QString* why) override
    {
        *why = QStringLiteral("The dictionary table \"%1\" cannot be read.").arg(name);
        return false;
    }

    bool hasSimilarIndex() const override { return trigramIndex; }
    bool similarCandidates(
        const std::u32string& key, int shortest, int longest, std::vector<Candidate>* found, QSqlError* error) override;
    void noteNewSource(const QString& source) override;
    void forgetSimilarState() override
    {
        trigramCounts_.clear();
        countsLoaded_ = false;
    }

private:
    bool loadTrigramCounts(QSqlError* error);

    QString connectionName_;
    QString folder_;
    // Sources per trigram, for choosing the rare trigrams of a key.
    QHash<quint64, int> trigramCounts_;
    bool countsLoaded_ = false;
};

bool SqliteTable::similarCandidates(
    const std::u32string& key, int shortest, int longest, std::vector<Candidate>* found, QSqlError* error)
{
    found->clear();
    if (key.size() < 3)
        return true;
    if (!countsLoaded_ && !loadTrigramCounts(error))
        return false;
    const QStringList trigrams = rareTrigrams(key, trigramCounts_);
    if (trigrams.isEmpty())
        return true;
    // The records that share the most trigrams with the key, counted inside
    // the database; of those the ones nearest the key's length are scored.
    QStringList selects;
    for (qsizetype i = 0; i < trigrams.size(); ++i)
        selects << QStringLiteral("SELECT rowid AS r FROM DictionaryTrigrams WHERE DictionaryTrigrams MATCH ?");
    const QString sql
        = QStringLiteral("SELECT d.Source, %1 FROM (SELECT r, count(*) AS c FROM (%2) GROUP BY r ORDER BY c DESC "
                         "LIMIT %3) JOIN Dictionary d ON d.rowid = r WHERE length(d.Source) BETWEEN ? AND ? "
                         "ORDER BY c DESC, abs(length(d.Source) - ?) LIMIT %4")
              .arg(destColumns(), selects.join(QStringLiteral(" UNION ALL ")))
              .arg(kCandidatesRanked)
              .arg(kCandidatesScored);
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QString& trigram : trigrams)
        query.addBindValue(ftsString(trigram));
    query.addBindValue(shortest);
    query.addBindValue(longest);
    query.addBindValue(int(key.size()));
    return readCandidates(query, found, error);
}

// How many sources hold each trigram, read once from the index's vocabulary
// (a table of the connection's own temporary schema, so that a read-only
// file stays untouched) and counted on as this connection adds sources.
bool SqliteTable::loadTrigramCounts(QSqlError* error)
{
    trigramCounts_.clear();
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS temp.DictionaryTrigramCounts USING "
                                   "fts5vocab(main, 'DictionaryTrigrams', 'row')"))
        || !query.exec(QStringLiteral("SELECT term, doc FROM temp.DictionaryTrigramCounts"))) {
        *error = query.lastError();
        trigramCounts_.clear();
        return false;
    }
    while (query.next()) {
        const QList<uint> term = query.value(0).toString().toUcs4();
        if (term.size() == 3)
            trigramCounts_[trigramCode(term[0], term[1], term[2])] += query.value(1).toInt();
    }
    countsLoaded_ = true;
    return true;
}

void SqliteTable::noteNewSource(const QString& source)
{
    if (!countsLoaded_)
        return;
    const std::u32string text = codePoints(source);
    QSet<quint64> seen;
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        const quint64 code = trigramCode(text[i], text[i + 1], text[i + 2]);
        if (!seen.contains(code)) {
            seen.insert(code);
            ++trigramCounts_[code];
        }
    }
}

} // namespace

QStringList sqliteTables(const QString& folder)
{
    QStringList names;
    const QString suffix = QStringLiteral(".db");
    const QStringList files
        = QDir(folder).entryList({QStringLiteral("*") + suffix}, QDir::Files | QDir::Readable, QDir::NoSort);
    for (const QString& file : files) {
        const QString name = file.chopped(suffix.size());
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

bool createSqliteTable(const QString& name, int fieldSize, const QString& folder, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("Cannot create the dictionary folder %1.").arg(folder));
    const QString target = tableFilePath(name, folder);
    if (QFileInfo::exists(target))
        return fail(QStringLiteral("A table named \"%1\" exists already. Choose another name.").arg(name));

    // Built under a hidden temporary name that the table list never shows.
    QTemporaryFile temp(platform::joinPath(folder, QStringLiteral(".new-table-XXXXXX")));
    if (!temp.open())
        return fail(QStringLiteral("Cannot create the table \"%1\": %2").arg(name, temp.errorString()));
    const QString tempPath = temp.fileName();
    temp.close();

    QString why;
    const QString connectionName = newConnectionName();
    {
        QSqlDatabase db = openConnection(connectionName, tempPath, &why);
        bool ok = why.isEmpty();
        const QString fieldType = QStringLiteral("TEXT NOT NULL DEFAULT ''");
        QString columns = QStringLiteral("Source ") + fieldType;
        for (int i = 0; i < kProposalCount; ++i)
            columns += QStringLiteral(", Dest%1 ").arg(i + 1) + fieldType;
        ok = ok && exec(db, QStringLiteral("PRAGMA journal_mode=WAL"), &why);
        ok = ok && exec(db, QStringLiteral("BEGIN"), &why);
        ok = ok && exec(db, QStringLiteral("CREATE TABLE Dictionary (%1)").arg(columns), &why);
        ok = ok && exec(db, QStringLiteral("CREATE UNIQUE INDEX SourceIndex ON Dictionary (Source)"), &why);
        ok = ok && exec(db, QStringLiteral("CREATE TABLE TableInfo (FieldSize INTEGER NOT NULL)"), &why);
        ok = ok && exec(db, QStringLiteral("INSERT INTO TableInfo (FieldSize) VALUES (%1)").arg(fieldSize), &why);
        ok = ok && exec(db, QStringLiteral("COMMIT"), &why);
        if (!ok && why.isEmpty())
            why = QStringLiteral("unknown database error");
    }
    dropConnection(connectionName);
    if (!why.isEmpty())
        return fail(QStringLiteral("Cannot create the table \"%1\": %2").arg(name, why));

    // The rename refuses to replace a file that appeared meanwhile.
    if (!QFile::rename(tempPath, target))
        return fail(QStringLiteral("Cannot create the table \"%1\": a file of that name exists or the "
                                   "folder cannot be written.")
                        .arg(name));
    temp.setAutoRemove(false);
    return true;
}

std::unique_ptr<TableBackend> openSqliteTable(const QString& name, const QString& folder, QString* error)
{
    const QString path = tableFilePath(name, folder);
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("The dictionary table \"%1\" does not exist in %2.").arg(name, folder);
        return nullptr;
    }
    // A table that cannot be written opens for lookups only.
    const Access access = accessTo(path);
    const QString connectionName = newConnectionName();
    int fieldSize = kDefaultFieldSize;
    QString why;
    const bool opened = retryWhileBusy([&](bool& busy) {
        why.clear();
        dropConnection(connectionName);
        QSqlDatabase db = openConnection(connectionName, path, &why, access);
        busy = isBusy(db.lastError());
        if (why.isEmpty() && access == Access::ReadWrite) {
            QSqlQuery wal(db);
            if (!wal.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
                why = sqlError(wal.lastError());
                busy = isBusy(wal.lastError());
            }
        }
        if (why.isEmpty()) {
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT Source, Dest1, Dest2, Dest3, Dest4, Dest5 "
                                           "FROM Dictionary LIMIT 0"))) {
                why = sqlError(probe.lastError());
                busy = isBusy(probe.lastError());
            }
        }
        // A table that cannot take the index works without it; only a busy
        // database makes the opening wait and try again.
        if (why.isEmpty() && access == Access::ReadWrite && !ensureTrigramIndex(db, &busy) && busy)
            why = QStringLiteral("the database is busy");
        if (why.isEmpty()) {
            QSqlQuery info(db);
            if (info.exec(QStringLiteral("SELECT FieldSize FROM TableInfo")) && info.next()) {
                bool ok = false;
                const int size = info.value(0).toInt(&ok);
                if (ok && size > 0)
                    fieldSize = size;
            }
        }
        return why.isEmpty();
    });
    if (!opened) {
        dropConnection(connectionName);
        *error = QStringLiteral("\"%1\" is not a readable dictionary table: %2").arg(name, why);
        return nullptr;
    }
    auto table = std::make_unique<SqliteTable>(connectionName, folder);
    table->name = name;
    table->filePath = path;
    table->fieldSize = fieldSize;
    table->readOnly = access != Access::ReadWrite;
    QSqlDatabase db = table->database();
    table->trigramIndex = trigramIndexUsable(db);
    return table;
}

} // namespace lingrove::model::detail
