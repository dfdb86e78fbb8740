// Dictionary tables on a PostgreSQL server that a team shares.
//
// Layout. Everything lives in the schema lingrove of the server's database:
//   - the catalogue lingrove.tables ("Name", "NameKey", "Relation",
//     "FieldSize", "Created"): one row per dictionary table, the name as
//     the user gave it, its case-folded form (unique, so that names that
//     differ in letter case only name one table, as on this computer), the
//     relation that holds the records and the field size;
//   - per table a relation lingrove.d<number>_<name in ASCII> with "Id" (the
//     order records were made in), "Source" and "Dest1".."Dest5" (text, never
//     null). The sources are unique through an exclusion constraint over a
//     hash index: equality like a unique index, and without the size limit
//     of a btree entry, so long sources are kept whole as on this computer.
//     Where the server has the extension pg_trgm, a GIN trigram index over
//     "Source" finds the candidates of similar matches.
// The schema, the catalogue and its sequence are made with the first table.
// A schema made so belongs to the role that owns the database, and what a
// user makes in the schema is handed to the schema's owner, in both cases
// when the user is a member of that role: so the whole team (the role's
// members) may use every table.
//
// Connections. Each open table has one connection, made with
// connect_timeout 5 s and TCP keepalives and a user timeout of 5 s, so that
// a server that does not answer is given up within that time; each session
// sets statement_timeout and lock_timeout to 5 s (lifted inside merges and
// copies, which may take long) and an idle-in-transaction timeout, so that
// a translator whose program hangs inside a transaction does not lock a
// record for ever. A connection that broke is made again before the next
// use (Dictionary repeats the interrupted work once).
//
// Concurrency. A store runs in one transaction that reads the record with
// SELECT ... FOR UPDATE. Stores of one source by several translators at once
// are so taken one after the other: each sees the translations committed
// before it and takes the next free slot, so different translations are all
// kept, in the order their transactions committed (a sixth is dropped, as
// the store rule says), and nobody ever reads a half-written record. Two
// translators adding the same new source at once meet the uniqueness of
// "Source": the second's insert fails, its transaction is rolled back and
// tried again, and then finds the record the first made. A store that waits
// for another one's record longer than the lock timeout fails with a message
// (and may be repeated); it never waits for ever.
#include "model/DictionaryBackend.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

