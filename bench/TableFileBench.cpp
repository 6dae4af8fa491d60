// What a hostile table file costs before it is refused (or, padded with comments, read):
// each was a crash, seconds of work or hundreds of megabytes. The files are made once in
// a scratch folder; the time includes reading them from the page cache.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "interop/TableFiles.h"

namespace {

std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("table-file-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

std::string Exported()
{
    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) table.angles[k] = table.speeds[k] = k + 1;
    const std::string path = (Folder() / "good.fll").string();
    TableRefusal refusal;
    ExportTableFile(path, table, refusal);
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Hostile(const std::string& name)
{
    static const std::string good = Exported();
    std::string text = good;
    if (name == "chain.fll")
        text.replace(text.find("rule: if "), 9, "rule: if " + Repeated("left is blocked and ", 60000));
    else if (name == "sum.fll")
        text.replace(text.find("term: S1 Constant"), 17, "term: S1 Function " + Repeated("1+", 20000));
    else if (name == "nine-rules.fll")
        text += "  rule: if " + Repeated("left is free and ", 400000) + "front is free then angle is S1\n";
    else if (name == "padded.fll")
        text = Repeated("# " + std::string(97, '-') + "\n", 500000) + good;
    else if (name == "wide.fis") {
        text = "[System]\nName='wide'\nType='sugeno'\nNumInputs=20000\nNumOutputs=1\nNumRules=1\n";
        for (int i = 1; i <= 20000; ++i)
            text += "[Input" + std::to_string(i) + "]\nName='in" + std::to_string(i) +
                    "'\nRange=[0 1]\nNumMFs=1\nMF1='a':'trimf',[0 0.5 1]\n";
        text += "[Output1]\nName='out'\nRange=[0 1]\nNumMFs=1\nMF1='c':'constant',[1]\n[Rules]\n" +
                Repeated("1 ", 20000) + ", 1 (1) : 1\n";
    }
    const std::string path = (Folder() / name).string();
    std::ofstream(path) << text;
    return path;
}

void BM_LoadTableFile(benchmark::State& state, const std::string& name)
{
    const std::string path = Hostile(name);
    InferenceTable table;
    TableRefusal refusal;
    for (auto _ : state) benchmark::DoNotOptimize(LoadTableFile(path, table, refusal));
    if (!refusal.english.empty()) state.SetLabel(refusal.english.substr(refusal.english.find(name)));
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK_CAPTURE(BM_LoadTableFile, exported, std::string("good.fll"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTableFile, chain, std::string("chain.fll"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTableFile, sum, std::string("sum.fll"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTableFile, nine_rules, std::string("nine-rules.fll"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTableFile, wide, std::string("wide.fis"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTableFile, padded, std::string("padded.fll"))->Unit(benchmark::kMillisecond);

// Debian's libfuzzylite.so exports a main of its own: this one must be the program's.
BENCHMARK_MAIN();
