#pragma once
// A PostgreSQL server of a test's own: made with initdb in a temporary
// folder, started with pg_ctl on a free port of 127.0.0.1 (no Unix socket),
// stopped and removed when the object goes, and by a watchdog process when
// the test program dies without that.
//
// PostgreSQL refuses to run as root, and CI runs the tests as root. Then the
// server's programs run through setpriv as the system user "postgres" that
// Debian's postgresql package makes (or "nobody" where it is missing), in a
// folder that user owns; without root they run as the user running the
// tests.
//
// Authentication over TCP: the superuser "admin" is trusted; every other
// role needs its password (scram-sha-256), so that refused passwords can be
// tested.
#include "model/DictionaryLocation.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace lingrove::testing {

class PostgresServer {
public:
    struct Options {
        bool fsync = false; // benchmarks want the real thing
        QStringList settings; // more "-c name=value" settings
    };

    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Why no server can be made here (the programs or Qt's driver are
    // missing); empty when one can.
    static QString unavailable();
    // Whether a missing server must fail the tests rather than skip them
    // (LINGROVE_REQUIRE_POSTGRES is set, as scripts/test does).
    static bool required();

    bool start(QString* error, const Options& options);
    bool start(QString* error) { return start(error, Options()); }
    // Stops the server (fast: open connections are ended) and starts it
    // again on the same port.
    bool stop(QString* error = nullptr);
    bool restart(QString* error = nullptr);
    bool isRunning() const { return running_; }

    int port() const { return port_; }
    QString log() const;
    // Runs statements as the superuser in database; false with the error.
    bool exec(
        const QStringList& statements, const QString& database = QStringLiteral("postgres"), QString* error = nullptr);
    // The first column of the rows of one query as the superuser.
    QStringList query(const QString& sql, const QString& database = QStringLiteral("postgres"));
    // The server as the program's options would name it.
    model::DictionaryServer server(const QString& user, const QString& database) const;

private:
    bool runTool(const QString& program, const QStringList& arguments, QString* output);
    QString tool(const QString& name) const;

    std::unique_ptr<QTemporaryDir> folder_;
    QString bin_;
    QString data_;
    int port_ = 0;
    bool running_ = false;
    Options options_;
    unsigned uid_ = 0;
    unsigned gid_ = 0;
    bool switchUser_ = false;
};

} // namespace lingrove::testing
