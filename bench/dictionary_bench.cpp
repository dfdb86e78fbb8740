// Lookup (one per located entry) and store (one per committed translation)
// on a table of 20000 records, in a program folder of its own.
#include "model/Dictionary.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace lingrove::model;

namespace {

constexpr int kRecords = 20000;

struct Fixture {
    QTemporaryDir home;
    Dictionary dictionary;

    Fixture()
    {
        qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
        QString error;
        if (!createTable("bench", 50, &error) || !dictionary.open("bench", &error))
            qFatal("%s", qPrintable(error));
        // Filled in one transaction of a connection of its own: the benchmark
        // measures use, not set-up.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench-fill");
            db.setDatabaseName(tableFilePath("bench"));
            db.open();
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare("INSERT INTO Dictionary (Source, Dest1) VALUES (?, ?)");
            for (int i = 0; i < kRecords; ++i) {
                insert.addBindValue(QStringLiteral("Source text number %1").arg(i));
                insert.addBindValue(QStringLiteral("Text %1").arg(i));
                insert.exec();
            }
            insert.finish();
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase("bench-fill");
        if (dictionary.count() != kRecords)
            qFatal("filling the table failed");
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_Lookup(benchmark::State& state)
{
    Dictionary& d = fixture().dictionary;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.lookup(QStringLiteral("Source &text number %1").arg(i)));
        i = (i + 7919) % (2 * kRecords);   // half of the keys are missing
    }
}
BENCHMARK(BM_Lookup);

void BM_StoreNewTranslation(benchmark::State& state)
{
    Dictionary& d = fixture().dictionary;
    int i = 0;
    for (auto _ : state) {
        d.lookup(QStringLiteral("Fresh source %1").arg(i));
        benchmark::DoNotOptimize(d.store(QStringLiteral("Fresh source %1").arg(i), QStringLiteral("Neu")));
        ++i;
    }
}
BENCHMARK(BM_StoreNewTranslation);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
