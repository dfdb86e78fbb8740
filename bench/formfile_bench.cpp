// Form-file conversion speed on a large generated form (several MB): many
// components with captions, hints, string lists, image data, collections,
// sets and a few floating-point values.
#include "formfile/FormFile.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace lingrove::formfile;

namespace {

std::string generateText(int components)
{
    std::string t = "object MainForm: TMainForm\r\n  Left = 192\r\n  Top = 107\r\n"
                    "  Caption = 'Gro\xDF" "e Testform'\r\n  Font.Name = 'MS Sans Serif'\r\n"
                    "  Font.Style = [fsBold, fsItalic]\r\n";
    std::string hex;
    for (int i = 0; i < 1024; ++i) {
        hex += "0123456789ABCDEF"[(i * 7) & 15];
        hex += "0123456789ABCDEF"[(i * 13) & 15];
    }
    for (int i = 0; i < components; ++i) {
        const std::string n = std::to_string(i);
        t += "  object Panel" + n + ": TPanel\r\n";
        t += "    Left = " + std::to_string(i % 600) + "\r\n    Top = " + std::to_string(-i) + "\r\n";
        t += "    Width = " + std::to_string(40000 + i) + "\r\n";
        t += "    Caption = 'Schaltfl\xE4" "che Nummer " + n + " ist '#39'aktiv'#39'!'#13#10'Zweite Zeile'\r\n";
        t += "    Hint = 'Klicken Sie hier, um den Vorgang " + n + " zu starten. Don'#39't panic.'\r\n";
        t += "    Anchors = [akLeft, akTop, akRight]\r\n    Visible = True\r\n    OnClick = Panel" + n + "Click\r\n";
        if (i % 10 == 0)
            t += "    Zoom = 1.25\r\n";
        t += "    Items.Strings = (\r\n";
        for (int k = 0; k < 8; ++k)
            t += "      'Eintrag " + std::to_string(k) + " von Liste " + n + " mit \xFC" "ber 30 Zeichen'\r\n";
        t.resize(t.size() - 2);
        t += ")\r\n";
        t += "    Columns = <\r\n";
        for (int k = 0; k < 3; ++k)
            t += "      item\r\n        Caption = 'Spalte " + std::to_string(k) + "'\r\n        Width = "
                 + std::to_string(64 + k * 100) + "\r\n      end\r\n";
        t.resize(t.size() - 2);
        t += ">\r\n";
        if (i % 4 == 0) {
            t += "    Picture.Data = {";
            for (std::size_t k = 0; k < hex.size(); k += 64)
                t += "\r\n      " + hex.substr(k, 64);
            t += "}\r\n";
        }
        t += "  end\r\n";
    }
    t += "end\r\n";
    return t;
}

struct Data {
    std::string text;
    std::string binary;
    Data()
    {
        text = generateText(6000);
        TextToBinary(text, binary);
    }
};

const Data& data()
{
    static const Data d;
    return d;
}

void BM_BinaryToText(benchmark::State& state)
{
    const std::string& binary = data().binary;
    std::string out;
    for (auto _ : state) {
        out.clear();
        BinaryToText(binary, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(binary.size()));
    state.counters["input_MB"] = static_cast<double>(binary.size()) / 1e6;
}

void BM_TextToBinary(benchmark::State& state)
{
    const std::string& text = data().text;
    std::string out;
    for (auto _ : state) {
        out.clear();
        TextToBinary(text, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.counters["input_MB"] = static_cast<double>(text.size()) / 1e6;
}

void BM_ResourceToText(benchmark::State& state)
{
    std::string resource;
    TextToResource(data().text, resource);
    std::string out;
    for (auto _ : state) {
        out.clear();
        ResourceToText(resource, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(resource.size()));
}

void BM_TextToResource(benchmark::State& state)
{
    const std::string& text = data().text;
    std::string out;
    for (auto _ : state) {
        out.clear();
        TextToResource(text, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

} // namespace

BENCHMARK(BM_BinaryToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResourceToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToResource)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
