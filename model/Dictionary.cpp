#include "model/Dictionary.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <atomic>

#include <unistd.h>

namespace lingrove::model {

namespace {

constexpr const char* kDriver = "QSQLITE";
constexpr const char* kSuffix = ".db";
constexpr int kBusyTimeoutMs = 5000;
// Longest file name most file systems take, in bytes; the table's file and
// each side file SQLite puts beside it ("-journal", "-wal", "-shm") must fit.
constexpr qsizetype kMaxFileNameBytes = 255;
constexpr qsizetype kLongestSideSuffix = 8;   // "-journal"

// SQLite's result codes for a database another connection holds.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("lingrove-dictionary-%1").arg(++counter);
}

QString sqlError(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

// Run one statement; false with the engine's message on failure.
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
template<typename Attempt>
bool retryWhileBusy(Attempt attempt)
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
    return (info.permissions() & QFileDevice::WriteOwner)
           && ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

QString destColumn(int index)
{
    return QStringLiteral("Dest%1").arg(index + 1);
}

enum class Access {
    ReadWrite,
    ReadOnly,    // read-only, with the journal another program left beside it
    Immutable,   // read-only and complete: read as a file that never changes
};

Access accessTo(const QString& path)
{
    if (mayWrite(path) && mayWrite(QFileInfo(path).absolutePath()))
        return Access::ReadWrite;
    // Without a journal left over the file holds every record, and reading
    // it as unchanging leaves no side files behind.
    const bool journal = QFileInfo::exists(path + QStringLiteral("-wal"))
                         || QFileInfo::exists(path + QStringLiteral("-journal"));
    return journal ? Access::ReadOnly : Access::Immutable;
}

QSqlDatabase openConnection(const QString& connectionName, const QString& path, QString* why,
                            Access access = Access::ReadWrite)
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

void dropConnection(const QString& connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
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
    std::stable_sort(trigrams.begin(), trigrams.end(),
                     [](const Trigram& a, const Trigram& b) { return a.documents < b.documents; });
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

} // namespace

QString withoutAmpersands(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('&'));
    return result;
}

QString dictionaryFolder()
{
    const QString folder = platform::joinPath(platform::programFolder(), QStringLiteral("DB"));
    QDir().mkpath(folder);
    return folder;
}

QStringList listTables(const QString& folder)
{
    QStringList names;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*") + QLatin1String(kSuffix)},
                                                     QDir::Files | QDir::Readable, QDir::NoSort);
    for (const QString& file : files) {
        const QString name = file.chopped(int(qstrlen(kSuffix)));
        if (!name.isEmpty())
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString checkTableName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("The table name is empty.");
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return QStringLiteral("The table name \"%1\" cannot contain \"/\" or a null character.").arg(name);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" cannot name a table.").arg(name);
    // The table list shows neither hidden files nor names with control characters.
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("The table name \"%1\" cannot begin with \".\".").arg(name);
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
        return QStringLiteral("The table name \"%1\" cannot contain control characters.").arg(name);
    const qsizetype room = kMaxFileNameBytes - qsizetype(qstrlen(kSuffix)) - kLongestSideSuffix;
    if (QFile::encodeName(name).size() > room)
        return QStringLiteral("The table name \"%1\" is too long: at most %2 bytes.").arg(name).arg(room);
    return {};
}

QString tableFilePath(const QString& name, const QString& folder)
{
    const QString fileName = name + QLatin1String(kSuffix);
    const QString exact = platform::joinPath(folder, fileName);
    if (QFileInfo::exists(exact))
        return exact;
    // A table carried over from a system that ignores letter case.
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : files) {
        if (QString::compare(file, fileName, Qt::CaseInsensitive) == 0)
            return platform::joinPath(folder, file);
    }
    return exact;
}

