// Pages of the main window on large files: open and save a unit, open and
// save a form, build the project tree. Files live in a temporary folder.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "core/formfile/FormFile.h"
#include "model/Workspace.h"
#include "ui/pages/PagesFeature.h"
#include "ui/pages/ProjectTree.h"
#include "ui/shell/UserInterface.h"
#include "ui/translation/TranslationFeature.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <memory>
#include <string>

namespace {

using namespace lingrove;

void writeFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string generatedUnit(int lines)
{
    std::string s = "unit Big;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\n";
    for (int n = 6; n < lines; n += 6) {
        const std::string id = std::to_string(n);
        s += "procedure Show" + id + ";\r\nbegin\r\n";
        s += "  ShowMessage('Datei ' + IntToStr(" + id + ") + ' wurde ge\xF6" "ffnet.'); { Hinweis }\r\n";
        s += "  Caption := 'Don''t close window " + id + "';\r\n";
        s += "end;\r\n\r\n";
    }
    return s + "end.\r\n";
}

// A form with n buttons inside a panel: about 9 text lines per button.
std::string generatedFormText(int buttons)
{
    std::string s = "object BigForm: TBigForm\r\n  Caption = 'Gro\xDF" "es Formular'\r\n"
                    "  object Panel1: TPanel\r\n    Align = alClient\r\n";
    for (int k = 0; k < buttons; ++k) {
        const std::string id = std::to_string(k);
        s += "    object Button" + id + ": TButton\r\n      Left = " + std::to_string(k % 700) +
             "\r\n      Top = " + std::to_string(k / 700) + "\r\n      Caption = 'Schaltfl\xE4" "che " + id +
             "'\r\n      Hint = 'Click button " + id + "'\r\n      TabOrder = " + id +
             "\r\n      OnClick = ButtonClick\r\n    end\r\n";
    }
    return s + "  end\r\nend\r\n";
}

class Project {
public:
    Project()
    {
        qputenv("LINGROVE_HOME", dir.path().toUtf8());
        qputenv("LINGROVE_KEYSTORE", (dir.path() + "/registry.txt").toUtf8());
        program = std::make_unique<app::Application>();
        model::Project p;
        p.name = "Bench";
        p.delphiProjectFile = dir.path() + "/Big.dpr";
        program->workspace().setProject(p);
    }
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    ui::PagesFeature& pages() { return program->pages(); }

