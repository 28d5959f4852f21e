// The cost of storing a spot must not grow with the number already stored, expiry must take any
// batch in one pass, and a stored spot should stay small.
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "../tests/support/ManualClock.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
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

std::u16string spotText(const char16_t* author, int number) {
    std::u16string station = u"ST";
    for (char ch : std::to_string(number))
        station += static_cast<char16_t>(ch);
    return u"1234Z DX de " + std::u16string(author) + u": " +
           std::u16string(number % 2 ? u"14025.0" : u"144300.5") + u" " + station + u" CW 599 up 2";
}

struct FilledStore {
    explicit FilledStore(int stored) {
        for (int i = 0; i < stored; ++i)
            store.parseTimedSpot(spotText(u"FILLER", i), u"GB7NODE");
    }
    MemorySettings settings;
    ManualClock clock;
    SpotStore store{settings, clock};
};

constexpr int kBatch = 256;

void BM_ParseNewSpot(benchmark::State& state) {
    FilledStore filled(static_cast<int>(state.range(0)));
    std::vector<std::u16string> texts;
    for (int i = 0; i < kBatch; ++i)
        texts.push_back(spotText(u"NEWCOMER", i));
    // New spots are stamped long ago, so one expiry run between batches takes exactly them away
    // and the store stays at its size.
    filled.clock.advance(-10'000);
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(filled.store.parseTimedSpot(texts[next], u"GB7NODE"));
        if (++next == kBatch) {
            state.PauseTiming();
            filled.clock.advance(10'000);
            filled.store.expireSpots();
            filled.clock.advance(-10'000);
            next = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ParseNewSpot)->Arg(10)->Arg(200'000);

void BM_ParseDuplicate(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    FilledStore filled(stored);
    const std::u16string text = spotText(u"FILLER", stored / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(filled.store.parseTimedSpot(text, u"OTHERNODE"));
}
BENCHMARK(BM_ParseDuplicate)->Arg(10)->Arg(200'000);

void BM_ExpireHalfOfLargeStore(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MemorySettings settings;
        ManualClock clock;
        SpotStore store(settings, clock);
        for (int i = 0; i < stored; ++i) {
            // Old and young records alternate, so every other one goes.
            clock.set(ManualClock::kStart - (i % 2 ? 5000 : 0));
            store.parseTimedSpot(spotText(u"FILLER", i), u"GB7NODE");
        }
        clock.set(ManualClock::kStart);
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(store.expireSpots());
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(spent.count());
    }
}
BENCHMARK(BM_ExpireHalfOfLargeStore)->Arg(200'000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ExpiryWithNothingToRemove(benchmark::State& state) {
    FilledStore filled(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(filled.store.expireSpots());
}
BENCHMARK(BM_ExpiryWithNothingToRemove)->Arg(10)->Arg(200'000);

void BM_MemoryPerStoredSpot(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    double perSpot = 0.0;
    for (auto _ : state) {
        MemorySettings settings;
        ManualClock clock;
        SpotStore store(settings, clock);
        std::vector<std::u16string> texts;
        texts.reserve(static_cast<std::size_t>(stored));
        for (int i = 0; i < stored; ++i)
            texts.push_back(spotText(u"FILLER", i));
        const long long before = gLiveBytes.load();
        for (const auto& text : texts)
            store.parseTimedSpot(text, u"GB7NODE");
        perSpot = static_cast<double>(gLiveBytes.load() - before) / stored;
    }
    state.counters["bytes_per_spot"] = perSpot;
}
BENCHMARK(BM_MemoryPerStoredSpot)->Arg(200'000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
