// Similar matches on a table of 100,000 records. The texts are generated:
// words of letters drawn with the frequencies of English text, used with a
// Zipf distribution (a few words very often, most rarely), one to ten words
// to a text, some with a final colon, full stop or ellipsis, and one text in
// five a variant of another (a word changed, added or dropped), as a
// translation memory of one product holds them. The keys looked up are
// variants of stored texts, so that most lookups find similar matches.
#include "model/Dictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

using namespace lingrove::model;

namespace {

constexpr int kRecords = 100000;

class TextMaker {
public:
    explicit TextMaker(unsigned seed) : random_(seed)
    {
        // Letter frequencies of English text, per mille.
        const char* letters = "etaoinshrdlcumwfgypbvkjxqz";
        const int weights[] = {127, 91, 82, 75, 70, 67, 63, 61, 60, 43, 40, 28, 28,
                               24, 24, 22, 20, 20, 19, 15, 10, 8, 2, 2, 1, 1};
        letter_ = std::discrete_distribution<int>(std::begin(weights), std::end(weights));
        letters_ = letters;
        std::uniform_int_distribution<int> length(2, 10);
        for (int i = 0; i < 30000; ++i) {
            QString word;
            const int n = length(random_);
            for (int k = 0; k < n; ++k)
                word += QLatin1Char(letters_[letter_(random_)]);
            words_ << word;
        }
        std::vector<double> zipf;
        for (int i = 1; i <= words_.size(); ++i)
            zipf.push_back(1.0 / i);
        word_ = std::discrete_distribution<int>(zipf.begin(), zipf.end());
    }

    QString word() { return words_[word_(random_)]; }

    QString text()
    {
        const int n = std::uniform_int_distribution<int>(1, 10)(random_);
        QStringList parts;
        for (int i = 0; i < n; ++i)
            parts << word();
        QString s = parts.join(QLatin1Char(' '));
        s[0] = s[0].toUpper();
        const int end = std::uniform_int_distribution<int>(0, 9)(random_);
        if (end == 0)
            s += QStringLiteral("...");
        else if (end == 1)
            s += QLatin1Char(':');
        else if (end == 2)
            s += QLatin1Char('.');
        return s;
    }