    QTemporaryDir dir;
    ui::ScriptedUi ui;
    std::unique_ptr<app::Application> program;
};

// The longest time the event loop was not run while the window was busy:
// how long the window stood frozen.
class FreezeWatch {
public:
    FreezeWatch()
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.restart());
        });
    }
    void start()
    {
        clock_.start();
        timer_.start();
    }
    // The longest gap since start, the end of the work included.
    qint64 stop()
    {
        timer_.stop();
        return std::max(longest_, clock_.elapsed());
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

// Opening a unit on a page of the shown window; "freeze_ms" is the longest
// time the window was not painted meanwhile.
void BM_OpenUnitPage(benchmark::State& state)
{
    Project p;
    writeFile(p.path("Big.pas"), generatedUnit(static_cast<int>(state.range(0))));
    p.program->window().show();
    QCoreApplication::processEvents();
    qint64 freeze = 0;
    for (auto _ : state) {
        FreezeWatch watch;
        watch.start();
        p.pages().openPage("big.pas");
        QCoreApplication::processEvents();   // the page is shown
        freeze = std::max(freeze, watch.stop());
        benchmark::DoNotOptimize(p.pages().activeFileEditor()->document()->blockCount());
        state.PauseTiming();
        p.pages().closeAllPages();
        state.ResumeTiming();
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
    state.counters["freeze_ms"] = static_cast<double>(freeze);
}
BENCHMARK(BM_OpenUnitPage)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_SaveUnitPage(benchmark::State& state)
{
    Project p;
    writeFile(p.path("Big.pas"), generatedUnit(static_cast<int>(state.range(0))));
    p.pages().openPage("big.pas");
    for (auto _ : state)
        benchmark::DoNotOptimize(p.pages().saveActivePage());
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_SaveUnitPage)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_OpenFormPage(benchmark::State& state)
{
    Project p;
    std::string form;
    formfile::TextToResource(generatedFormText(static_cast<int>(state.range(0))), form);
    writeFile(p.path("Big.dfm"), form);
    for (auto _ : state) {
        p.pages().openPage("big.dfm");
        benchmark::DoNotOptimize(p.pages().activeFileEditor()->document()->blockCount());
        state.PauseTiming();
        p.pages().closeAllPages();
        state.ResumeTiming();
    }
    state.counters["lines"] = static_cast<double>(state.range(0) * 8 + 6);
}
BENCHMARK(BM_OpenFormPage)->Arg(2500)->Unit(benchmark::kMillisecond);

void BM_SaveFormPage(benchmark::State& state)
{
    Project p;
    std::string form;
    formfile::TextToResource(generatedFormText(static_cast<int>(state.range(0))), form);
    writeFile(p.path("Big.dfm"), form);
    p.pages().openPage("big.dfm");
    for (auto _ : state)
        benchmark::DoNotOptimize(p.pages().saveActivePage());
    state.counters["lines"] = static_cast<double>(state.range(0) * 8 + 6);
}
BENCHMARK(BM_SaveFormPage)->Arg(2500)->Unit(benchmark::kMillisecond);

// A project source naming n units, half of them with a form.
void BM_ProjectTree(benchmark::State& state)
{
    Project p;
    const int units = static_cast<int>(state.range(0));
    std::string dpr = "program Big;\r\n\r\nuses\r\n  Forms,\r\n";
    for (int k = 0; k < units; ++k) {
        const std::string name = "Unit" + std::to_string(k);
        dpr += "  " + name + " in '" + name + ".pas',\r\n";
        writeFile(p.path(QString::fromStdString(name + ".pas")), "unit " + name + ";\r\nend.\r\n");
        if (k % 2 == 0)
            writeFile(p.path(QString::fromStdString(name + ".DFM")), "");
    }
    dpr += "  Last;\r\n\r\nbegin\r\n  Application.Run;\r\nend.\r\n";
    writeFile(p.path("Big.dpr"), dpr);
    for (auto _ : state) {
        p.pages().reloadProjectSource();
        benchmark::DoNotOptimize(p.pages().tree()->topLevelItemCount());
    }
    state.counters["units"] = units;
}
BENCHMARK(BM_ProjectTree)->Arg(500)->Unit(benchmark::kMillisecond);

// The unit of bench_loop: seven entries in every eight lines.
std::string loopUnit(int entries)
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
    std::string s;
    for (int i = 0, lines = (entries + 6) / 7 * 8; i < lines; ++i)
        s += std::string(pattern[i % 8]) + "\r\n";
    return s;
}

// Get strings in the window: the entries of a page of 400,000 literals into
// the string list and its Changed column.
void BM_GetStringsInWindow(benchmark::State& state)
{
    Project p;
    writeFile(p.path("Loop.pas"), loopUnit(static_cast<int>(state.range(0))));
    p.pages().openPage("loop.pas");
    for (auto _ : state) {
        p.program->translation().collect();
        QCoreApplication::processEvents();
    }
    state.counters["entries"] = p.program->translation().session().list().entryCount();
}
BENCHMARK(BM_GetStringsInWindow)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Locate on the last entry of a shown page of n lines: the page scrolls there,
// selects the literal and is painted.
void BM_LocateAtTheEnd(benchmark::State& state)
{
    Project p;
    writeFile(p.path("Loop.pas"), loopUnit(static_cast<int>(state.range(0)) / 8 * 7));
    p.program->window().show();
    p.pages().openPage("loop.pas");
    QCoreApplication::processEvents();
    ui::TranslationFeature& t = p.program->translation();
    t.collect();
    const int last = t.session().list().entryCount() - 1;
    for (auto _ : state) {
        state.PauseTiming();
        t.collect(last);
        p.pages().activeFileEditor()->moveCursor(QTextCursor::Start);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        t.locate();
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
    state.counters["at_line"] = p.pages().activeFileEditor()->textCursor().blockNumber() + 1;
}
BENCHMARK(BM_LocateAtTheEnd)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
