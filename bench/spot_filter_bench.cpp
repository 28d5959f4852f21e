// Deciding whether a spot is shown and whether it is watched must cost the same with 1,000 spots
// stored as with 200,000: the filter and the watch list look only at the one spot's resolved
// facts, never at the store. The watch list holds 1,000 entries of every kind. Each run goes
// round the stored spots, as refiltering the list does; with fewer than about a thousand distinct
// spots the branch predictor learns them and the figures flatter.
#include "alerts/WatchList.h"
#include "dxcc/CountryLookup.h"
#include "filters/RepeatCollapser.h"
#include "filters/SpotFacts.h"
#include "filters/SpotFilter.h"
#include "modes/BandPlan.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace quendra;

constexpr std::array<std::string_view, 6> kCountries{"Zedland", "Ypsiland", "Xenia", "Wayland", "Vespia", "Ulmia"};
constexpr std::array<Mode, 5> kModes{Mode::CW, Mode::USB, Mode::FT8, Mode::RTTY, Mode::LSB};

std::u16string callOf(std::size_t n) {
    // ZZ0AAA ... with every letter and digit position varying, so buckets fill evenly.
    std::u16string call{static_cast<char16_t>(u'Q' + n % 10), static_cast<char16_t>(u'A' + n / 10 % 26),
                        static_cast<char16_t>(u'0' + n / 260 % 10)};
    for (std::size_t rest = n / 2600, i = 0; i < 3; ++i, rest /= 26)
        call += static_cast<char16_t>(u'A' + rest % 26);
    return call;
}

std::vector<SpotFacts> storedFacts(std::size_t count) {
    std::vector<SpotFacts> spots(count);
    const auto bands = static_cast<std::size_t>(amateurBands().size());
    for (std::size_t i = 0; i < count; ++i) {
        SpotFacts& facts = spots[i];
        facts.station = callOf(i * 7919 % 1'000'003);
        facts.band = static_cast<int>(i % bands);
        facts.mode = kModes[i % kModes.size()];
        facts.modeGroup = modeGroup(facts.mode);
        facts.dxContinent = static_cast<Continent>(1 + i % 7);
        facts.spotterContinent = static_cast<Continent>(1 + i / 7 % 7);
        facts.skimmer = i % 3 == 0;
        facts.country = kCountries[i % kCountries.size()];
        facts.countryPrefix = "ZZ";
    }
    return spots;
}

// 700 calls, 200 patterns (a tenth starting with a wildcard), 90 countries and continents with
// band or mode options, all spread so that few match.
WatchList thousandEntries() {
    WatchList list;
    const auto add = [&](std::u16string text) { list.add(*parseWatchEntry(text).entry); };
    for (std::size_t i = 0; i < 700; ++i)
        add(callOf(i * 104729 % 1'000'003 + 500'000));
    for (std::size_t i = 0; i < 200; ++i) {
        std::u16string call = callOf(i * 15485863 % 1'000'003);
        if (i % 10 == 0)
            add(u"*" + call.substr(3) + u"/P");
        else
            add(call.substr(0, 3) + (i % 2 ? u"?" : u"") + call.substr(4, 1) + u"*");
    }
    const std::u16string bandsOption = u" bands=6m,4m";
    for (std::size_t i = 0; i < 90; ++i) {
        if (i % 9 == 0)
            add(u"AN modes=JT9");
        else
            add(u"Zedland" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + bandsOption);
    }
    for (std::size_t i = 0; i < 10; ++i)
        add(u"Ypsiland modes=AM");
    return list;
}

SpotFilter typicalFilter() {
    SpotFilter filter;
    filter.setBands(parseBandList(u"40m,20m,15m"));
    filter.setModeGroups(parseModeGroupList(u"CW,Digital"));
    filter.setShowSkimmers(false);
    filter.setText(u"q");
    return filter;
}

void BM_FilterAndWatchPerSpot(benchmark::State& state) {
    const std::vector<SpotFacts> spots = storedFacts(static_cast<std::size_t>(state.range(0)));
    const WatchList watch = thousandEntries();
    const SpotFilter filter = typicalFilter();
    std::size_t next = 0;
    for (auto _ : state) {
        const SpotFacts& facts = spots[next];
        benchmark::DoNotOptimize(filter.matches(facts));
        benchmark::DoNotOptimize(watch.firstMatch(facts));
        next = next + 1 == spots.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilterAndWatchPerSpot)->Arg(1'000)->Arg(20'000)->Arg(200'000);

// The same spot tested against a watch list of growing size: the indexes keep it flat.
void BM_WatchPerSpotByListSize(benchmark::State& state) {
    const std::vector<SpotFacts> spots = storedFacts(1'000);
    WatchList watch;
    const WatchList full = thousandEntries();
    for (int i = 0; i < state.range(0); ++i)
        watch.add(full.entry(i));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(watch.firstMatch(spots[next]));
        next = next + 1 == spots.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WatchPerSpotByListSize)->Arg(10)->Arg(1'000);

// Baseline: the same 1,000 entries tried one after another, as a list without indexes would.
bool matchesOne(const WatchEntry& entry, const SpotFacts& facts) {
    if (!entry.acceptsBandAndMode(facts))
        return false;
    switch (entry.kind) {
    case WatchEntry::Kind::Call:
        return entry.target == facts.station;
    case WatchEntry::Kind::Pattern:
        return matchesCallPattern(entry.target, facts.station);
    case WatchEntry::Kind::Country:
        return std::equal(facts.country.begin(), facts.country.end(), entry.target.begin(), entry.target.end(),
                          [](char a, char16_t b) { return static_cast<char16_t>(a) == b; });
    case WatchEntry::Kind::Continent:
        return entry.continent == facts.dxContinent;
    }
    return false;
}

void BM_BaselineWatchScanPerSpot(benchmark::State& state) {
    const std::vector<SpotFacts> spots = storedFacts(static_cast<std::size_t>(state.range(0)));
    const WatchList watch = thousandEntries();
    std::size_t next = 0;
    for (auto _ : state) {
        int found = -1;
        for (int i = 0; i < watch.size() && found < 0; ++i) {
            if (matchesOne(watch.entry(i), spots[next]))
                found = i;
        }
        benchmark::DoNotOptimize(found);
        next = next + 1 == spots.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineWatchScanPerSpot)->Arg(1'000)->Arg(200'000);

// Collapsing a new spot into rows, with that many rows already there.
void BM_CollapsePerSpot(benchmark::State& state) {
    const std::vector<SpotFacts> spots = storedFacts(static_cast<std::size_t>(state.range(0)));
    RepeatCollapser collapser(1800);
    std::vector<RepeatSpot> repeats;
    for (const SpotFacts& facts : spots)
        repeats.push_back({facts.station, facts.band, facts.mode, u"ZY1AB", 0, u"node"});
    collapser.rebuild(repeats);
    std::size_t next = 0;
    int index = static_cast<int>(spots.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(collapser.add(index++, repeats[next]));
        next = next + 1 == repeats.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CollapsePerSpot)->Arg(1'000)->Arg(20'000)->Arg(200'000);

}  // namespace

BENCHMARK_MAIN();
