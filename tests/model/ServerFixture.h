#pragma once
// The dictionary tests against a real PostgreSQL server: one server for the
// whole test program (started before the first test, stopped after the
// last, also when tests fail), a database of its own for each test, owned
// by the team role "translators" whose members "anna" and "bob" log in with
// passwords. Without the server's programs or Qt's driver the tests are
// skipped with the reason, unless LINGROVE_REQUIRE_POSTGRES is set (as
// scripts/test does): then they fail.
#include "model/Dictionary.h"
#include "tests/model/DictionaryFixture.h"
#include "tests/common/PostgresServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lingrove::model::testing {

inline const QString kAnnaPassword = QStringLiteral("anna's secret");
inline const QString kBobPassword = QStringLiteral("bob's secret");

// The program's server, or null with why.
lingrove::testing::PostgresServer* testServer(QString* why);
// Whether a missing server fails the test (else it is skipped).
bool serverRequired();
// A new database owned by the team role; its name.
QString makeTestDatabase(lingrove::testing::PostgresServer& server, QString* error);
// Passwords from PGPASSWORD (anna's) only, never from the user's ~/.pgpass;
// no PG* variable names a server.
void useTestPasswords(const QString& home);

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's database as anna (or another role) sees it.
    DictionaryLocation at(const QString& user = QStringLiteral("anna")) const
    {
        return DictionaryLocation::onServer(server_->server(user, database_));
    }
    DictionaryLocation local() const { return DictionaryLocation::local(home_.path() + QStringLiteral("/DB")); }
    // Superuser statements in the test's database.
    void admin(const QStringList& statements);
    QStringList adminQuery(const QString& sql) { return server_->query(sql, database_); }

    lingrove::testing::PostgresServer* server_ = nullptr;
    QString database_;
    QTemporaryDir home_;
    QByteArray previousHome_;
};


} // namespace lingrove::model::testing
