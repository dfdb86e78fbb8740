// Get strings on a generated unit of 400,000 entries shown in a page's
// document: every line scanned and the string list model filled. And Locate
// of the last entry (search from its line, the selected look, the lookup).
#include "model/Dictionary.h"
#include "model/TranslationSession.h"
#include "model/Workspace.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

using namespace lingrove;

// Seven entries in every eight lines under the German locale: the number,
// the date and the separator of line 4 are dropped by the filters.
constexpr int kEntriesPerPattern = 7;

QString generatedUnit(int entries)
{
    static const char* const pattern[] = {
        "  Caption := 'Save file';",
        "  ShowMessage('It''s done: ' + IntToStr(Count) + ' files');",
        "  // a comment without any literal on it, of moderate length",
        "  Label1.Caption := 'Gr'#246#223'e';",
        "  if Value = '12340' then Edit1.Text := '19.04.98' else Edit1.Text := '-';",
        "  Result := Count * 2 + Offset;",
        "  Filter := 'Text files (*.txt)|*.txt|All files (*.*)|*.*';",
        "end;",
    };
    const int lines = (entries + kEntriesPerPattern - 1) / kEntriesPerPattern * 8;
    QStringList out;
    out.reserve(lines);
    for (int i = 0; i < lines; ++i)
        out << QString::fromLatin1(pattern[i % 8]);
    return out.join(u'\n');
}

struct Page {
    explicit Page(int entries)
    {
        document.setPlainText(generatedUnit(entries));
        // The working table, as a project has it open.
        QString error;
        if (model::listTables().isEmpty() && !model::createTable(QStringLiteral("Words"), model::kDefaultFieldSize, &error))
            qFatal("%s", qPrintable(error));
        if (!workspace.dictionary().open(QStringLiteral("Words"), &error))
            qFatal("%s", qPrintable(error));
    }
    QTextDocument document;
    model::Workspace workspace;
    model::TranslationSession session{workspace};
};

void BM_GetStrings(benchmark::State& state)
{
    Page page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        page.session.collect(&page.document);
        benchmark::DoNotOptimize(page.session.list().rowCount());
    }
    state.counters["entries"] = page.session.list().entryCount();
    state.counters["lines"] = page.document.blockCount();
}
BENCHMARK(BM_GetStrings)->Arg(400000)->Unit(benchmark::kMillisecond);

void BM_LocateLastEntry(benchmark::State& state)
{
    Page page(static_cast<int>(state.range(0)));
    page.session.collect(&page.document);
    const int last = page.session.list().entryCount() - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(page.session.locate(&page.document, last));
    state.counters["entries"] = page.session.list().entryCount();
}
BENCHMARK(BM_LocateLastEntry)->Arg(400000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
