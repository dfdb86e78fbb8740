// Throughput of the quoted-literal scanner on a generated unit of about 8 MB.
#include "core/scanner/Scanner.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace lingrove::scanner;

// A unit mixing declarations, statements with literals, comments and
// form-like property lines, about target bytes long.
std::string makeUnit(std::size_t target)
{
    static const char* const lines[] = {
        "unit Generated;",
        "interface",
        "uses Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs;",
        "  Caption := 'Save file';",
        "  ShowMessage('It''s done: ' + IntToStr(Count) + ' files in ' + Dir + '\\');",
        "  Label1.Caption := 'Gr'#246#223'e';  { don't touch }",
        "  Font.Name := 'MS Sans Serif'; Font.Size := 8;",
        "  if Value = '12340' then Edit1.Text := '19.04.98' else Edit1.Text := '-';",
        "  // nothing quoted on this line at all, just a comment of moderate length",
        "  Filter := 'Text files (*.txt)|*.txt|All files (*.*)|*.*'; DefaultExt := '.txt';",
        "  for I := 0 to List.Count - 1 do List[I] := List[I] + '';",
        "end;",
    };
    std::string unit;
    unit.reserve(target + 256);
    for (std::size_t i = 0; unit.size() < target; ++i) {
        unit += lines[i % (sizeof lines / sizeof *lines)];
        unit += "\r\n";
    }
    return unit;
}

std::vector<std::string_view> splitLines(const std::string& text)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        out.push_back(line);
        start = end + 1;
    }
    return out;
}

ScanFilters benchFilters(bool acceptAll)
{
    ScanFilters f;
    if (acceptAll)
        f.accept = {true, true, true, true, true, true, true};
    // Cheap stand-ins for the locale and font tests, so that the figure is the scanner's.
    f.kinds.isFontName = [](std::string_view t) { return t == "MS Sans Serif"; };
    f.kinds.isNumber = [](std::string_view t) {
        return !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
    };
    f.kinds.isDateTime = [](std::string_view t) { return t.size() == 8 && t[2] == '.' && t[5] == '.'; };
    return f;
}

void scanLines(benchmark::State& state, bool formatted, bool acceptAll)
{
    const std::string unit = makeUnit(8u << 20);
    const auto lines = splitLines(unit);
    const ScanFilters filters = benchFilters(acceptAll);
    std::vector<std::string> target;
    for (auto _ : state) {
        target.clear();
        int n = 0;
        for (std::string_view line : lines) {
            ++n;
            if (formatted)
                appendEntries(line, n, filters, target);
            else
                forEachAcceptedLiteral(line, filters,
                                       [&](int, int, std::string_view text) { target.emplace_back(text); });
        }
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(unit.size()));
    state.counters["entries"] = static_cast<double>(target.size());
}

void BM_ScanFormatted(benchmark::State& state) { scanLines(state, true, false); }
void BM_ScanBare(benchmark::State& state) { scanLines(state, false, false); }
void BM_ScanAcceptAll(benchmark::State& state) { scanLines(state, true, true); }

void BM_ParseEntry(benchmark::State& state)
{
    const std::string unit = makeUnit(1u << 20);
    const auto entries = scanText(unit, benchFilters(true));
    std::size_t bytes = 0;
    for (const auto& e : entries)
        bytes += e.size();
    for (auto _ : state)
        for (const auto& e : entries)
            benchmark::DoNotOptimize(parseEntry(e));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

} // namespace

BENCHMARK(BM_ScanFormatted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAcceptAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseEntry)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