namespace lingrove::model::detail {

namespace {

constexpr const char* kDriver = "QPSQL";
const QString kSchema = QStringLiteral("lingrove");
constexpr int kConnectTimeoutSeconds = kBusyTimeoutMs / 1000;
constexpr int kStatementTimeoutMs = kBusyTimeoutMs;
constexpr int kIdleInTransactionTimeoutMs = 60000;
// Serialises the making of tables and of the catalogue ("Lingrove" in ASCII).
constexpr qint64 kCatalogueLock = 0x4c696e67726f7665LL;
// How alike (pg_trgm's measure) a source must be to be read as a candidate;
// low, because texts 70% alike by editing can share few trigrams.
constexpr double kTrigramThreshold = 0.15;
constexpr int kCandidates = 256;

QString quote(const QSqlDatabase& db, const QString& identifier)
{
    return db.driver()->escapeIdentifier(identifier, QSqlDriver::TableName);
}

QString catalogue(const QSqlDatabase& db)
{
    return quote(db, kSchema) + QStringLiteral(".") + quote(db, QStringLiteral("tables"));
}

// libpq's and the server's message without its level and error code, on one line.
QString cleanMessage(QString text)
{
    text = text.trimmed();
    static const QRegularExpression code(QStringLiteral("\\(\\w{5}\\)$"));
    text.remove(code);
    static const QRegularExpression level(QStringLiteral("^(ERROR|FATAL|PANIC):\\s+"));
    text.remove(level);
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) {
        line = line.trimmed();
        line.remove(level);
    }
    lines.removeDuplicates();
    return lines.join(QStringLiteral("; "));
}

// Whether libpq gave up for want of a password.
bool wantsPassword(const QString& text)
{
    return text.contains(QLatin1String("no password supplied"));
}

QString connectOptions(int timeoutSeconds, const DictionaryServer& server)
{
    QStringList options = {
        QStringLiteral("connect_timeout=%1").arg(std::max(2, timeoutSeconds)),
        QStringLiteral("application_name=Lingrove"),
        QStringLiteral("keepalives=1"),
        QStringLiteral("keepalives_idle=5"),
        QStringLiteral("keepalives_interval=2"),
        QStringLiteral("keepalives_count=2"),
        QStringLiteral("tcp_user_timeout=%1").arg(kBusyTimeoutMs),
    };
    // Only a mode libpq knows, so that the value cannot carry other options.
    if (sslModes().contains(server.sslMode))
        options << QStringLiteral("sslmode=") + server.sslMode;
    return options.join(QLatin1Char(';'));
}

bool run(QSqlDatabase& db, const QString& sql, QSqlError* error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    *error = query.lastError();
    return false;
}

// Connects connectionName to server (asking for a password once when libpq
// finds none) and sets the session's limits. False with a message naming
// the server.
bool connectTo(const QString& connectionName, const DictionaryServer& server, QString* why,
    int timeoutSeconds = kConnectTimeoutSeconds)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connectionName);
    if (!db.isValid()) {
        *why = QStringLiteral("Cannot connect to the dictionary server %1: the PostgreSQL driver of Qt is not "
                              "installed (Debian package libqt6sql6-psql).")
                   .arg(server.describe());
        return false;
    }
    db.setHostName(server.host);
    if (server.port > 0)
        db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    db.setConnectOptions(connectOptions(timeoutSeconds, server));
    std::optional<QString> password = sessionPassword(server);
    db.setPassword(password.value_or(QString()));
    bool open = db.open();
    if (!open && wantsPassword(db.lastError().databaseText())) {
        // The session's password was refused, or libpq found none.
        if (password)
            forgetPassword(server);
        password = askPassword(server, password ? cleanMessage(db.lastError().databaseText()) : QString());
        if (password) {
            db.setPassword(*password);
            open = db.open();
            if (open)
                rememberPassword(server, *password);
        }
    } else if (!open && password) {
        forgetPassword(server);
    }
    if (!open) {
        QString text = cleanMessage(db.lastError().databaseText());
        if (text.isEmpty())
            text = cleanMessage(db.lastError().text());
        if (wantsPassword(text))
            text = QStringLiteral("the server wants a password: give it when asked, or put it in ~/.pgpass "
                                  "or the environment variable PGPASSWORD");
        *why = QStringLiteral("Cannot connect to the dictionary server %1: %2").arg(server.describe(), text);
        return false;
    }
    QSqlError error;
    const bool limited = run(db, QStringLiteral("SET statement_timeout = %1").arg(kStatementTimeoutMs), &error)
        && run(db, QStringLiteral("SET lock_timeout = %1").arg(kStatementTimeoutMs), &error)
        && run(db, QStringLiteral("SET idle_in_transaction_session_timeout = %1").arg(kIdleInTransactionTimeoutMs),
            &error);
    if (!limited) {
        *why = QStringLiteral("The dictionary server %1 reports: %2")
                   .arg(server.describe(), cleanMessage(error.databaseText()));
        return false;
    }
    return true;
}

// The schema pg_trgm was installed in; empty when the server lacks it.
QString trigramSchema(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT n.nspname FROM pg_extension e JOIN pg_namespace n ON n.oid = "
                                  "e.extnamespace WHERE e.extname = 'pg_trgm'"))
        && query.next())
        return query.value(0).toString();
    return {};
}

bool catalogueExists(QSqlDatabase& db, bool* exists, QSqlError* error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT to_regclass(?) IS NOT NULL"));
    query.addBindValue(catalogue(db));
    if (!query.exec() || !query.next()) {
        *error = query.lastError();
        return false;
    }
    *exists = query.value(0).toBool();
    return true;
}

// "d<number>_<the name's letters and digits in ASCII>": readable for whoever
// looks at the database, and never in need of quoting.
QString relationName(const QString& name, qint64 number)
{
    QString base;
    for (const QChar c : name.toLower()) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            base += c;
        else if (!base.isEmpty() && !base.endsWith(QLatin1Char('_')))
            base += QLatin1Char('_');
    }
    base = base.left(40);
    while (base.endsWith(QLatin1Char('_')))
        base.chop(1);
    return base.isEmpty() ? QStringLiteral("d%1").arg(number) : QStringLiteral("d%1_%2").arg(number).arg(base);
}

