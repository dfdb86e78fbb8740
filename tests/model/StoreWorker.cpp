// One translator of many storing into a server table at once, for the
// concurrency test: store_worker HOST PORT DATABASE USER TABLE WORKER COUNT.
// Stores "Text W-I" => "T W-I" for I < COUNT and, every tenth, its own
// translation "W<WORKER>" of the source "Shared I/10" that every worker
// stores too. The password comes from PGPASSWORD. Exits 1 at the first
// failure, after a message.
#include "model/Dictionary.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace lingrove::model;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 8) {
        std::fprintf(stderr, "usage: store_worker HOST PORT DATABASE USER TABLE WORKER COUNT\n");
        return 2;
    }
    DictionaryServer server;
    server.host = args[1];
    server.port = args[2].toInt();
    server.database = args[3];
    server.user = args[4];
    server.sslMode = QStringLiteral("disable");
    const int worker = args[6].toInt();
    const int count = args[7].toInt();
    Dictionary dictionary;
    QString error;
    if (!dictionary.open(args[5], DictionaryLocation::onServer(server), &error)) {
        std::fprintf(stderr, "worker %d: %s\n", worker, qPrintable(error));
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        const QString source = QStringLiteral("Text %1-%2").arg(worker).arg(i);
        dictionary.lookup(source);
        if (!dictionary.store(source, QStringLiteral("T %1-%2").arg(worker).arg(i))
            || (i % 10 == 0
                && !dictionary.store(QStringLiteral("Shared %1").arg(i / 10), QStringLiteral("W%1").arg(worker)))) {
            std::fprintf(stderr, "worker %d, store %d: %s\n", worker, i, qPrintable(dictionary.lastError()));
            return 1;
        }
    }
    return 0;
}
