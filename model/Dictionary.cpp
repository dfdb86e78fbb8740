#include "model/Dictionary.h"

#include "model/DictionaryBackend.h"
#include "platform/Paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <atomic>

namespace lingrove::model {

using detail::Failure;

namespace detail {

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("lingrove-dictionary-%1").arg(++counter);
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

QString sqlError(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

QString destColumn(int index)
{
    return QStringLiteral("\"Dest%1\"").arg(index + 1);
}

QString destColumns()
{
    return QStringLiteral("\"Dest1\", \"Dest2\", \"Dest3\", \"Dest4\", \"Dest5\"");
}

bool readCandidates(QSqlQuery& query, std::vector<Candidate>* found, QSqlError* error)
{
    if (!query.exec()) {
        *error = query.lastError();
        return false;
    }
    while (query.next()) {
        Candidate c;
        c.source = query.value(0).toString();
        for (int i = 0; i < kProposalCount; ++i)
            c.dests[size_t(i)] = query.value(1 + i).toString();
        found->push_back(std::move(c));
    }
    return true;
}

} // namespace detail

namespace {

// Longest file name most file systems take, in bytes; the table's file and
// each side file SQLite puts beside it ("-journal", "-wal", "-shm") must fit.
// Names are checked the same way for every engine, so that a table can move
// between this computer and a server under its name.
constexpr qsizetype kMaxFileNameBytes = 255;
constexpr qsizetype kLongestSideSuffix = 8; // "-journal"
constexpr const char* kSuffix = ".db";
// Records written per INSERT when whole tables are copied.
constexpr int kInsertBatch = 200;

DictionaryLocation locationOf(const QString& folder)
{
    return folder.isEmpty() ? currentDictionaryLocation() : DictionaryLocation::local(folder);
}

QString folderOf(const DictionaryLocation& location)
{
    return location.folder.isEmpty() ? dictionaryFolder() : location.folder;
}

Proposals destsOf(const QSqlQuery& query, int first)
{
    Proposals dests;
    for (int i = 0; i < kProposalCount; ++i)
        dests[size_t(i)] = query.value(first + i).toString();
    return dests;
}

// Empty slots are empty texts, never null (the columns take no null).
QString notNull(const QString& text)
{
    return text.isNull() ? QString(QLatin1String("")) : text;
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

bool listTables(const DictionaryLocation& location, QStringList* names, QString* error)
{
    names->clear();
    if (location.isServer()) {
        if (!detail::serverTables(location.server, names, error))
            return false;
    } else {
        *names = detail::sqliteTables(folderOf(location));
    }
    std::sort(names->begin(), names->end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return true;
}

QStringList listTables(const QString& folder)
{
    QStringList names;
    QString ignored;
    listTables(locationOf(folder), &names, &ignored);
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

bool createTable(const QString& name, int fieldSize, const DictionaryLocation& location, QString* error)
{
    const QString why = checkTableName(name);
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    fieldSize = std::clamp(fieldSize, kMinFieldSize, kMaxFieldSize);
    QString message;
    const bool made = location.isServer() ? detail::createServerTable(name, fieldSize, location.server, &message)
                                          : detail::createSqliteTable(name, fieldSize, folderOf(location), &message);
    if (!made && error)
        *error = message;
    return made;
}

bool createTable(const QString& name, int fieldSize, QString* error, const QString& folder)
{
    return createTable(name, fieldSize, locationOf(folder), error);
}

// ---------------------------------------------------------------------------

TableConnection::TableConnection() = default;

TableConnection::~TableConnection()
{
    close();
}

bool TableConnection::open(const QString& name, QString* error, const QString& folder)
{
    return open(name, locationOf(folder), error);
}

bool TableConnection::open(const QString& name, const DictionaryLocation& location, QString* error)
{
    close();
    QString why = checkTableName(name);
    if (!why.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot open the dictionary table: %1").arg(why);
        return false;
    }
    backend_ = location.isServer() ? detail::openServerTable(name, location.server, &why)
                                   : detail::openSqliteTable(name, folderOf(location), &why);
    if (!backend_ && error)
        *error = why;
    return backend_ != nullptr;
}

void TableConnection::close()
{
    backend_.reset();
}

QSqlDatabase TableConnection::database() const
{
    return backend_ ? backend_->database() : QSqlDatabase();
}

QString TableConnection::name() const
{
    return backend_ ? backend_->name : QString();
}

DictionaryLocation TableConnection::location() const
{
    return backend_ ? backend_->location() : DictionaryLocation();
}

QString TableConnection::filePath() const
{
    return backend_ ? backend_->filePath : QString();
}

int TableConnection::fieldSize() const
{
    return backend_ ? backend_->fieldSize : kDefaultFieldSize;
}

bool TableConnection::isReadOnly() const
{
    return backend_ && backend_->readOnly;
}

bool TableConnection::hasTrigramIndex() const
{
    return backend_ && backend_->hasSimilarIndex();
}

GridTable TableConnection::gridTable() const
{
    if (!backend_)
        return {};
    return {backend_->recordTable(), backend_->madeOrder(), backend_->location().isServer()};
}

bool ensureSortIndexes(const TableConnection& table, QString* error)
{
    QString why;
    if (!table.isOpen())
        why = QStringLiteral("No dictionary table is open.");
    else if (table.isReadOnly())
        why = QStringLiteral("The table \"%1\" cannot be written.").arg(table.name());
    else if (table.gridTable().server)
        return true;   // a b-tree index would refuse translations longer than a page; the server sorts without
    if (why.isEmpty()) {
        // Indexes that exist already cost nothing and take no write lock.
        QSqlQuery query(table.database());
        const auto run = [&](const QString& sql) {
            if (query.exec(sql))
                return true;
            why = detail::sqlError(query.lastError());
            return false;
        };
        bool ok = run(QStringLiteral("BEGIN"));
        for (int i = 0; ok && i < kProposalCount; ++i) {
            const QString column = detail::destColumn(i);
            ok = run(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON Dictionary (%2)")
                         .arg(QString(column).remove(QLatin1Char('"')) + QStringLiteral("Index"), column));
        }
        ok = ok && run(QStringLiteral("COMMIT"));
        if (!ok)
            query.exec(QStringLiteral("ROLLBACK"));
    }
    if (!why.isEmpty() && error)
        *error = QStringLiteral("Cannot add the sort indexes: %1").arg(why);
    return why.isEmpty();
}

// ---------------------------------------------------------------------------

Dictionary::Dictionary() = default;

Dictionary::~Dictionary()
{
    close();
}

QSqlQuery& Dictionary::prepared(const QString& sql)
{
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        auto query = std::make_unique<QSqlQuery>(table_.database());
        if (!query->prepare(sql)) {
            // Not kept: exec() reports the error, the next call prepares again.
            unprepared_ = std::move(query);
            return *unprepared_;
        }
        it = statements_.emplace(sql, std::move(query)).first;
    }
    return *it->second;
}

void Dictionary::forgetStatements()
{
    statements_.clear();
    unprepared_.reset();
}

bool Dictionary::open(const QString& name, QString* error, const QString& folder)
{
    return open(name, locationOf(folder), error);
}

bool Dictionary::open(const QString& name, const DictionaryLocation& location, QString* error)
{
    close();
    QString why;
    if (!table_.open(name, location, &why)) {
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
    forgetStatements();
    table_.close();
    lookupKey_.clear();
    newRecord_ = false;
    proposals_ = {};
}

bool Dictionary::fail(const QString& message)
{
    lastError_ = message;
    failure_.reset();
    return false;
}

bool Dictionary::failed(const QSqlError& error)
{
    lastError_ = table_.backend().message(error);
    failure_ = table_.backend().classify(error);
    return false;
}

void Dictionary::rollback()
{
    QSqlQuery query(table_.database());
    query.exec(QStringLiteral("ROLLBACK"));
}

bool Dictionary::beginBulk(const QString& begin)
{
    QSqlQuery query(table_.database());
    if (!query.exec(begin))
        return failed(query.lastError());
    for (const QString& setting : table_.backend().bulkSettings()) {
        if (!query.exec(setting)) {
            failed(query.lastError());
            rollback();
            return false;
        }
    }
    return true;
}

// Runs attempt until it succeeds or fails for another reason than a busy
// table, for at most the busy timeout; a connection to a server that broke
// is made again once, and the attempt repeated.
template <typename Attempt> bool Dictionary::run(Attempt attempt)
{
    QElapsedTimer clock;
    clock.start();
    bool reconnected = false;
    for (int round = 0;; ++round) {
        failure_.reset();
        if (attempt())
            return true;
        if (!failure_)
            return false;
        if (*failure_ == Failure::ConnectionLost && !reconnected) {
            reconnected = true;
            QString why;
            forgetStatements();
            if (!table_.backend().reconnect(&why))
                return fail(why);
            continue;
        }
        if (*failure_ != Failure::Busy || clock.elapsed() >= detail::kBusyTimeoutMs)
            return false;
        QThread::msleep(static_cast<unsigned long>(std::min(2 << std::min(round, 6), 100)));
    }
}

bool Dictionary::readRecord(const QString& source, Proposals* dests, bool* found, bool forWrite)
{
    *found = false;
    *dests = {};
    const detail::TableBackend& backend = table_.backend();
    QSqlQuery& query = prepared(
        QStringLiteral("SELECT %1 FROM %2 WHERE \"Source\" = ?%3")
            .arg(detail::destColumns(), backend.recordTable(), forWrite ? backend.lockForWrite() : QString()));
    query.addBindValue(source);
    if (!query.exec())
        return failed(query.lastError());
    if (query.next()) {
        *found = true;
        *dests = destsOf(query, 0);
    }
    query.finish();
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
    if (!run([&] { return readRecord(lookupKey_, &dests, &found); }))
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
    bool added = false;
    if (!run([&] { return storeOnce(key, text, current, added); }))
        return false;
    if (added)
        table_.backend().noteNewSource(key);
    lookupKey_ = key;
    newRecord_ = false;
    proposals_ = current;
    lastError_.clear();
    return true;
}

// One attempt of a store, in one transaction that holds the record (the
// whole file on this computer, the record's row on a server) from reading
// it to writing it.
bool Dictionary::storeOnce(const QString& key, const QString& text, Proposals& current, bool& added)
{
    const detail::TableBackend& backend = table_.backend();
    QSqlDatabase db = table_.database();
    auto failedInside = [&](const QSqlError& error) {
        failed(error);
        rollback();
        return false;
    };
    QSqlQuery begin(db);
    if (!begin.exec(backend.beginWrite()))
        return failed(begin.lastError());

    bool found = false;
    if (!readRecord(key, &current, &found, true)) {
        rollback();
        return false;
    }

    QSqlQuery* write = nullptr;
    if (!found) {
        write = &prepared(
            QStringLiteral("INSERT INTO %1 (\"Source\", \"Dest1\") VALUES (?, ?)").arg(backend.recordTable()));
        write->addBindValue(key);
        write->addBindValue(text);
        current[0] = text;
    } else {
        for (int i = 0; i < kProposalCount; ++i) {
            QString& slot = current[size_t(i)];
            if (slot == text)
                break;
            if (slot.isEmpty()) {
                write = &prepared(QStringLiteral("UPDATE %1 SET %2 = ? WHERE \"Source\" = ?")
                                      .arg(backend.recordTable(), detail::destColumn(i)));
                write->addBindValue(text);
                write->addBindValue(key);
                slot = text;
                break;
            }
        }
    }
    if (write && !write->exec())
        return failedInside(write->lastError());
    if (write)
        write->finish();
    QSqlQuery commit(db);
    if (!commit.exec(QStringLiteral("COMMIT")))
        return failedInside(commit.lastError());
    added = !found;
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
    if (!run([&] { return readRecord(withoutAmpersands(source), &values, &found); }))
        return false;
    if (dests)
        *dests = values;
    return found;
}

int Dictionary::count()
{
    if (!isOpen())
        return 0;
    int n = 0;
    run([&] {
        QSqlQuery query(table_.database());
        if (!query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table_.backend().recordTable())) || !query.next())
            return failed(query.lastError());
        n = query.value(0).toInt();
        return true;
    });
    return n;
}

// ---------------------------------------------------------------------------
// Similar matches

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
    const bool ok
        = table_.hasTrigramIndex() ? similarByIndex(text, found, sources) : similarByScan(text, found, sources);
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

bool Dictionary::similarByIndex(
    const std::u32string& key, std::vector<std::pair<int, Proposals>>& found, std::vector<QString>& sources)
{
    const auto [shortest, longest] = similarLengths(int(key.size()));
    std::vector<detail::Candidate> candidates;
    const bool ok = run([&] {
        QSqlError error;
        return table_.backend().similarCandidates(key, shortest, longest, &candidates, &error) || failed(error);
    });
    for (const detail::Candidate& c : candidates) {
        const std::optional<int> percent = similarity(key, codePoints(c.source));
        if (!percent || *percent == 100)
            continue;
        found.emplace_back(*percent, c.dests);
        sources.push_back(c.source);
    }
    return ok;
}

bool Dictionary::similarByScan(
    const std::u32string& key, std::vector<std::pair<int, Proposals>>& found, std::vector<QString>& sources)
{
    const auto [shortest, longest] = similarLengths(int(key.size()));
    return run([&] {
        found.clear();
        sources.clear();
        QSqlQuery query(table_.database());
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT \"Source\", %1 FROM %2 WHERE length(\"Source\") BETWEEN ? AND ?")
                          .arg(detail::destColumns(), table_.backend().recordTable()));
        query.addBindValue(shortest);
        query.addBindValue(longest);
        if (!query.exec())
            return failed(query.lastError());
        while (query.next()) {
            const QString source = query.value(0).toString();
            const std::optional<int> percent = similarity(key, codePoints(source));
            if (!percent || *percent == 100)
                continue;
            found.emplace_back(*percent, destsOf(query, 1));
            sources.push_back(source);
        }
        if (query.lastError().isValid())
            return failed(query.lastError());
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
    // Read in one transaction, without the time limit of single statements;
    // tried again only while nothing was visited.
    long long visited = 0;
    return run([&] {
        const detail::TableBackend& backend = table_.backend();
        QSqlDatabase db = table_.database();
        auto failedAt = [&](const QSqlError& error) {
            failed(error);
            if (visited > 0)
                failure_ = Failure::Other;
            rollback();
            return false;
        };
        if (!beginBulk(QStringLiteral("BEGIN")))
            return false;
        {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.exec(QStringLiteral("SELECT \"Source\", %1 FROM %2 ORDER BY %3")
                                .arg(detail::destColumns(), backend.recordTable(), backend.madeOrder())))
                return failedAt(query.lastError());
            while (query.next()) {
                visit(query.value(0).toString(), destsOf(query, 1));
                ++visited;
            }
            if (query.lastError().isValid())
                return failedAt(query.lastError());
        }
        QSqlQuery end(db);
        if (!end.exec(QStringLiteral("COMMIT")))
            return failedAt(end.lastError());
        return true;
    });
}

bool Dictionary::merge(const std::vector<std::pair<QString, QStringList>>& records, const MergeOptions& options,
    std::vector<MergeResult>* results)
{
    lastError_.clear();
    if (!isOpen())
        return fail(QStringLiteral("No dictionary table is open."));
    if (isReadOnly() && !options.dryRun)
        return fail(
            QStringLiteral("The dictionary table \"%1\" cannot be written: nothing was imported.").arg(tableName()));
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
    if (!run([&] { return mergeOnce(merged, options, outcome); }))
        return false;
    lookupKey_.clear();
    proposals_ = {};
    if (!options.dryRun)
        table_.backend().forgetSimilarState();
    if (results)
        *results = std::move(outcome);
    return true;
}

bool Dictionary::mergeOnce(const std::vector<std::pair<QString, QStringList>>& records, const MergeOptions& options,
    std::vector<MergeResult>& results)
{
    results.clear();
    const detail::TableBackend& backend = table_.backend();
    QSqlDatabase db = table_.database();
    const bool write = !options.dryRun;
    auto failedInside = [&](const QSqlError& error) {
        failed(error);
        if (write)
            rollback();
        return false;
    };
    if (write && !beginBulk(backend.beginWrite()))
        return false;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO %1 (\"Source\", %2) VALUES (?, ?, ?, ?, ?, ?)")
                       .arg(backend.recordTable(), detail::destColumns()));
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE %1 SET \"Dest1\" = ?, \"Dest2\" = ?, \"Dest3\" = ?, \"Dest4\" = ?, "
                                  "\"Dest5\" = ? WHERE \"Source\" = ?")
                       .arg(backend.recordTable()));
    for (const auto& [source, translations] : records) {
        MergeResult result;
        result.source = source;
        bool found = false;
        if (!readRecord(source, &result.before, &found, write)) {
            if (write)
                rollback();
            return false;
        }
        Proposals after = result.before;
        const bool hadTranslations
            = std::any_of(after.begin(), after.end(), [](const QString& t) { return !t.isEmpty(); });
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
                query.addBindValue(notNull(text));
            if (found)
                query.addBindValue(source);
            if (!query.exec())
                return failedInside(query.lastError());
        }
        if (!found && result.stored.isEmpty())
            result.added = false; // nothing to store: no record
        results.push_back(std::move(result));
    }
    insert.finish();
    update.finish();
    if (write) {
        QSqlQuery commit(db);
        if (!commit.exec(QStringLiteral("COMMIT")))
            return failedInside(commit.lastError());
    }
    return true;
}