    // text with one word changed, added or dropped, or one letter changed.
    QString variant(const QString& text)
    {
        QStringList parts = text.split(QLatin1Char(' '));
        const int at = std::uniform_int_distribution<int>(0, int(parts.size()) - 1)(random_);
        switch (std::uniform_int_distribution<int>(0, 3)(random_)) {
        case 0:
            parts[at] = word();
            break;
        case 1:
            parts.insert(at, word());
            break;
        case 2:
            if (parts.size() > 1) {
                parts.removeAt(at);
                break;
            }
            [[fallthrough]];
        default: {
            QString& w = parts[at];
            if (w.isEmpty())
                w = QStringLiteral("x");
            else
                w[std::uniform_int_distribution<int>(0, int(w.size()) - 1)(random_)] = QLatin1Char('x');
        }
        }
        return parts.join(QLatin1Char(' '));
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

private:
    std::mt19937 random_;
    std::discrete_distribution<int> letter_;
    std::discrete_distribution<int> word_;
    const char* letters_ = nullptr;
    QStringList words_;
};

// Writes kRecords records into table name through a connection of its own,
// in one transaction (the set-up is not measured).
QStringList fill(const QString& name)
{
    TextMaker maker(13);
    QStringList sources;
    QSet<QString> seen;
    while (sources.size() < kRecords) {
        const QString s = sources.size() % 5 == 4 ? maker.variant(sources[maker.below(int(sources.size()))])
                                                  : maker.text();
        if (!seen.contains(s)) {
            seen.insert(s);
            sources << s;
        }
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench-fill");
        db.setDatabaseName(tableFilePath(name));
        db.open();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO Dictionary (Source, Dest1) VALUES (?, ?)");
        for (const QString& s : std::as_const(sources)) {
            insert.addBindValue(s);
            insert.addBindValue(s.toUpper());
            insert.exec();
        }
        insert.finish();
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase("bench-fill");
    return sources;
}

struct Fixture {
    QTemporaryDir home;
    Dictionary dictionary;
    QStringList keys;
    QStringList sources;
    QString plain;   // a copy of the table made before the index was added

    Fixture()
    {
        qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
        QString error;
        const QByteArray own = qgetenv("LINGROVE_BENCH_TABLE");
        if (!own.isEmpty()) {
            // A copy: opening it may add the index.
            const QFileInfo file(QString::fromLocal8Bit(own));
            QFile::copy(file.absoluteFilePath(), tableFilePath(file.completeBaseName()));
            if (!dictionary.open(file.completeBaseName(), &error))
                qFatal("%s", qPrintable(error));
            dictionary.forEachRecord([&](const QString& s, const Proposals&) { sources << s; });
        } else {
            if (!createTable("bench", 50, &error))
                qFatal("%s", qPrintable(error));
            sources = fill("bench");
            plain = QStringLiteral("plain");
            QFile::copy(tableFilePath("bench"), tableFilePath(plain));
            if (!dictionary.open("bench", &error))
                qFatal("%s", qPrintable(error));
        }
        if (!dictionary.hasSimilarIndex())
            qFatal("the table has no trigram index");
        TextMaker maker(99);
        for (int i = 0; i < 1000; ++i)
            keys << maker.variant(sources[maker.below(int(sources.size()))]);
        // The first similar lookup reads how often each trigram occurs
        // (measured on its own below).
        dictionary.similar(keys[0], 1);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_SimilarMatches(benchmark::State& state)
{
    Fixture& f = fixture();
    int i = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const QString& key = f.keys[i++ % f.keys.size()];
        const Proposals exact = f.dictionary.lookup(key);
        const auto similar = f.dictionary.similarMatches(key, exact);
        found += similar.empty() ? 0 : 1;
        benchmark::DoNotOptimize(similar);
    }
    state.counters["found"] = benchmark::Counter(double(found) / double(state.iterations()));
}
BENCHMARK(BM_SimilarMatches)->Unit(benchmark::kMicrosecond);

// The first similar lookup after the table was opened: it reads the
// number of sources of each trigram first.
void BM_FirstSimilarLookup(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString name = f.dictionary.tableName();
    for (auto _ : state) {
        state.PauseTiming();
        Dictionary dictionary;
        dictionary.open(name);
        state.ResumeTiming();
        benchmark::DoNotOptimize(dictionary.similar(f.keys[1], 5));
    }
}
BENCHMARK(BM_FirstSimilarLookup)->Unit(benchmark::kMillisecond)->Iterations(5);

// A table without the index (one that cannot be written and was made
// elsewhere): every record of a fitting length read and scored.
void BM_SimilarMatchesWithoutIndex(benchmark::State& state)
{
    Fixture& f = fixture();
    if (f.plain.isEmpty()) {
        state.SkipWithError("no table without the index");
        return;
    }
    const QString name = QStringLiteral("plain-readonly");
    const QString path = tableFilePath(name);
    QFile::remove(path);
    QFile::copy(tableFilePath(f.plain), path);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    Dictionary dictionary;
    if (!dictionary.open(name) || dictionary.hasSimilarIndex()) {
        state.SkipWithError("the copy did not open without the index");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        const QString& key = f.keys[i++ % f.keys.size()];
        benchmark::DoNotOptimize(dictionary.similarMatches(key, dictionary.lookup(key)));
    }
}
BENCHMARK(BM_SimilarMatchesWithoutIndex)->Unit(benchmark::kMillisecond)->Iterations(50);

// Opening a table made without the index: the index is built then, once.
void BM_OpenBuildsIndex(benchmark::State& state)
{
    Fixture& f = fixture();
    if (f.plain.isEmpty()) {
        state.SkipWithError("no table without the index");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString name = QStringLiteral("plain-%1").arg(round++);
        QFile::copy(tableFilePath(f.plain), tableFilePath(name));
        state.ResumeTiming();
        Dictionary dictionary;
        if (!dictionary.open(name) || !dictionary.hasSimilarIndex())
            state.SkipWithError("the index was not built");
    }
}
BENCHMARK(BM_OpenBuildsIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
