// The cost of storing a spot must not grow with the number already stored, and expiry must take
// any batch in one pass. Next to each store figure stands the same work with the duplicate test
// done by walking every stored spot, which is what the index saves.
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "../tests/support/ManualClock.h"
#include "SpotTexts.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using quendra::MemorySettings;
using quendra::Spot;
using quendra::SpotStore;
using quendra::testing::ManualClock;

struct FilledStore {
    explicit FilledStore(int stored) {
        for (int i = 0; i < stored; ++i)
            store.parseTimedSpot(spotText(u"FILLER", i), u"GB7NODE");
    }
    MemorySettings settings;
    ManualClock clock;
    SpotStore store{settings, clock};
};

// Baseline: the same parser, then a duplicate test that compares the new spot with every stored
// one, and a plain vector of records.
class LinearScanStore {
public:
    // The fillers are known to differ, so they go in without the walk that would make filling
    // quadratic.
    explicit LinearScanStore(int stored) {
        for (int i = 0; i < stored; ++i)
            spots_.push_back(parse(spotText(u"FILLER", i), u"GB7NODE"));
    }

    int parseTimedSpot(std::u16string_view text, std::u16string_view dxNode) {
        auto spot = parse(text, dxNode);
        if (!spot)
            return -1;
        for (const auto& stored : spots_) {
            if (stored->author == spot->author && stored->frequency == spot->frequency &&
                stored->station == spot->station)
                return -1;
        }
        spots_.push_back(std::move(spot));
        return static_cast<int>(spots_.size()) - 1;
    }

    void dropNewest(int count) { spots_.resize(spots_.size() - static_cast<std::size_t>(count)); }

private:
    std::unique_ptr<Spot> parse(std::u16string_view text, std::u16string_view dxNode) {
        const int parsed = parser_.parseTimedSpot(text, dxNode);
        if (parsed < 0)
            return nullptr;
        // The scratch store is emptied at once, so its record may be taken rather than copied.
        auto spot = std::make_unique<Spot>(std::move(const_cast<Spot&>(parser_.spotAt(parsed))));
        parser_.clearSpots();
        return spot;
    }


    MemorySettings settings_;
    ManualClock clock_;
    SpotStore parser_{settings_, clock_};
    std::vector<std::unique_ptr<Spot>> spots_;
};

// Fixed iteration counts: a 200,000-spot store is built once per figure instead of once per trial
// run, which keeps the whole program well under a minute.
constexpr int kBatch = 256;
// Dropping the newest records is cheap, so the walk's store is reset far more often and stays
// within a few spots of its size.
constexpr int kScanBatch = 8;

std::vector<std::u16string> newcomerTexts() {
    std::vector<std::u16string> texts;
    for (int i = 0; i < kBatch; ++i)
        texts.push_back(spotText(u"NEWCOMER", i));
    return texts;
}

void BM_ParseNewSpot(benchmark::State& state) {
    FilledStore filled(static_cast<int>(state.range(0)));
    const std::vector<std::u16string> texts = newcomerTexts();
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
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseNewSpot)->Arg(10)->Arg(200'000)->Iterations(500'000);

void BM_BaselineLinearScanNewSpot(benchmark::State& state) {
    LinearScanStore store(static_cast<int>(state.range(0)));
    const std::vector<std::u16string> texts = newcomerTexts();
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.parseTimedSpot(texts[next], u"GB7NODE"));
        if (++next == kScanBatch) {
            state.PauseTiming();
            store.dropNewest(kScanBatch);
            next = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineLinearScanNewSpot)->Arg(10)->Iterations(500'000);
BENCHMARK(BM_BaselineLinearScanNewSpot)->Arg(200'000)->Iterations(512);

void BM_ParseDuplicate(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    FilledStore filled(stored);
    const std::u16string text = spotText(u"FILLER", stored / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(filled.store.parseTimedSpot(text, u"OTHERNODE"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseDuplicate)->Arg(10)->Arg(200'000)->Iterations(1'000'000);

// The duplicate sits in the middle of the store, so the walk covers half of it.
void BM_BaselineLinearScanDuplicate(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    LinearScanStore store(stored);
    const std::u16string text = spotText(u"FILLER", stored / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.parseTimedSpot(text, u"OTHERNODE"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineLinearScanDuplicate)->Arg(10)->Iterations(1'000'000);
BENCHMARK(BM_BaselineLinearScanDuplicate)->Arg(200'000)->Iterations(256);

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
BENCHMARK(BM_ExpiryWithNothingToRemove)->Arg(10)->Arg(200'000)->Iterations(5'000'000);

}  // namespace

BENCHMARK_MAIN();