bool createTable(const QString& name, int fieldSize, QString* error, const QString& folder)
{
    QString why = checkTableName(name);
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!why.isEmpty())
        return fail(why);
    fieldSize = std::clamp(fieldSize, kMinFieldSize, kMaxFieldSize);

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

    const QString connectionName = newConnectionName();
    {
        QSqlDatabase db = openConnection(connectionName, tempPath, &why);
        bool ok = why.isEmpty();
        const QString fieldType = QStringLiteral("TEXT NOT NULL DEFAULT ''");
        QString columns = QStringLiteral("Source ") + fieldType;
        for (int i = 0; i < kProposalCount; ++i)
            columns += QStringLiteral(", ") + destColumn(i) + QLatin1Char(' ') + fieldType;
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

// ---------------------------------------------------------------------------

TableConnection::~TableConnection()
{
    close();
}

bool TableConnection::open(const QString& name, QString* error, const QString& folder)
{
    close();
    QString why = checkTableName(name);
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!why.isEmpty())
        return fail(QStringLiteral("Cannot open the dictionary table: %1").arg(why));
    const QString path = tableFilePath(name, folder);
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("The dictionary table \"%1\" does not exist in %2.").arg(name, folder));

    // A table that cannot be written opens for lookups only.
    const Access access = accessTo(path);
    const QString connectionName = newConnectionName();
    int fieldSize = kDefaultFieldSize;
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
        return fail(QStringLiteral("\"%1\" is not a readable dictionary table: %2").arg(name, why));
    }
    connectionName_ = connectionName;
    name_ = name;
    filePath_ = path;
    fieldSize_ = fieldSize;
    readOnly_ = access != Access::ReadWrite;
    {
        QSqlDatabase db = database();
        trigramIndex_ = trigramIndexUsable(db);
    }
    return true;
}

void TableConnection::close()
{
    if (connectionName_.isEmpty())
        return;
    dropConnection(connectionName_);
    connectionName_.clear();
    name_.clear();
    filePath_.clear();
    fieldSize_ = kDefaultFieldSize;
    readOnly_ = false;
    trigramIndex_ = false;
}

QSqlDatabase TableConnection::database() const
{
    if (connectionName_.isEmpty())
        return {};
    return QSqlDatabase::database(connectionName_, false);
}

bool ensureSortIndexes(const TableConnection& table, QString* error)
{
    QString why;
    if (!table.isOpen())
        why = QStringLiteral("No dictionary table is open.");
    else if (table.isReadOnly())
        why = QStringLiteral("The table \"%1\" cannot be written.").arg(table.name());
    if (why.isEmpty()) {
        // Indexes that exist already cost nothing and take no write lock.
        QSqlDatabase db = table.database();
        bool ok = exec(db, QStringLiteral("BEGIN"), &why);
        for (int i = 0; ok && i < kProposalCount; ++i)
            ok = exec(db,
                      QStringLiteral("CREATE INDEX IF NOT EXISTS %1Index ON Dictionary (%1)").arg(destColumn(i)),
                      &why);
        ok = ok && exec(db, QStringLiteral("COMMIT"), &why);
        if (!ok)
            exec(db, QStringLiteral("ROLLBACK"), nullptr);
    }
    if (!why.isEmpty() && error)
        *error = QStringLiteral("Cannot add the sort indexes: %1").arg(why);
    return why.isEmpty();
}

// ---------------------------------------------------------------------------

bool Dictionary::open(const QString& name, QString* error, const QString& folder)
{
    close();
    QString why;
    if (!table_.open(name, &why, folder)) {
        lastError_ = why;
        if (error)
            *error = why;
        return false;
    }
    lastError_.clear();
    return true;
}

void Dictionary::close()
{
    table_.close();
    lookupKey_.clear();
    newRecord_ = false;
    proposals_ = {};
    trigramCounts_.clear();
    trigramCountsLoaded_ = false;
}

bool Dictionary::fail(const QString& message)
{
    lastError_ = message;
    return false;
}