bool Dictionary::insertRecords(const std::vector<std::pair<QString, Proposals>>& records)
{
    lastError_.clear();
    if (!isOpen())
        return fail(QStringLiteral("No dictionary table is open."));
    if (isReadOnly())
        return fail(QStringLiteral("The dictionary table \"%1\" cannot be written.").arg(tableName()));
    const bool ok = run([&] {
        const detail::TableBackend& backend = table_.backend();
        QSqlDatabase db = table_.database();
        auto failedInside = [&](const QSqlError& error) {
            failed(error);
            rollback();
            return false;
        };
        if (!beginBulk(backend.beginWrite()))
            return false;
        auto statement = [&](std::size_t rows) {
            QStringList values;
            for (std::size_t i = 0; i < rows; ++i)
                values << QStringLiteral("(?, ?, ?, ?, ?, ?)");
            return QStringLiteral("INSERT INTO %1 (\"Source\", %2) VALUES %3")
                .arg(backend.recordTable(), detail::destColumns(), values.join(QStringLiteral(", ")));
        };
        QSqlQuery full(db);
        bool fullPrepared = false;
        for (std::size_t at = 0; at < records.size(); at += kInsertBatch) {
            const std::size_t n = std::min<std::size_t>(kInsertBatch, records.size() - at);
            QSqlQuery partial(db);
            QSqlQuery* query = &partial;
            if (n == std::size_t(kInsertBatch)) {
                query = &full;
                if (!fullPrepared)
                    fullPrepared = full.prepare(statement(n));
            } else {
                partial.prepare(statement(n));
            }
            for (std::size_t i = at; i < at + n; ++i) {
                query->addBindValue(withoutAmpersands(records[i].first));
                for (const QString& text : records[i].second)
                    query->addBindValue(notNull(withoutAmpersands(text)));
            }
            if (!query->exec())
                return failedInside(query->lastError());
        }
        full.finish();
        QSqlQuery commit(db);
        if (!commit.exec(QStringLiteral("COMMIT")))
            return failedInside(commit.lastError());
        return true;
    });
    if (ok) {
        for (const QString& statement : table_.backend().afterBulkWrite()) {
            QSqlQuery query(table_.database());
            query.exec(statement); // an optimisation: a failure changes nothing stored
        }
    }
    table_.backend().forgetSimilarState();
    return ok;
}

} // namespace lingrove::model
