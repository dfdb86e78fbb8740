#include "model/DictionaryLocation.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

namespace lingrove::model {

namespace {

QMutex& lock()
{
    static QMutex mutex;
    return mutex;
}

DictionaryLocation& current()
{
    static DictionaryLocation location;
    return location;
}

PasswordPrompt& prompt()
{
    static PasswordPrompt function;
    return function;
}

QHash<QString, QString>& passwords()
{
    static QHash<QString, QString> known;
    return known;
}

// Passwords belong to a server, a database and a user.
QString passwordKey(const DictionaryServer& server)
{
    return server.describe() + QLatin1Char('\n') + server.user;
}

} // namespace

QString DictionaryServer::describe() const
{
    const QString h = host.isEmpty() ? qEnvironmentVariable("PGHOST", QStringLiteral("localhost")) : host;
    const QString p = port > 0 ? QString::number(port) : qEnvironmentVariable("PGPORT", QStringLiteral("5432"));
    QString d = database;
    if (d.isEmpty())
        d = qEnvironmentVariable("PGDATABASE");
    return d.isEmpty() ? QStringLiteral("%1:%2").arg(h, p) : QStringLiteral("%1:%2/%3").arg(h, p, d);
}

const QStringList& sslModes()
{
    static const QStringList modes = {QStringLiteral("disable"), QStringLiteral("allow"), QStringLiteral("prefer"),
        QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    return modes;
}

DictionaryLocation DictionaryLocation::local(const QString& folder)
{
    DictionaryLocation location;
    location.folder = folder;
    return location;
}

DictionaryLocation DictionaryLocation::onServer(const DictionaryServer& server)
{
    DictionaryLocation location;
    location.kind = Kind::Server;
    location.server = server;
    return location;
}

QString DictionaryLocation::describe() const
{
    return isServer() ? QStringLiteral("the server %1").arg(server.describe()) : QStringLiteral("this computer");
}

DictionaryLocation currentDictionaryLocation()
{
    QMutexLocker guard(&lock());
    return current();
}

void setCurrentDictionaryLocation(const DictionaryLocation& location)
{
    QMutexLocker guard(&lock());
    current() = location;
}

bool parseTableAddress(
    const QString& text, const DictionaryLocation& server, DictionaryLocation* location, QString* name, QString* error)
{
    static const QString sqlite = QStringLiteral("sqlite:");
    static const QString postgres = QStringLiteral("postgresql:");
    if (text.startsWith(sqlite, Qt::CaseInsensitive)) {
        *location = DictionaryLocation::local();
        *name = text.mid(sqlite.size());
    } else if (text.startsWith(postgres, Qt::CaseInsensitive)) {
        *location = DictionaryLocation::onServer(server.server);
        *name = text.mid(postgres.size());
    } else {
        *location = currentDictionaryLocation();
        *name = text;
    }
    if (name->isEmpty()) {
        *error = QStringLiteral("\"%1\" names no table (sqlite:NAME or postgresql:NAME)").arg(text);
        return false;
    }
    return true;
}

PasswordPrompt setPasswordPrompt(PasswordPrompt function)
{
    QMutexLocker guard(&lock());
    std::swap(prompt(), function);
    return function;
}

namespace detail {

std::optional<QString> sessionPassword(const DictionaryServer& server)
{
    QMutexLocker guard(&lock());
    const auto it = passwords().constFind(passwordKey(server));
    if (it == passwords().constEnd())
        return std::nullopt;
    return *it;
}

void rememberPassword(const DictionaryServer& server, const QString& password)
{
    QMutexLocker guard(&lock());
    passwords().insert(passwordKey(server), password);
}

void forgetPassword(const DictionaryServer& server)
{
    QMutexLocker guard(&lock());
    passwords().remove(passwordKey(server));
}

std::optional<QString> askPassword(const DictionaryServer& server, const QString& reason)
{
    PasswordPrompt ask;
    {
        QMutexLocker guard(&lock());
        ask = prompt();
    }
    if (!ask)
        return std::nullopt;
    return ask(server, reason);
}

} // namespace detail

} // namespace lingrove::model