bool Dictionary::readRecord(const QString& source, Proposals* dests, bool* found, bool* busy)
{
    *found = false;
    *dests = {};
    QSqlDatabase db = table_.database();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT Dest1, Dest2, Dest3, Dest4, Dest5 FROM Dictionary WHERE Source = ?"));
    query.addBindValue(source);
    if (!query.exec()) {
        if (busy)
            *busy = isBusy(query.lastError());
        return fail(sqlError(query.lastError()));
    }
    if (query.next()) {
        *found = true;
        for (int i = 0; i < kProposalCount; ++i)
            (*dests)[size_t(i)] = query.value(i).toString();
    }
    return true;
}

Proposals Dictionary::lookup(const QString& key)
{
    lookupKey_ = withoutAmpersands(key);
    newRecord_ = true;
    proposals_ = {};
    lastError_.clear();
    if (!isOpen()) {
        fail(QStringLiteral("No dictionary table is open."));
        return proposals_;
    }
    bool found = false;
    Proposals dests;
    if (!retryWhileBusy([&](bool& busy) { return readRecord(lookupKey_, &dests, &found, &busy); }))
        return proposals_;
    lastError_.clear();
    newRecord_ = !found;
    proposals_ = dests;
    return proposals_;
}

bool Dictionary::store(const QString& source, const QString& translation)
{
    lastError_.clear();
    if (!isOpen())
        return fail(QStringLiteral("No dictionary table is open."));
    if (isReadOnly())
        return fail(QStringLiteral("The dictionary table \"%1\" cannot be written: new translations are not "
                                   "stored.")
                        .arg(tableName()));
    const QString key = withoutAmpersands(source);
    const QString text = withoutAmpersands(translation);
    Proposals current;
    if (!retryWhileBusy([&](bool& busy) { return storeOnce(key, text, current, busy); }))
        return false;
    lookupKey_ = key;
    newRecord_ = false;
    proposals_ = current;
    lastError_.clear();
    return true;
}

// One attempt of a store, in one immediate transaction; busy tells whether
// it failed because another connection held the database.
bool Dictionary::storeOnce(const QString& key, const QString& text, Proposals& current, bool& busy)
{
    QSqlDatabase db = table_.database();
    auto failed = [&](const QSqlError& error) {
        busy = isBusy(error);
        QString ignored;
        exec(db, QStringLiteral("ROLLBACK"), &ignored);
        return fail(sqlError(error));
    };
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        busy = isBusy(begin.lastError());
        return fail(sqlError(begin.lastError()));
    }

    bool found = false;
    if (!readRecord(key, &current, &found, &busy)) {
        QString ignored;
        exec(db, QStringLiteral("ROLLBACK"), &ignored);
        return false;
    }

    QSqlQuery write(db);
    bool changed = false;
    if (!found) {
        write.prepare(QStringLiteral("INSERT INTO Dictionary (Source, Dest1) VALUES (?, ?)"));
        write.addBindValue(key);
        write.addBindValue(text);
        current[0] = text;
        changed = true;
    } else {
        for (int i = 0; i < kProposalCount; ++i) {
            QString& slot = current[size_t(i)];
            if (slot == text)
                break;
            if (slot.isEmpty()) {
                write.prepare(QStringLiteral("UPDATE Dictionary SET %1 = ? WHERE Source = ?").arg(destColumn(i)));
                write.addBindValue(text);
                write.addBindValue(key);
                slot = text;
                changed = true;
                break;
            }
        }
    }
    if (changed && !write.exec())
        return failed(write.lastError());
    write.finish();
    QSqlQuery commit(db);
    if (!commit.exec(QStringLiteral("COMMIT")))
        return failed(commit.lastError());
    if (!found)
        countTrigrams(key);
    return true;
}

