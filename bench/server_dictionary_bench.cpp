// The dictionary on both engines at the size of a large team dictionary:
// a lookup (one per located entry) and a store (one per committed
// translation) on a table of a million records, and stores per second when
// eight translators store at once (threads with a connection each, as eight
// programs would have). The PostgreSQL server runs on 127.0.0.1 with fsync
// on, so a store's commit costs what it costs on a real server's disk.
#include "model/Dictionary.h"
#include "tests/common/PostgresServer.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>

using namespace lingrove::model;

namespace {

int records()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("LINGROVE_BENCH_RECORDS", &ok);
    return ok && n > 0 ? n : 1000000;
}

QString source(int i)
{
    return QStringLiteral("Source text number %1 of the bench").arg(i);
}

struct Fixture {
    QTemporaryDir home;
    lingrove::testing::PostgresServer server;
    DictionaryLocation local;
    DictionaryLocation remote;
    bool serverUp = false;

    Fixture()
    {
        qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
        local = DictionaryLocation::local(home.path() + QStringLiteral("/DB"));
        const int n = records();
        std::vector<std::pair<QString, Proposals>> rows;
        rows.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i) {
            Proposals p;
            p[0] = QStringLiteral("Text %1").arg(i);
            rows.emplace_back(source(i), p);
        }
        fill(local, rows);
        QString error;
        lingrove::testing::PostgresServer::Options options;
        options.fsync = true;
        if (!server.start(&error, options)
            || !server.exec({QStringLiteral("CREATE DATABASE bench")}, "postgres", &error)) {
            std::fprintf(stderr, "no PostgreSQL server, its benchmarks are skipped: %s\n", qPrintable(error));
            return;
        }
        DictionaryServer s = server.server(QStringLiteral("admin"), QStringLiteral("bench"));
        remote = DictionaryLocation::onServer(s);
        fill(remote, rows);
        server.exec({QStringLiteral("VACUUM ANALYZE")}, QStringLiteral("bench"));
        serverUp = true;
    }

    static void fill(const DictionaryLocation& where, const std::vector<std::pair<QString, Proposals>>& rows)
    {
        QString error;
        Dictionary d;
        if (!createTable(QStringLiteral("bench"), 50, where, &error) || !d.open(QStringLiteral("bench"), where, &error)
            || !d.insertRecords(rows))
            qFatal("filling the table failed: %s %s", qPrintable(error), qPrintable(d.lastError()));
        if (d.count() != int(rows.size()))
            qFatal("filling the table failed");
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

const DictionaryLocation* where(benchmark::State& state)
{
    Fixture& f = fixture();
    if (state.range(0) == 1 && !f.serverUp) {
        state.SkipWithError("no PostgreSQL server");
        return nullptr;
    }
    state.SetLabel(state.range(0) == 1 ? "PostgreSQL" : "SQLite");
    return state.range(0) == 1 ? &f.remote : &f.local;
}

void BM_Lookup(benchmark::State& state)
{
    const DictionaryLocation* at = where(state);
    if (!at)
        return;
    Dictionary d;
    d.open(QStringLiteral("bench"), *at);
    const int n = records();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.lookup(source(i)));
        i = (i + 7919) % (2 * n); // half of the keys are missing
    }
}
BENCHMARK(BM_Lookup)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

std::atomic<int> fresh{0};

// A new source learned: the lookup that precedes it and the store.
void BM_StoreNewTranslation(benchmark::State& state)
{
    const DictionaryLocation* at = where(state);
    if (!at)
        return;
    Dictionary d;
    d.open(QStringLiteral("bench"), *at);
    for (auto _ : state) {
        const QString text = QStringLiteral("Fresh source %1").arg(fresh++);
        d.lookup(text);
        if (!d.store(text, QStringLiteral("Neu")))
            state.SkipWithError(qPrintable(d.lastError()));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StoreNewTranslation)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreNewTranslation)->Arg(0)->Arg(1)->Threads(8)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
