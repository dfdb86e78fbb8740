#include "tests/common/PostgresServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lingrove::testing {

namespace {

// The folder of initdb and pg_ctl: LINGROVE_PG_BINDIR, else the newest
// /usr/lib/postgresql/<version>/bin, else the PATH.
QString findBinaries()
{
    const QString given = qEnvironmentVariable("LINGROVE_PG_BINDIR");
    if (!given.isEmpty())
        return QFileInfo::exists(given + QStringLiteral("/initdb")) ? given : QString();
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : found) {
        const QString bin = versions.filePath(version + QStringLiteral("/bin"));
        if (QFileInfo::exists(bin + QStringLiteral("/initdb")) && QFileInfo::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    for (const QString& dir : qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QFileInfo::exists(dir + QStringLiteral("/initdb")) && QFileInfo::exists(dir + QStringLiteral("/pg_ctl")))
            return dir;
    return {};
}

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QString adminConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("postgres-server-admin-%1").arg(++counter);
}

} // namespace

PostgresServer::PostgresServer() = default;

PostgresServer::~PostgresServer()
{
    stop();
}

QString PostgresServer::unavailable()
{
    if (findBinaries().isEmpty())
        return QStringLiteral("no PostgreSQL server programs (initdb, pg_ctl; Debian package postgresql)");
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("no PostgreSQL driver of Qt (Debian package libqt6sql6-psql)");
    return {};
}

bool PostgresServer::required()
{
    return !qEnvironmentVariableIsEmpty("LINGROVE_REQUIRE_POSTGRES");
}

QString PostgresServer::tool(const QString& name) const
{
    return bin_ + QLatin1Char('/') + name;
}

bool PostgresServer::runTool(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setWorkingDirectory(folder_->path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (switchUser_) {
        QStringList all = {QStringLiteral("--reuid=%1").arg(uid_), QStringLiteral("--regid=%1").arg(gid_),
            QStringLiteral("--clear-groups"), QStringLiteral("--"), program};
        process.start(QStringLiteral("setpriv"), all + arguments);
    } else {
        process.start(program, arguments);
    }
    const bool finished = process.waitForFinished(120000);
    *output = QString::fromLocal8Bit(process.readAll());
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PostgresServer::start(QString* error, const Options& options)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    options_ = options;
    const QString missing = unavailable();
    if (!missing.isEmpty())
        return fail(missing);
    bin_ = findBinaries();
    folder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lingrove-pg-XXXXXX"));
    if (!folder_->isValid())
        return fail(QStringLiteral("cannot make a temporary folder"));
    data_ = folder_->filePath(QStringLiteral("data"));
    const QString logs = folder_->filePath(QStringLiteral("log"));
    if (!QDir().mkpath(data_) || !QDir().mkpath(logs))
        return fail(QStringLiteral("cannot make ") + data_);

    switchUser_ = ::geteuid() == 0;
    if (switchUser_) {
        const passwd* user = ::getpwnam("postgres");
        if (!user)
            user = ::getpwnam("nobody");
        if (!user)
            return fail(QStringLiteral("running as root, and there is neither a user postgres nor nobody to run "
                                       "the server as"));
        uid_ = user->pw_uid;
        gid_ = user->pw_gid;
        // The user may pass through the folder and owns the data folder.
        QFile::setPermissions(folder_->path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
        for (const QString& path : {data_, logs})
            if (::chown(QFile::encodeName(path).constData(), uid_, gid_) != 0)
                return fail(QStringLiteral("cannot hand %1 to the server's user").arg(path));
    }

    QString output;
    if (!runTool(tool(QStringLiteral("initdb")),
            {QStringLiteral("-D"), data_, QStringLiteral("-U"), QStringLiteral("admin"), QStringLiteral("-E"),
                QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--auth=trust"),
                QStringLiteral("--no-sync"), QStringLiteral("--no-instructions")},
            &output))
        return fail(QStringLiteral("initdb failed: ") + output);
    // Trust for the superuser; passwords for everyone else.
    QFile hba(data_ + QStringLiteral("/pg_hba.conf"));
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || hba.write("host all admin 127.0.0.1/32 trust\n"
                     "host all all 127.0.0.1/32 scram-sha-256\n")
            < 0)
        return fail(QStringLiteral("cannot write pg_hba.conf"));
    hba.close();

    port_ = freePort();
    if (port_ == 0)
        return fail(QStringLiteral("no free port on 127.0.0.1"));
    if (!restart(error))
        return false;

    // When the test program dies without stopping the server, a watchdog
    // does: it waits for this process to end, then stops the server and
    // removes its folder.
    const QString stop
        = (switchUser_ ? QStringLiteral("setpriv --reuid=%1 --regid=%2 --clear-groups -- ").arg(uid_).arg(gid_)
                       : QString())
        + QStringLiteral("'%1' -D '%2' stop -m immediate").arg(tool(QStringLiteral("pg_ctl")), data_);
    const QString script = QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done; "
                                          "if [ -d '%2' ]; then %3 >/dev/null 2>&1; rm -rf '%4'; fi")
                               .arg(QCoreApplication::applicationPid())
                               .arg(data_, stop, folder_->path());
    QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), script});
    return true;
}