bool Dictionary::find(const QString& source, Proposals* dests)
{
    bool found = false;
    Proposals values;
    if (!isOpen()) {
        fail(QStringLiteral("No dictionary table is open."));
        return false;
    }
    if (!readRecord(withoutAmpersands(source), &values, &found))
        return false;
    if (dests)
        *dests = values;
    return found;
}

int Dictionary::count()
{
    if (!isOpen())
        return 0;
    QSqlDatabase db = table_.database();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM Dictionary")) || !query.next()) {
        fail(sqlError(query.lastError()));
        return 0;
    }
    return query.value(0).toInt();
}

// ---------------------------------------------------------------------------
// Similar matches

namespace {

QString selectedDests()
{
    return QStringLiteral("Dest1, Dest2, Dest3, Dest4, Dest5");
}

Proposals destsOf(const QSqlQuery& query, int first)
{
    Proposals dests;
    for (int i = 0; i < kProposalCount; ++i)
        dests[size_t(i)] = query.value(first + i).toString();
    return dests;
}

} // namespace

std::vector<SimilarMatch> Dictionary::similar(const QString& key, int limit, const QStringList& exclude)
{
    lastError_.clear();
    std::vector<SimilarMatch> matches;
    if (!isOpen()) {
        fail(QStringLiteral("No dictionary table is open."));
        return matches;
    }
    if (limit <= 0)
        return matches;
    const std::u32string text = codePoints(withoutAmpersands(key));
    // Each record found with its similarity; its source kept apart.
    std::vector<std::pair<int, Proposals>> found;
    std::vector<QString> sources;
    const bool ok = table_.hasTrigramIndex() ? similarByIndex(text, found, sources)
                                             : similarByScan(text, found, sources);
    std::vector<std::size_t> order(found.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (found[a].first != found[b].first)
            return found[a].first > found[b].first;
        return sources[a] < sources[b];
    });
    QStringList taken = exclude;
    for (const std::size_t i : order) {
        for (const QString& translation : found[i].second) {
            if (int(matches.size()) >= limit)
                break;
            if (translation.isEmpty() || taken.contains(translation))
                continue;
            taken << translation;
            matches.push_back(SimilarMatch{sources[i], translation, found[i].first});
        }
    }
    if (!ok)
        lastError_ = lastError_.isEmpty() ? QStringLiteral("The similar matches could not be read.") : lastError_;
    return matches;
}

std::vector<SimilarMatch> Dictionary::similarMatches(const QString& key, const Proposals& exact)
{
    QStringList known;
    int free = 0;
    for (const QString& text : exact) {
        if (text.isEmpty())
            ++free;
        else
            known << text;
    }
    if (free == 0) {
        lastError_.clear();
        return {};
    }
    return similar(key, free, known);
}

bool Dictionary::similarByIndex(const std::u32string& key, std::vector<std::pair<int, Proposals>>& found,
                                std::vector<QString>& sources)
{
    if (key.size() < 3)
        return true;
    if (!trigramCountsLoaded_ && !loadTrigramCounts())
        return false;
    const QStringList trigrams = rareTrigrams(key, trigramCounts_);
    if (trigrams.isEmpty())
        return true;
    const auto [shortest, longest] = similarLengths(int(key.size()));
    // The records that share the most trigrams with the key, counted inside
    // the database; of those the ones nearest the key's length are scored.
    QStringList selects;
    for (qsizetype i = 0; i < trigrams.size(); ++i)
        selects << QStringLiteral("SELECT rowid AS r FROM DictionaryTrigrams WHERE DictionaryTrigrams MATCH ?");
    const QString sql =
        QStringLiteral("SELECT d.Source, %1 FROM (SELECT r, count(*) AS c FROM (%2) GROUP BY r ORDER BY c DESC "
                       "LIMIT %3) JOIN Dictionary d ON d.rowid = r WHERE length(d.Source) BETWEEN ? AND ? "
                       "ORDER BY c DESC, abs(length(d.Source) - ?) LIMIT %4")
            .arg(selectedDests(), selects.join(QStringLiteral(" UNION ALL ")))
            .arg(kCandidatesRanked)
            .arg(kCandidatesScored);
    QSqlDatabase db = table_.database();
    return retryWhileBusy([&](bool& busy) {
        found.clear();
        sources.clear();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(sql);
        for (const QString& trigram : trigrams)
            query.addBindValue(ftsString(trigram));
        query.addBindValue(shortest);
        query.addBindValue(longest);
        query.addBindValue(int(key.size()));
        if (!query.exec()) {
            busy = isBusy(query.lastError());
            return fail(sqlError(query.lastError()));
        }
        while (query.next()) {
            const QString source = query.value(0).toString();
            const std::optional<int> percent = similarity(key, codePoints(source));
            if (!percent || *percent == 100)
                continue;
            found.emplace_back(*percent, destsOf(query, 1));
            sources.push_back(source);
        }
        return true;
    });
}

