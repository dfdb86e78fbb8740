#include "model/Dictionary.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

bool Dictionary::open(const QString& name, QString* error)
{
    lookupKey_.clear();
    newRecord_ = false;
    proposals_ = {};
    QString why;
    if (!table_.open(name, &why)) {
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

} // namespace lingrove::model
