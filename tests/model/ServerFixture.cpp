#include "ServerFixture.h"

#include <QDir>
#include <QFile>

namespace lingrove::model::testing {

namespace {

struct Shared {
    std::unique_ptr<lingrove::testing::PostgresServer> server;
    QString why;
    bool tried = false;
    int databases = 0;
};

Shared& shared()
{
    static Shared s;
    return s;
}

// Stops the server after the last test.
class ServerEnvironment : public ::testing::Environment {
public:
    void TearDown() override { shared().server.reset(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

} // namespace

lingrove::testing::PostgresServer* testServer(QString* why)
{
    Shared& s = shared();
    if (!s.tried) {
        s.tried = true;
        s.why = lingrove::testing::PostgresServer::unavailable();
        if (s.why.isEmpty()) {
            auto server = std::make_unique<lingrove::testing::PostgresServer>();
            QString error;
            if (!server->start(&error)) {
                s.why = QStringLiteral("the test server did not start: ") + error;
            } else if (!server->exec({QStringLiteral("CREATE ROLE translators NOLOGIN"),
                                         QStringLiteral("CREATE ROLE anna LOGIN PASSWORD '%1' IN ROLE translators")
                                             .arg(QString(kAnnaPassword).replace("'", "''")),
                                         QStringLiteral("CREATE ROLE bob LOGIN PASSWORD '%1' IN ROLE translators")
                                             .arg(QString(kBobPassword).replace("'", "''"))},
                           QStringLiteral("postgres"), &error)) {
                s.why = QStringLiteral("the test server's roles could not be made: ") + error;
            } else {
                s.server = std::move(server);
            }
        }
    }
    *why = s.why;
    return s.server.get();
}

bool serverRequired()
{
    // Missing programs may skip a local run; a server that would not start
    // is a fault.
    return lingrove::testing::PostgresServer::required() || lingrove::testing::PostgresServer::unavailable().isEmpty();
}

QString makeTestDatabase(lingrove::testing::PostgresServer& server, QString* error)
{
    const QString name = QStringLiteral("t%1").arg(++shared().databases);
    if (!server.exec(
            {QStringLiteral("CREATE DATABASE %1 OWNER translators").arg(name)}, QStringLiteral("postgres"), error))
        return {};
    return name;
}

void useTestPasswords(const QString& home)
{
    qputenv("PGPASSFILE", QFile::encodeName(home + QStringLiteral("/no-pgpass")));
    qputenv("PGPASSWORD", kAnnaPassword.toUtf8());
    for (const char* name : {"PGHOST", "PGPORT", "PGDATABASE", "PGUSER"})
        qunsetenv(name);
}

void ServerTest::SetUp()
{
    QString why;
    server_ = testServer(&why);
    if (!server_) {
        if (serverRequired())
            FAIL() << "PostgreSQL tests cannot run: " << why.toStdString();
        GTEST_SKIP() << "PostgreSQL tests skipped: " << why.toStdString();
    }
    ASSERT_TRUE(home_.isValid());
    previousHome_ = qgetenv("LINGROVE_HOME");
    qputenv("LINGROVE_HOME", home_.path().toLocal8Bit());
    useTestPasswords(home_.path());
    QString error;
    database_ = makeTestDatabase(*server_, &error);
    ASSERT_FALSE(database_.isEmpty()) << str(error);
}

void ServerTest::TearDown()
{
    setCurrentDictionaryLocation(DictionaryLocation());
    if (!previousHome_.isNull())
        qputenv("LINGROVE_HOME", previousHome_);
}

void ServerTest::admin(const QStringList& statements)
{
    QString error;
    ASSERT_TRUE(server_->exec(statements, database_, &error)) << str(error);
}

} // namespace lingrove::model::testing