QString nameKey(const QString& name)
{
    return name.toCaseFolded();
}

class ServerTable : public TableBackend {
public:
    ServerTable(QString connectionName, DictionaryServer server)
        : connectionName_(std::move(connectionName))
        , server_(std::move(server))
    {
    }
    ~ServerTable() override { close(); }

    QString relation; // the relation in the schema lingrove
    QString trigramSchema; // where pg_trgm is; empty: no index

    DictionaryLocation location() const override { return DictionaryLocation::onServer(server_); }
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
    QString recordTable() const override
    {
        const QSqlDatabase db = database();
        return quote(db, kSchema) + QLatin1Char('.') + quote(db, relation);
    }
    QString madeOrder() const override { return QStringLiteral("\"Id\""); }
    QString beginWrite() const override { return QStringLiteral("BEGIN"); }
    QString lockForWrite() const override { return QStringLiteral(" FOR UPDATE"); }
    QStringList bulkSettings() const override { return {QStringLiteral("SET LOCAL statement_timeout = 0")}; }
    // The planner learns the table's new size.
    QStringList afterBulkWrite() const override
    {
        return {QStringLiteral("SET statement_timeout = 0"), QStringLiteral("ANALYZE ") + recordTable(),
            QStringLiteral("SET statement_timeout = %1").arg(kStatementTimeoutMs)};
    }

    Failure classify(const QSqlError& error) const override
    {
        const QString code = error.nativeErrorCode();
        // Serialisation failure, deadlock, a source another translator has
        // just added: the transaction was rolled back and may run again.
        if (code == QLatin1String("40001") || code == QLatin1String("40P01") || code == QLatin1String("23505")
            || code == QLatin1String("23P01"))
            return Failure::Busy;
        // No code: libpq gave up on the connection; class 08 and the
        // server's shutdowns and terminations end the connection too.
        if (code.isEmpty() || code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")))
            return Failure::ConnectionLost;
        return Failure::Other;
    }
    QString message(const QSqlError& error) const override
    {
        QString text = cleanMessage(error.databaseText());
        if (text.isEmpty())
            text = cleanMessage(error.text());
        if (classify(error) == Failure::ConnectionLost)
            return QStringLiteral("The connection to the dictionary server %1 was lost: %2")
                .arg(server_.describe(), text);
        if (error.nativeErrorCode() == QLatin1String("55P03") || error.nativeErrorCode() == QLatin1String("57014"))
            return QStringLiteral("The dictionary server %1 did not answer in time (another translator may be "
                                  "storing the same text): %2")
                .arg(server_.describe(), text);
        return QStringLiteral("The dictionary server %1 reports: %2").arg(server_.describe(), text);
    }
    bool reconnect(QString* why) override
    {
        const QString name = connectionName_.isEmpty() ? newConnectionName() : connectionName_;
        close();
        if (!connectTo(name, server_, why)) {
            dropConnection(name);
            return false;
        }
        connectionName_ = name;
        setThreshold();
        return true;
    }
    void setThreshold()
    {
        if (trigramSchema.isEmpty())
            return;
        QSqlDatabase db = database();
        QSqlError ignored;
        run(db, QStringLiteral("SET pg_trgm.similarity_threshold = %1").arg(kTrigramThreshold), &ignored);
    }

    bool hasSimilarIndex() const override { return !trigramSchema.isEmpty(); }
    bool similarCandidates(
        const std::u32string& key, int shortest, int longest, std::vector<Candidate>* found, QSqlError* error) override
    {
        found->clear();
        QSqlDatabase db = database();
        const QString extension = quote(db, trigramSchema);
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT \"Source\", %1 FROM %2 WHERE \"Source\" OPERATOR(%3.%) ? "
                                     "AND length(\"Source\") BETWEEN ? AND ? "
                                     "ORDER BY %3.similarity(\"Source\", ?) DESC, abs(length(\"Source\") - ?) "
                                     "LIMIT %4")
                          .arg(destColumns(), recordTable(), extension)
                          .arg(kCandidates));
        const QString text = QString::fromUcs4(key.data(), qsizetype(key.size()));
        query.addBindValue(text);
        query.addBindValue(shortest);
        query.addBindValue(longest);
        query.addBindValue(text);
        query.addBindValue(int(key.size()));
        return readCandidates(query, found, error);
    }

