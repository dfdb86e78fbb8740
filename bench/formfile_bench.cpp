// Form-file conversion speed on a large generated form (several MB): many
// components with captions, hints (some Cyrillic, as #nnnn codes), string
// lists, image data, collections, sets and a few floating-point values.
//
// In the same run, Free Pascal's converter (ObjectTextToBinary and
// ObjectBinaryToText of its Classes unit, Delphi mode) works on the same
// files: a tiny program is compiled with fpc at start, when fpc is installed.
// The closing lines give the speed-up over it (the goal is at least 10x), and
// the start time of lingrove-cli (the goal is under 10 ms).
#include "core/formfile/FormDocument.h"
#include "core/formfile/FormFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace lingrove::formfile;
namespace fs = std::filesystem;

extern char** environ;

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
        t += "    Hint = \r\n      'Klicken Sie hier, um den Vorgang " + n + " zu starten. Don'#39't panic, it is ' +\r\n"
             "      'only a test.'\r\n";
        if (i % 3 == 0)
            t += "    HelpKeyword = #1050#1085#1086#1087#1082#1072' " + n + "'\r\n";
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
    std::string binary;   // form data from TPF0
    std::string resource; // with the resource header
    fs::path dir;         // the same files for Free Pascal
    fs::path peer;        // its compiled converter, empty without fpc
    Data()
    {
        text = generateText(6000);
        TextToBinary(text, binary);
        TextToResource(text, resource);
        dir = fs::temp_directory_path() / ("lingrove-bench-formfile-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "form.txt", std::ios::binary) << text;
        std::ofstream(dir / "form.bin", std::ios::binary) << binary;
        std::ofstream(dir / "peer.pas") << "program peer;\n{$mode delphi}\nuses Classes, SysUtils;\n"
                                           "var src, dst: TMemoryStream; i, n: Integer; t0: QWord;\nbegin\n"
                                           "  n := StrToInt(ParamStr(3));\n"
                                           "  src := TMemoryStream.Create; src.LoadFromFile(ParamStr(2));\n"
                                           "  dst := TMemoryStream.Create;\n  t0 := GetTickCount64;\n"
                                           "  for i := 1 to n do begin\n    src.Position := 0; dst.Clear;\n"
                                           "    if ParamStr(1) = 'txt2bin' then ObjectTextToBinary(src, dst)\n"
                                           "    else ObjectBinaryToText(src, dst);\n  end;\n"
                                           "  WriteLn(GetTickCount64 - t0);\nend.\n";
        const std::string compile = "cd '" + dir.string() + "' && fpc -Mdelphi -O2 peer.pas >fpc.log 2>&1";
        if (std::system("command -v fpc >/dev/null 2>&1") == 0 && std::system(compile.c_str()) == 0)
            peer = dir / "peer";
    }
    ~Data() { fs::remove_all(dir); }
};

Data& data()
{
    static Data d;
    return d;
}

// Milliseconds per conversion, by name, for the closing comparison.
std::map<std::string, double>& results()
{
    static std::map<std::string, double> r;
    return r;
}

template <typename Work>
void timed(benchmark::State& state, const char* name, std::size_t bytes, Work work)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        work();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    results()[name] = ms / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_TextToBinary(benchmark::State& state)
{
    std::string out;
    timed(state, "text->binary", data().text.size(), [&] {
        out.clear();
        TextToResource(data().text, out);
        benchmark::DoNotOptimize(out.data());
    });
}

void BM_BinaryToPageText(benchmark::State& state)
{
    timed(state, "binary->page text", data().resource.size(), [&] {
        const FormDocument doc = FormDocument::load(data().resource);
        benchmark::DoNotOptimize(doc.pageText().data());
    });
}

void BM_BinaryToText(benchmark::State& state)
{
    std::string out;
    timed(state, "binary->text", data().binary.size(), [&] {
        out.clear();
        BinaryToText(data().binary, out);
        benchmark::DoNotOptimize(out.data());
    });
}

void BM_ApplyUnedited(benchmark::State& state)
{
    const FormDocument doc = FormDocument::load(data().resource);
    timed(state, "apply", doc.pageText().size(), [&] { benchmark::DoNotOptimize(doc.apply(doc.pageText()).data()); });
}

// Runs a program to its end; false when it could not be started or failed.
bool run(const std::vector<std::string>& args, const char* out = nullptr)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out ? out : "/dev/null", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Free Pascal converting the same file: the peer times its own loop.
void fpcPeer(benchmark::State& state, const char* mode, const char* file, const char* name)
{
    if (data().peer.empty()) {
        state.SkipWithError("fpc is not installed");
        return;
    }
    const int repeat = 5;
    const std::string out = (data().dir / "peer.out").string();
    double ms = 0;
    for (auto _ : state) {
        if (!run({data().peer.string(), mode, (data().dir / file).string(), std::to_string(repeat)}, out.c_str())) {
            state.SkipWithError("the Free Pascal converter failed");
            return;
        }
        std::ifstream in(out);
        double total = 0;
        in >> total;
        ms = total / repeat;
        state.SetIterationTime(ms / 1000);
    }
    results()[name] = ms;
}

void BM_FreePascal_TextToBinary(benchmark::State& state) { fpcPeer(state, "txt2bin", "form.txt", "fpc text->binary"); }
void BM_FreePascal_BinaryToText(benchmark::State& state) { fpcPeer(state, "bin2txt", "form.bin", "fpc binary->text"); }

fs::path sibling(const char* name)
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    return n > 0 ? fs::path(std::string(self, static_cast<std::size_t>(n))).parent_path() / name : fs::path(name);
}

// lingrove-cli converting a small form, start to end.
void BM_CliStart(benchmark::State& state)
{
    const fs::path cli = sibling("lingrove-cli");
    const std::string in = (data().dir / "small.dfm").string();
    std::string small;
    TextToResource("object Form1: TForm1\r\n  Caption = 'Hello'\r\nend\r\n", small);
    std::ofstream(in, std::ios::binary) << small;
    const std::string out = (data().dir / "small.txt").string();
    timed(state, "cli start", 0, [&] {
        if (!run({cli.string(), "dfm2txt", in, out}))
            state.SkipWithError("lingrove-cli did not run");
    });
}

} // namespace

BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreePascal_TextToBinary)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_BinaryToPageText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreePascal_BinaryToText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ApplyUnedited)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliStart)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto& r = results();
    auto ratio = [&](const char* ours, const char* theirs) {
        if (r.count(ours) && r.count(theirs) && r[ours] > 0)
            std::printf("%-18s %8.2f ms, Free Pascal %8.2f ms: %.1fx\n", ours, r[ours], r[theirs], r[theirs] / r[ours]);
    };
    std::printf("\nForm of %.1f MB text, %.1f MB binary:\n", static_cast<double>(data().text.size()) / 1e6,
                static_cast<double>(data().binary.size()) / 1e6);
    ratio("text->binary", "fpc text->binary");
    ratio("binary->page text", "fpc binary->text");
    ratio("binary->text", "fpc binary->text");
    if (r.count("cli start"))
        std::printf("lingrove-cli dfm2txt on a small form: %.2f ms per call (goal: under 10 ms)\n", r["cli start"]);
    return 0;
}