bool PostgresServer::restart(QString* error)
{
    QStringList settings = {QStringLiteral("listen_addresses=127.0.0.1"), QStringLiteral("port=%1").arg(port_),
        QStringLiteral("unix_socket_directories="), QStringLiteral("max_connections=60"),
        QStringLiteral("shared_buffers=64MB")};
    if (!options_.fsync)
        settings << QStringLiteral("fsync=off") << QStringLiteral("synchronous_commit=off")
                 << QStringLiteral("full_page_writes=off");
    settings << options_.settings;
    QString serverOptions;
    for (const QString& setting : settings)
        serverOptions += QStringLiteral(" -c ") + setting;
    QString output;
    if (!runTool(tool(QStringLiteral("pg_ctl")),
            {QStringLiteral("-D"), data_, QStringLiteral("-l"), folder_->filePath(QStringLiteral("log/server.log")),
                QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"),
                serverOptions.trimmed(), QStringLiteral("start")},
            &output)) {
        if (error)
            *error = QStringLiteral("pg_ctl start failed: ") + output + QLatin1Char('\n') + log();
        return false;
    }
    running_ = true;
    return true;
}

bool PostgresServer::stop(QString* error)
{
    if (!running_)
        return true;
    QString output;
    const bool ok = runTool(tool(QStringLiteral("pg_ctl")),
        {QStringLiteral("-D"), data_, QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("fast"),
            QStringLiteral("stop")},
        &output);
    if (!ok && error)
        *error = QStringLiteral("pg_ctl stop failed: ") + output;
    running_ = !ok;
    return ok;
}

QString PostgresServer::log() const
{
    QFile file(folder_ ? folder_->filePath(QStringLiteral("log/server.log")) : QString());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll().right(4000));
}

bool PostgresServer::exec(const QStringList& statements, const QString& database, QString* error)
{
    const QString name = adminConnectionName();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setUserName(QStringLiteral("admin"));
        db.setDatabaseName(database);
        if (!db.open()) {
            ok = false;
            if (error)
                *error = db.lastError().text();
        }
        for (int i = 0; ok && i < statements.size(); ++i) {
            QSqlQuery query(db);
            if (!query.exec(statements[i])) {
                ok = false;
                if (error)
                    *error = statements[i] + QStringLiteral(": ") + query.lastError().text();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QStringList PostgresServer::query(const QString& sql, const QString& database)
{
    const QString name = adminConnectionName();
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setUserName(QStringLiteral("admin"));
        db.setDatabaseName(database);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next())
                    rows << query.value(0).toString();
            } else {
                rows << QStringLiteral("error: ") + query.lastError().text();
            }
        } else {
            rows << QStringLiteral("error: ") + db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

model::DictionaryServer PostgresServer::server(const QString& user, const QString& database) const
{
    model::DictionaryServer s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port_;
    s.database = database;
    s.user = user;
    s.sslMode = QStringLiteral("disable");
    return s;
}

} // namespace lingrove::testing