private:
    QString connectionName_;
    DictionaryServer server_;
};

// A connection of its own for the catalogue; dropped when it goes.
class CatalogueConnection {
public:
    explicit CatalogueConnection(const DictionaryServer& server)
        : name_(newConnectionName())
        , server_(server)
    {
    }
    ~CatalogueConnection() { dropConnection(name_); }
    bool open(QString* why) { return connectTo(name_, server_, why); }
    QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }
    QString fail(const QSqlError& error) const
    {
        return QStringLiteral("The dictionary server %1 reports: %2")
            .arg(
                server_.describe(), cleanMessage(error.databaseText().isEmpty() ? error.text() : error.databaseText()));
    }

private:
    QString name_;
    DictionaryServer server_;
};

// What the user makes in the schema is handed to the role that owns the
// schema when the user is one of its members, so that the whole team may
// use and change it.
bool handOver(QSqlDatabase& db, const QString& kind, const QString& object, QSqlError* error)
{
    QSqlQuery owner(db);
    owner.prepare(QStringLiteral("SELECT r.rolname FROM pg_namespace n JOIN pg_roles r ON r.oid = n.nspowner "
                                 "WHERE n.nspname = ? AND r.rolname <> current_user "
                                 "AND pg_has_role(current_user, r.oid, 'MEMBER')"));
    owner.addBindValue(kSchema);
    if (!owner.exec()) {
        *error = owner.lastError();
        return false;
    }
    if (!owner.next())
        return true;
    const QString role = quote(db, owner.value(0).toString());
    return run(db, QStringLiteral("ALTER %1 %2 OWNER TO %3").arg(kind, object, role), error);
}

} // namespace

bool serverTables(const DictionaryServer& server, QStringList* names, QString* error)
{
    names->clear();
    CatalogueConnection connection(server);
    if (!connection.open(error))
        return false;
    QSqlDatabase db = connection.database();
    bool exists = false;
    QSqlError sqlError;
    if (!catalogueExists(db, &exists, &sqlError)) {
        *error = connection.fail(sqlError);
        return false;
    }
    if (!exists)
        return true;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT \"Name\" FROM %1").arg(catalogue(db)))) {
        *error = connection.fail(query.lastError());
        return false;
    }
    while (query.next())
        *names << query.value(0).toString();
    return true;
}