// How many sources hold each trigram, read once from the index's vocabulary
// (a table of the connection's own temporary schema, so that a read-only
// file stays untouched) and counted on as this connection adds sources.
bool Dictionary::loadTrigramCounts()
{
    trigramCounts_.clear();
    QSqlDatabase db = table_.database();
    const bool ok = retryWhileBusy([&](bool& busy) {
        trigramCounts_.clear();
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS temp.DictionaryTrigramCounts USING "
                                       "fts5vocab(main, 'DictionaryTrigrams', 'row')"))
            || !query.exec(QStringLiteral("SELECT term, doc FROM temp.DictionaryTrigramCounts"))) {
            busy = isBusy(query.lastError());
            return fail(sqlError(query.lastError()));
        }
        while (query.next()) {
            const QList<uint> term = query.value(0).toString().toUcs4();
            if (term.size() == 3)
                trigramCounts_[trigramCode(term[0], term[1], term[2])] += query.value(1).toInt();
        }
        return true;
    });
    trigramCountsLoaded_ = ok;
    return ok;
}

void Dictionary::countTrigrams(const QString& source)
{
    if (!trigramCountsLoaded_)
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

bool Dictionary::similarByScan(const std::u32string& key, std::vector<std::pair<int, Proposals>>& found,
                               std::vector<QString>& sources)
{
    const auto [shortest, longest] = similarLengths(int(key.size()));
    QSqlDatabase db = table_.database();
    return retryWhileBusy([&](bool& busy) {
        found.clear();
        sources.clear();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT Source, %1 FROM Dictionary WHERE length(Source) BETWEEN ? AND ?")
                          .arg(selectedDests()));
        query.addBindValue(shortest);
        query.addBindValue(longest);
        if (!query.exec()) {
            busy = isBusy(query.lastError());
            return fail(sqlError(query.lastError()));
        }
        while (query.next()) {
            const QString source = query.value(0).toString();
            const std::optional<int> percent = similarity(key, codePoints(source));
            if (!percent || *percent == 100)
                continue;
            found.emplace_back(*percent, destsOf(query, 1));
            sources.push_back(source);
        }
        return true;
    });
}

// ---------------------------------------------------------------------------
// Whole tables

bool Dictionary::forEachRecord(const std::function<void(const QString&, const Proposals&)>& visit)
{
    lastError_.clear();
    if (!isOpen())
        return fail(QStringLiteral("No dictionary table is open."));
    QSqlDatabase db = table_.database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT Source, %1 FROM Dictionary ORDER BY rowid").arg(selectedDests())))
        return fail(sqlError(query.lastError()));
    while (query.next())
        visit(query.value(0).toString(), destsOf(query, 1));
    if (query.lastError().isValid())
        return fail(sqlError(query.lastError()));
    return true;
}

