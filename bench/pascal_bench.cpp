// The Pascal colourer's speed on a generated unit of several MB, and the time
// to open a 20,000-line unit as a page's document.
#include "core/pascal/PasConversion.h"

#include <benchmark/benchmark.h>

#include <string>

#ifdef LINGROVE_BENCH_DOCUMENT
#include "model/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#endif

namespace {

using namespace lingrove;

// A unit of the usual mix: class declaration with properties, methods with
// statements, strings, numbers, comments of the three forms and some 8-bit text.
std::string generatedUnit(int lines)
{
    std::string s = "unit Generated;\r\n\r\ninterface\r\n\r\nuses\r\n  Windows, SysUtils, Classes;\r\n\r\n";
    int n = 7;
    for (int k = 0; n < lines; ++k) {
        const std::string id = std::to_string(k);
        const std::string block =
            "type\r\n"
            "  TItem" + id + " = class(TObject)\r\n"
            "  private\r\n"
            "    FName: string; { the caption shown to the user }\r\n"
            "    FCount: Integer;\r\n"
            "  public\r\n"
            "    property Name: string read FName write FName;\r\n"
            "    property Count: Integer read FCount write FCount default 10;\r\n"
            "  end;\r\n"
            "\r\n"
            "procedure TItem" + id + ".Update(Value: Integer);\r\n"
            "var\r\n"
            "  I: Integer;\r\n"
            "begin\r\n"
            "  // count the entries\r\n"
            "  for I := 0 to Value - 1 do\r\n"
            "    FCount := FCount + I * $1F + 3.5E2;\r\n"
            "  (* M\xe4rz: show the caption *)\r\n"
            "  FName := 'Gr\xf6\xdf" "e des Fensters: ' + IntToStr(FCount) + #13#10;\r\n"
            "  if FName <> '' then ShowMessage('Caption ''' + FName + ''' changed');\r\n"
            "end;\r\n"
            "\r\n";
        s += block;
        n += 22;
    }
    s += "end.\r\n";
    return s;
}

void BM_Colourer(benchmark::State& state)
{
    const std::string unit = generatedUnit(static_cast<int>(state.range(0)));
    pascal::TPasConversion conversion;
    conversion.setColourScheme(pascal::ColourScheme::classic());
    std::size_t out = 0;
    for (auto _ : state) {
        std::string rtf = conversion.convert(unit);
        out = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unit.size()));
    state.counters["input_MB"] = static_cast<double>(unit.size()) / 1e6;
    state.counters["rtf_MB"] = static_cast<double>(out) / 1e6;
}
// 150,000 lines: about 4 MB.
BENCHMARK(BM_Colourer)->Arg(10000)->Arg(150000)->Unit(benchmark::kMillisecond);

void BM_Tokenize(benchmark::State& state)
{
    const std::string unit = generatedUnit(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bool inProperty = false;
        auto tokens = pascal::tokenize(unit, inProperty);
        benchmark::DoNotOptimize(tokens.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unit.size()));
}
BENCHMARK(BM_Tokenize)->Arg(150000)->Unit(benchmark::kMillisecond);

#ifdef LINGROVE_BENCH_DOCUMENT
// Open a unit as a page does: decode, colour, load the RTF into the page's document.
void BM_OpenPage(benchmark::State& state)
{
    const std::string unit = generatedUnit(static_cast<int>(state.range(0)));
    const QByteArray bytes(unit.data(), static_cast<qsizetype>(unit.size()));
    const bool layout = state.range(1) != 0;
    for (auto _ : state) {
        QTextDocument document;
        document.setTextWidth(800);
        model::loadPascalSource(document, bytes, pascal::ColourScheme::classic());
        if (layout) // lay out the whole document, as scrolling to its end would
            benchmark::DoNotOptimize(document.documentLayout()->documentSize());
        benchmark::DoNotOptimize(document.blockCount());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
    state.counters["MB"] = static_cast<double>(unit.size()) / 1e6;
}
BENCHMARK(BM_OpenPage)->Args({20000, 0})->Args({20000, 1})->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv)
{
#ifdef LINGROVE_BENCH_DOCUMENT
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