bool createServerTable(const QString& name, int fieldSize, const DictionaryServer& server, QString* error)
{
    CatalogueConnection connection(server);
    if (!connection.open(error))
        return false;
    QSqlDatabase db = connection.database();
    QSqlError sqlError;
    auto fail = [&](const QSqlError& e) {
        QSqlError ignored;
        run(db, QStringLiteral("ROLLBACK"), &ignored);
        *error = QStringLiteral("Cannot create the table \"%1\": %2").arg(name, connection.fail(e));
        return false;
    };
    const QString schema = quote(db, kSchema);
    if (!run(db, QStringLiteral("BEGIN"), &sqlError)
        || !run(db, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kCatalogueLock), &sqlError))
        return fail(sqlError);

    // The schema and the catalogue, when this is the server's first table.
    bool exists = false;
    if (!catalogueExists(db, &exists, &sqlError))
        return fail(sqlError);
    if (!exists) {
        QSqlQuery schemaQuery(db);
        schemaQuery.prepare(QStringLiteral("SELECT to_regnamespace(?) IS NOT NULL"));
        schemaQuery.addBindValue(schema);
        if (!schemaQuery.exec() || !schemaQuery.next())
            return fail(schemaQuery.lastError());
        const bool schemaExists = schemaQuery.value(0).toBool();
        schemaQuery.finish();
        // A schema made here belongs to the team: the role that owns the
        // database, when the user is one of its members.
        QString team;
        if (!schemaExists) {
            QSqlQuery owner(db);
            if (!owner.exec(QStringLiteral("SELECT r.rolname FROM pg_database d JOIN pg_roles r ON r.oid = d.datdba "
                                           "WHERE d.datname = current_database() AND r.rolname <> current_user "
                                           "AND pg_has_role(current_user, r.oid, 'MEMBER')")))
                return fail(owner.lastError());
            if (owner.next())
                team = QStringLiteral(" AUTHORIZATION ") + quote(db, owner.value(0).toString());
        }
        const QString sequence = schema + QLatin1Char('.') + quote(db, QStringLiteral("table_numbers"));
        if ((!schemaExists && !run(db, QStringLiteral("CREATE SCHEMA %1%2").arg(schema, team), &sqlError))
            || !run(db,
                QStringLiteral("CREATE TABLE %1 (\"Name\" text NOT NULL, \"NameKey\" text NOT NULL UNIQUE, "
                               "\"Relation\" text NOT NULL UNIQUE, \"FieldSize\" integer NOT NULL, "
                               "\"Created\" timestamptz NOT NULL DEFAULT now())")
                    .arg(catalogue(db)),
                &sqlError)
            || !run(db, QStringLiteral("CREATE SEQUENCE %1").arg(sequence), &sqlError)
            || !handOver(db, QStringLiteral("TABLE"), catalogue(db), &sqlError)
            || !handOver(db, QStringLiteral("SEQUENCE"), sequence, &sqlError))
            return fail(sqlError);
    }

    QSqlQuery known(db);
    known.prepare(QStringLiteral("SELECT \"Name\" FROM %1 WHERE \"NameKey\" = ?").arg(catalogue(db)));
    known.addBindValue(nameKey(name));
    if (!known.exec())
        return fail(known.lastError());
    if (known.next()) {
        QSqlError ignored;
        known.finish();
        run(db, QStringLiteral("ROLLBACK"), &ignored);
        *error = QStringLiteral("A table named \"%1\" exists already on the server %2. Choose another name.")
                     .arg(name, server.describe());
        return false;
    }
    known.finish();
    QSqlQuery number(db);
    if (!number.exec(QStringLiteral("SELECT nextval('%1.table_numbers')").arg(kSchema)) || !number.next())
        return fail(number.lastError());
    const QString relation = relationName(name, number.value(0).toLongLong());
    number.finish();
    const QString table = schema + QLatin1Char('.') + quote(db, relation);

    QString columns = QStringLiteral("\"Id\" bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                                     "\"Source\" text NOT NULL DEFAULT ''");
    for (int i = 0; i < kProposalCount; ++i)
        columns += QStringLiteral(", ") + destColumn(i) + QStringLiteral(" text NOT NULL DEFAULT ''");
    columns += QStringLiteral(", CONSTRAINT %1 EXCLUDE USING hash (\"Source\" WITH =)")
                   .arg(quote(db, relation + QStringLiteral("_source")));
    if (!run(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns), &sqlError))
        return fail(sqlError);

    // pg_trgm is a trusted extension: whoever may create in the database
    // may add it. Where that fails the table works without the index.
    QString trigrams = trigramSchema(db);
    if (trigrams.isEmpty()) {
        QSqlError ignored;
        run(db, QStringLiteral("SAVEPOINT extension"), &ignored);
        if (run(db, QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"), &ignored))
            trigrams = trigramSchema(db);
        else
            run(db, QStringLiteral("ROLLBACK TO SAVEPOINT extension"), &ignored);
    }
    if (!trigrams.isEmpty()
        && !run(db,
            QStringLiteral("CREATE INDEX %1 ON %2 USING gin (\"Source\" %3.gin_trgm_ops)")
                .arg(quote(db, relation + QStringLiteral("_trigrams")), table, quote(db, trigrams)),
            &sqlError))
        return fail(sqlError);

    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO %1 (\"Name\", \"NameKey\", \"Relation\", \"FieldSize\") "
                                  "VALUES (?, ?, ?, ?)")
                       .arg(catalogue(db)));
    insert.addBindValue(name);
    insert.addBindValue(nameKey(name));
    insert.addBindValue(relation);
    insert.addBindValue(fieldSize);
    if (!insert.exec())
        return fail(insert.lastError());
    insert.finish();

    if (!handOver(db, QStringLiteral("TABLE"), table, &sqlError))
        return fail(sqlError);
    if (!run(db, QStringLiteral("COMMIT"), &sqlError))
        return fail(sqlError);
    return true;
}

