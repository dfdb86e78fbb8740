#pragma once
// Where dictionary tables live: on this computer (SQLite files in the
// dictionary folder, the default) or on a PostgreSQL server that a team
// shares.
//
// The program has one current location, taken from the settings
// (Workspace::setSettings sets it); every function of Dictionary.h that is
// given no folder works there. A folder given explicitly always means
// SQLite files in that folder.
//
// Passwords. No password is ever stored by the program. libpq finds it by
// its own rules (the PGPASSWORD environment variable, the user's ~/.pgpass
// or the file PGPASSFILE names). When the server wants one and libpq has
// none, the program asks through the password prompt the window installs,
// once per server and session; the answer is kept in memory only.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lingrove::model {

// A PostgreSQL server as the options name it. Empty texts and a port of 0
// leave the value to libpq (the PG* environment variables, then its
// defaults).
struct DictionaryServer {
    QString host;
    int port = 0;
    QString database;
    QString user;
    QString sslMode = QStringLiteral("prefer");

    // "host:port/database", with libpq's defaults where nothing is set; the
    // text every message about the server names it by.
    QString describe() const;
    bool operator==(const DictionaryServer&) const = default;
};

// The sslmode values libpq knows; the options offer these.
const QStringList& sslModes();

struct DictionaryLocation {
    enum class Kind { Local, Server };
    Kind kind = Kind::Local;
    // Local: the folder of the table files; empty: dictionaryFolder().
    QString folder;
    DictionaryServer server;

    static DictionaryLocation local(const QString& folder = {});
    static DictionaryLocation onServer(const DictionaryServer& server);
    bool isServer() const { return kind == Kind::Server; }
    // "this computer" or "the server host:port/database".
    QString describe() const;
    bool operator==(const DictionaryLocation&) const = default;
};

// The location of the program's tables.
DictionaryLocation currentDictionaryLocation();
void setCurrentDictionaryLocation(const DictionaryLocation& location);

// A table named on the command line: "sqlite:NAME" (this computer),
// "postgresql:NAME" (the server of the settings), or a plain NAME (the
// current location). False with a message for an unknown prefix or an
// empty name.
bool parseTableAddress(
    const QString& text, const DictionaryLocation& server, DictionaryLocation* location, QString* name, QString* error);

// Asks for the password of server; reason says why (empty the first time,
// the server's refusal when a password given before was wrong). nullopt
// when the user declines.
using PasswordPrompt = std::function<std::optional<QString>(const DictionaryServer& server, const QString& reason)>;
// Installs prompt (an empty function: never ask); returns the one before.
PasswordPrompt setPasswordPrompt(PasswordPrompt prompt);

namespace detail {
// The password given for server in this session, if any.
std::optional<QString> sessionPassword(const DictionaryServer& server);
void rememberPassword(const DictionaryServer& server, const QString& password);
void forgetPassword(const DictionaryServer& server);
// Asks the installed prompt; nullopt without one or when declined.
std::optional<QString> askPassword(const DictionaryServer& server, const QString& reason);
} // namespace detail

} // namespace lingrove::model
