// The settings store on a large file, and the file writer.
#include "core/io/Files.h"
#include "platform/KeyStore.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>

namespace {

using namespace lingrove;

// A store file of n keys with two values each.
QByteArray storeFile(int keys)
{
    QByteArray bytes = "; Lingrove key store\n[Software\\Bench]\n";
    for (int i = 0; i < keys; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes += "[Software\\Bench\\Key" + n + "]\nName=s:C:\\Program Files\\Borland\\Delphi " + n + "\nNumber=i:" + n
                 + "\n";
    }
    return bytes;
}

// Start of the program: the store is made and a few values are read.
void BM_OpenSettings(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.txt");
    const QByteArray bytes = storeFile(static_cast<int>(state.range(0)));
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    for (auto _ : state) {
        platform::KeyStore store(file);
        for (int i = 0; i < 20; ++i)
            benchmark::DoNotOptimize(store.readString("software\\bench\\key" + QString::number(i * 997), "name"));
    }
    state.counters["keys"] = static_cast<double>(state.range(0));
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_OpenSettings)->Arg(50000)->Unit(benchmark::kMillisecond);

// One changed value written back: the whole file through the writer.
void BM_WriteSetting(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.txt");
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(storeFile(static_cast<int>(state.range(0))));
    }
    platform::KeyStore store(file);
    int n = 0;
    for (auto _ : state)
        store.writeInteger("Software\\Bench", "Counter", ++n);
    state.counters["keys"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_WriteSetting)->Arg(100)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_ReplaceFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("Unit1.pas").toStdString();
    const std::string data(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state)
        io::replaceFile(file, data);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ReplaceFile)->Arg(1 << 10)->Arg(1 << 20)->Arg(50 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