namespace {

// Finds table's relation in the catalogue and what the user may do with it.
bool inspect(ServerTable& table, const QString& name, const DictionaryServer& server, QString* why)
{
    QSqlDatabase db = table.database();
    auto reports = [&](const QSqlError& e) {
        *why = QStringLiteral("The dictionary server %1 reports: %2")
                   .arg(server.describe(), cleanMessage(e.databaseText().isEmpty() ? e.text() : e.databaseText()));
        return false;
    };
    bool exists = false;
    QSqlError sqlError;
    if (!catalogueExists(db, &exists, &sqlError))
        return reports(sqlError);
    const QString missing
        = QStringLiteral("The dictionary table \"%1\" does not exist on the server %2.").arg(name, server.describe());
    QSqlQuery entry(db);
    entry.prepare(
        QStringLiteral("SELECT \"Relation\", \"FieldSize\" FROM %1 WHERE \"NameKey\" = ?").arg(catalogue(db)));
    entry.addBindValue(nameKey(name));
    if (exists && !entry.exec())
        return reports(entry.lastError());
    if (!exists || !entry.next()) {
        *why = missing;
        return false;
    }
    table.relation = entry.value(0).toString();
    const int fieldSize = entry.value(1).toInt();
    table.name = name;
    table.fieldSize = fieldSize > 0 ? fieldSize : kDefaultFieldSize;

    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT \"Source\", %1 FROM %2 LIMIT 0").arg(destColumns(), table.recordTable()))) {
        reports(probe.lastError());
        *why = QStringLiteral("\"%1\" is not a readable dictionary table: %2").arg(name, *why);
        return false;
    }
    // A table the user may read but not change opens for lookups only.
    QSqlQuery rights(db);
    rights.prepare(QStringLiteral("SELECT has_table_privilege(c.oid, 'INSERT') AND has_table_privilege(c.oid, "
                                  "'UPDATE') FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                                  "WHERE n.nspname = ? AND c.relname = ?"));
    rights.addBindValue(kSchema);
    rights.addBindValue(table.relation);
    table.readOnly = !(rights.exec() && rights.next() && rights.value(0).toBool());

    const QString trigrams = trigramSchema(db);
    if (trigrams.isEmpty())
        return true;
    QSqlQuery index(db);
    index.prepare(QStringLiteral("SELECT count(*) FROM pg_index i JOIN pg_class c ON c.oid = i.indrelid "
                                 "JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_opclass o ON o.oid = "
                                 "ANY(i.indclass::oid[]) WHERE n.nspname = ? AND c.relname = ? AND o.opcname = "
                                 "'gin_trgm_ops'"));
    index.addBindValue(kSchema);
    index.addBindValue(table.relation);
    bool indexed = index.exec() && index.next() && index.value(0).toInt() > 0;
    // A table made before the server had pg_trgm gets the index when the
    // user may make it; else its similar matches are read record by record.
    if (!indexed && !table.readOnly) {
        QSqlError ignored;
        indexed = run(db,
            QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (\"Source\" %3.gin_trgm_ops)")
                .arg(quote(db, table.relation + QStringLiteral("_trigrams")), table.recordTable(), quote(db, trigrams)),
            &ignored);
    }
    if (indexed)
        table.trigramSchema = trigrams;
    return true;
}

} // namespace

std::unique_ptr<TableBackend> openServerTable(const QString& name, const DictionaryServer& server, QString* error)
{
    const QString connectionName = newConnectionName();
    if (!connectTo(connectionName, server, error)) {
        dropConnection(connectionName);
        return nullptr;
    }
    auto table = std::make_unique<ServerTable>(connectionName, server);
    if (!inspect(*table, name, server, error))
        return nullptr;
    table->setThreshold();
    return table;
}

} // namespace lingrove::model::detail
