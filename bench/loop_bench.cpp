// Get strings on a generated 20,000-line unit shown in a page of the main
// window: every line scanned, the scratch list, the string list and the
// Changed column filled. And Locate of an entry near the end of the page.
#include "app/MainWindow.h"
#include "platform/UserInterface.h"
#include "translation/TranslationLoop.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

using namespace lingrove;

QString generatedUnit(int lines)
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
    QStringList out;
    out.reserve(lines);
    for (int i = 0; i < lines; ++i)
        out << QString::fromLatin1(pattern[i % 8]);
    return out.join('\n');
}

struct Window {
    Window(int lines)
    {
        window.CreateNewPage("unit1.pas");
        window.activeFileEditor()->setPlainText(generatedUnit(lines));
    }
    platform::ScriptedUi ui;
    app::MainWindow window;
};

void BM_GetStrings(benchmark::State& state)
{
    Window w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        w.window.Getstrings1Click();
        benchmark::DoNotOptimize(w.window.StringEdit->count());
    }
    state.counters["entries"] = w.window.StringEdit->count() - 1;
}
BENCHMARK(BM_GetStrings)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_LocateLastEntry(benchmark::State& state)
{
    Window w(static_cast<int>(state.range(0)));
    w.window.Getstrings1Click();
    for (auto _ : state) {
        w.window.StringEdit->setCurrentRow(w.window.StringEdit->count() - 2);
        w.window.translationLoop->ReplaceDialog1Find();
    }
}
BENCHMARK(BM_LocateLastEntry)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("LINGROVE_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
