// Resolving a call must cost the same with a two-entity file as with the full country file, and
// loading the full file must be quick enough to do at start-up and on every replacement.
#include "dxcc/CountryLookup.h"

#include <benchmark/benchmark.h>

#include <array>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using quendra::CountryLookup;
using quendra::parseCountryFile;

constexpr const char* kInstalledFile = "/usr/share/hamradio-files/cty.dat";

constexpr std::string_view kSmallFile =
    "Zedland:  14:  28:  EU:  51.00:  -10.00:  -1.0:  ZZ:\n"
    "    ZZ,ZZ9(15),=ZZ1AB/LH;\n"
    "Ypsiland:  05:  08:  NA:  37.60:  91.87:  5.0:  ZY:\n"
    "    ZY,ZY0A,=ZZ2CALL;\n";

// A mix as spots bring them: plain calls, portable forms, an exact call, and unknown ones.
constexpr std::array<std::string_view, 12> kCalls{
    "DL1ABC", "W1AW/P", "JA1XYZ", "KH6/W1AW", "VK2ABC/3", "ZZ1AB/LH",
    "G4ABC",  "ZY0ABC", "4U1A",   "QQ1AB",    "EA8/DL1ABC/P", "dl1abc/mm"};

std::optional<std::string> installedText() {
    std::ifstream in(kInstalledFile, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void lookupCalls(benchmark::State& state, const CountryLookup& lookup) {
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.find(kCalls[next]));
        next = next + 1 == kCalls.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_LookupSmallFile(benchmark::State& state) {
    const CountryLookup lookup(std::move(*parseCountryFile(kSmallFile).file));
    lookupCalls(state, lookup);
}
BENCHMARK(BM_LookupSmallFile);

void BM_LookupInstalledFile(benchmark::State& state) {
    const auto text = installedText();
    if (!text) {
        state.SkipWithError("no installed country file (package hamradio-files)");
        return;
    }
    const CountryLookup lookup(std::move(*parseCountryFile(*text).file));
    lookupCalls(state, lookup);
}
BENCHMARK(BM_LookupInstalledFile);

void BM_LoadInstalledFile(benchmark::State& state) {
    const auto text = installedText();
    if (!text) {
        state.SkipWithError("no installed country file (package hamradio-files)");
        return;
    }
    for (auto _ : state) {
        auto result = parseCountryFile(*text);
        benchmark::DoNotOptimize(CountryLookup(std::move(*result.file)));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text->size()));
}
BENCHMARK(BM_LoadInstalledFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