bool Dictionary::merge(const std::vector<std::pair<QString, QStringList>>& records, const MergeOptions& options,
                       std::vector<MergeResult>* results)
{
    lastError_.clear();
    if (!isOpen())
        return fail(QStringLiteral("No dictionary table is open."));
    if (isReadOnly() && !options.dryRun)
        return fail(QStringLiteral("The dictionary table \"%1\" cannot be written: nothing was imported.")
                        .arg(tableName()));
    // One entry per source, in the order of first appearance.
    std::vector<std::pair<QString, QStringList>> merged;
    QHash<QString, std::size_t> index;
    for (const auto& [source, translations] : records) {
        const QString key = withoutAmpersands(source);
        if (key.isEmpty())
            continue;
        auto it = index.find(key);
        if (it == index.end()) {
            it = index.insert(key, merged.size());
            merged.emplace_back(key, QStringList());
        }
        QStringList& list = merged[*it].second;
        for (const QString& translation : translations) {
            const QString text = withoutAmpersands(translation);
            if (!text.isEmpty() && !list.contains(text))
                list << text;
        }
    }
    std::vector<MergeResult> outcome;
    if (!retryWhileBusy([&](bool& busy) { return mergeOnce(merged, options, outcome, busy); }))
        return false;
    lookupKey_.clear();
    proposals_ = {};
    if (!options.dryRun) {
        trigramCounts_.clear();
        trigramCountsLoaded_ = false;
    }
    if (results)
        *results = std::move(outcome);
    return true;
}

bool Dictionary::mergeOnce(const std::vector<std::pair<QString, QStringList>>& records, const MergeOptions& options,
                           std::vector<MergeResult>& results, bool& busy)
{
    results.clear();
    QSqlDatabase db = table_.database();
    const bool write = !options.dryRun;
    auto rollback = [&] {
        QString ignored;
        if (write)
            exec(db, QStringLiteral("ROLLBACK"), &ignored);
    };
    if (write) {
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            busy = isBusy(begin.lastError());
            return fail(sqlError(begin.lastError()));
        }
    }
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO Dictionary (Source, %1) VALUES (?, ?, ?, ?, ?, ?)").arg(selectedDests()));
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE Dictionary SET Dest1 = ?, Dest2 = ?, Dest3 = ?, Dest4 = ?, Dest5 = ? "
                                  "WHERE Source = ?"));
    for (const auto& [source, translations] : records) {
        MergeResult result;
        result.source = source;
        bool found = false;
        if (!readRecord(source, &result.before, &found, &busy)) {
            rollback();
            return false;
        }
        Proposals after = result.before;
        const bool hadTranslations =
            std::any_of(after.begin(), after.end(), [](const QString& t) { return !t.isEmpty(); });
        for (const QString& text : translations) {
            if (std::find(after.begin(), after.end(), text) != after.end())
                continue;
            auto slot = std::find(after.begin(), after.end(), QString());
            if (slot == after.end() || (hadTranslations && !options.addAlternatives)) {
                result.notStored << text;
                continue;
            }
            *slot = text;
            result.stored << text;
        }
        result.added = !found;
        if (write && !result.stored.isEmpty()) {
            QSqlQuery& query = found ? update : insert;
            if (!found)
                query.addBindValue(source);
            for (const QString& text : after)
                query.addBindValue(text.isNull() ? QString(QLatin1String("")) : text);   // NOT NULL columns
            if (found)
                query.addBindValue(source);
            if (!query.exec()) {
                busy = isBusy(query.lastError());
                const QString why = sqlError(query.lastError());
                rollback();
                return fail(why);
            }
        }
        if (!found && result.stored.isEmpty())
            result.added = false;   // nothing to store: no record
        results.push_back(std::move(result));
    }
    insert.finish();
    update.finish();
    if (write) {
        QSqlQuery commit(db);
        if (!commit.exec(QStringLiteral("COMMIT"))) {
            busy = isBusy(commit.lastError());
            const QString why = sqlError(commit.lastError());
            rollback();
            return fail(why);
        }
    }
    return true;
}

} // namespace lingrove::model
