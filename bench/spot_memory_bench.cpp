// What a stored spot costs in memory, and proof that the store stays bounded over a long contest:
// expiry must hold it at the spots of the last MAXTIME seconds, however long the traffic runs.
// Every heap block of this program is counted, so the figures are bytes really held.
#include "dxcc/CountryFileLoader.h"
#include "filters/SpotFacts.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "../tests/support/ManualClock.h"
#include "SpotTexts.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long long> gLiveBytes{0};

// Each block carries its size in a header so that frees can be counted too.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* countedAlloc(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    gLiveBytes += static_cast<long long>(size);
    return block + kHeader;
}

void countedFree(void* pointer) {
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    gLiveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return countedAlloc(size); }
void* operator new[](std::size_t size) { return countedAlloc(size); }
void operator delete(void* pointer) noexcept { countedFree(pointer); }
void operator delete[](void* pointer) noexcept { countedFree(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { countedFree(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { countedFree(pointer); }

namespace {

using quendra::MemorySettings;
using quendra::SpotStore;
using quendra::testing::ManualClock;

constexpr int kStored = 200'000;

std::vector<std::u16string> fillerTexts(int count) {
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        texts.push_back(spotText(u"FILLER", i));
    return texts;
}

// The second argument 1 sets a country resolver first (the installed country file, loaded before
// the count starts), as the program does: then every spot also keeps its resolved details.
void BM_MemoryPerStoredSpot(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    const bool resolved = state.range(1) != 0;
    double perSpot = 0.0;
    for (auto _ : state) {
        MemorySettings settings;
        ManualClock clock;
        SpotStore store(settings, clock);
        settings.WriteProfileString(u"DXCC", u"CTYFILE", u"/usr/share/hamradio-files/cty.dat");
        const quendra::LoadedCountries countries = resolved ? quendra::loadCountries(settings) : quendra::LoadedCountries{};
        const quendra::CountryResolver resolver(countries.lookup);
        if (resolved) {
            if (countries.lookup.entities().empty()) {
                state.SkipWithError("no country file (package hamradio-files)");
                return;
            }
            store.setResolver(&resolver);
        }
        const std::vector<std::u16string> texts = fillerTexts(stored);
        const long long before = gLiveBytes.load();
        for (const auto& text : texts)
            store.parseTimedSpot(text, u"GB7NODE");
        perSpot = static_cast<double>(gLiveBytes.load() - before) / stored;
    }
    state.counters["bytes_per_spot"] = perSpot;
}
BENCHMARK(BM_MemoryPerStoredSpot)->ArgsProduct({{kStored}, {0, 1}})->Iterations(1)->Unit(benchmark::kMillisecond);

// Baseline: the announcement line itself, kept as one string per spot in a vector.
void BM_BaselineMemoryPerLineText(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    double perLine = 0.0;
    for (auto _ : state) {
        const long long before = gLiveBytes.load();
        const std::vector<std::u16string> texts = fillerTexts(stored);
        perLine = static_cast<double>(gLiveBytes.load() - before) / stored;
        benchmark::DoNotOptimize(texts.data());
    }
    state.counters["bytes_per_spot"] = perLine;
}
BENCHMARK(BM_BaselineMemoryPerLineText)->Arg(kStored)->Iterations(1)->Unit(benchmark::kMillisecond);

// An hour of contest traffic on a fake clock: ten new spots a second. The cluster view runs the
// store's expiry on every new spot, so the simulation does too. `expire` false is the baseline: the
// same traffic into a store whose expiry never runs, showing what unbounded growth looks like.
constexpr int kSpotsPerSecond = 10;
constexpr int kSeconds = 3600;

struct HourFigures {
    int spotsAtHalfHour = 0;
    int spotsAtHour = 0;
    long long bytesAtHalfHour = 0;
    long long bytesAtHour = 0;
    long long peakBytes = 0;
};

HourFigures simulateHour(bool expire) {
    MemorySettings settings;
    ManualClock clock;
    HourFigures figures;
    const long long before = gLiveBytes.load();
    {
        SpotStore store(settings, clock);
        int number = 0;
        for (int second = 1; second <= kSeconds; ++second) {
            clock.advance(1);
            for (int i = 0; i < kSpotsPerSecond; ++i) {
                store.parseTimedSpot(spotText(u"CONTEST", number++), u"GB7NODE");
                if (expire)
                    store.expireSpots();
            }
            const long long held = gLiveBytes.load() - before;
            figures.peakBytes = std::max(figures.peakBytes, held);
            if (second == kSeconds / 2) {
                figures.spotsAtHalfHour = store.count();
                figures.bytesAtHalfHour = held;
            }
            if (second == kSeconds) {
                figures.spotsAtHour = store.count();
                figures.bytesAtHour = held;
            }
        }
    }
    return figures;
}

void reportHour(benchmark::State& state, const HourFigures& figures) {
    state.counters["spots_30min"] = figures.spotsAtHalfHour;
    state.counters["spots_60min"] = figures.spotsAtHour;
    state.counters["KiB_30min"] = static_cast<double>(figures.bytesAtHalfHour) / 1024.0;
    state.counters["KiB_60min"] = static_cast<double>(figures.bytesAtHour) / 1024.0;
    state.counters["KiB_peak"] = static_cast<double>(figures.peakBytes) / 1024.0;
}

void BM_HourOfContestTraffic(benchmark::State& state) {
    HourFigures figures;
    for (auto _ : state)
        figures = simulateHour(true);
    // Default MAXTIME 1800: the store must hold the last half hour's spots and no more.
    if (figures.spotsAtHour > (1800 + 1) * kSpotsPerSecond)
        state.SkipWithError("the store kept spots older than MAXTIME");
    reportHour(state, figures);
}
BENCHMARK(BM_HourOfContestTraffic)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BaselineHourWithoutExpiry(benchmark::State& state) {
    HourFigures figures;
    for (auto _ : state)
        figures = simulateHour(false);
    reportHour(state, figures);
}
BENCHMARK(BM_BaselineHourWithoutExpiry)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
