// Switching bands must stay quick with a large store (under 50 ms with 200,000 spots), and showing
// one new spot must cost the same however many rows are listed.
#include "QtBenchmarkMain.h"
#include "dxcc/CountryFileLoader.h"
#include "filters/SpotFacts.h"
#include "settings/MemorySettings.h"
#include "spots/ExtraColumns.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "../tests/support/ManualClock.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTableView>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using quendra::MemorySettings;
using quendra::SpotStore;
using quendra::ViewDxClusterFrame;
using quendra::testing::ManualClock;

const char16_t* const kFrequencies[] = {u"14025.0", u"7012.5", u"144300", u"50110", u"432100",
                                        u"3510", u"28074", u"1296100"};

std::u16string spotText(const char16_t* author, int number) {
    std::u16string station = u"ST";
    for (char ch : std::to_string(number))
        station += static_cast<char16_t>(ch);
    return u"1234Z DX de " + std::u16string(author) + u": " + kFrequencies[number % 8] + u" " +
           station + u" CW 599 up 2";
}

// Fixed iteration counts: filling a 200,000-spot store takes a while, so each figure builds its
// view once instead of once per trial run.
struct ShownView {
    explicit ShownView(int stored, bool extras = false) {
        if (extras)
            resolveCountries();
        fill(stored);
        view.setSpotStore(&store);
        view.resize(800, 600);
        view.show();
        view.refillList();
        QApplication::processEvents();
    }
    void fill(int stored) {
        store.clearSpots();
        for (int i = 0; i < stored; ++i)
            store.parseTimedSpot(spotText(u"FILLER", i), u"GB7NODE");
    }
    void select(const char* band) {
        const auto items = view.bandTree()->findItems(QString::fromLatin1(band),
                                                       Qt::MatchExactly | Qt::MatchRecursive);
        view.bandTree()->setCurrentItem(items.first());
    }
    // Every optional column shown, and countries worked out as spots are stored, from the
    // installed country file (package hamradio-files) when there is one.
    void resolveCountries() {
        settings.WriteProfileString(u"DXCC", u"CTYFILE", u"/usr/share/hamradio-files/cty.dat");
        countries = quendra::loadCountries(settings);
        resolver = std::make_unique<quendra::CountryResolver>(countries.lookup);
        store.setResolver(resolver.get());
        view.model().setCountries(&countries.lookup);
        view.model().setClock([this] { return quendra::secondsSince1970(clock.now()); });
        for (int i = 0; i < quendra::kExtraColumnCount; ++i)
            view.setExtraColumnShown(static_cast<quendra::ExtraColumn>(i), true);
    }
    MemorySettings settings;
    ManualClock clock;
    SpotStore store{settings, clock};
    ViewDxClusterFrame view{settings};
    quendra::LoadedCountries countries;
    std::unique_ptr<quendra::CountryResolver> resolver;
};

// Band switches alternate between "All" (every spot listed) and "HF" (three of eight).
void BM_SwitchBand(benchmark::State& state) {
    ShownView shown(static_cast<int>(state.range(0)));
    bool all = false;
    for (auto _ : state) {
        shown.select(all ? "All" : "HF");
        QApplication::processEvents();
        all = !all;
    }
    state.counters["rows_listed_last"] = shown.view.spotList()->model()->rowCount();
}
BENCHMARK(BM_SwitchBand)->Arg(200'000)->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_RefillAll(benchmark::State& state) {
    ShownView shown(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        shown.view.refillList();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefillAll)->Arg(200'000)->Iterations(100)->Unit(benchmark::kMillisecond);

// The same with all seven optional columns shown: their cells read the details worked out when
// each spot was stored, so the refill and the paint must cost about what the classic list costs.
void BM_RefillAllExtraColumns(benchmark::State& state) {
    ShownView shown(static_cast<int>(state.range(0)), true);
    if (shown.countries.lookup.entities().empty()) {
        state.SkipWithError("no country file (package hamradio-files)");
        return;
    }
    for (auto _ : state) {
        shown.view.refillList();
        QApplication::processEvents();
    }
    const QAbstractItemModel* model = shown.view.spotList()->model();
    state.SetLabel(model->data(model->index(0, quendra::SpotListModel::columnOf(quendra::ExtraColumn::Country)))
                       .toString()
                       .toStdString());
}
BENCHMARK(BM_RefillAllExtraColumns)->Arg(200'000)->Iterations(100)->Unit(benchmark::kMillisecond);

// Baseline: the least a refill can do, one bare pass over the store collecting the rows of the
// band, with no model and no view.
void BM_BaselineBareStoreLoop(benchmark::State& state) {
    ShownView shown(static_cast<int>(state.range(0)));
    const quendra::BandRange range = shown.view.currentRange();
    for (auto _ : state) {
        std::vector<int> rows;
        const int count = shown.store.count();
        for (int index = 0; index < count; ++index) {
            if (range.contains(shown.store.frequencyKHzAt(index)))
                rows.push_back(index);
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_BaselineBareStoreLoop)->Arg(200'000)->Iterations(500)->Unit(benchmark::kMillisecond);

// One new spot shown at the bottom of a list of `rows` rows (every stored spot is listed under
// "All"). Only addSpot is timed, with the repaint that follows it when the second argument is 1.
// New spots are stamped long ago, so one expiry run between batches takes exactly them away and
// the list, refilled then, stays at its size.
void BM_AddSpot(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const bool paint = state.range(1) != 0;
    ShownView shown(rows);
    constexpr int kBatch = 64;
    constexpr int kLongAgo = 10'000;
    int next = 0;
    shown.clock.advance(-kLongAgo);
    for (auto _ : state) {
        const int index = shown.store.parseTimedSpot(spotText(u"NEWCOMER", next), u"GB7NODE");
        const auto start = std::chrono::steady_clock::now();
        shown.view.addSpot(index);
        if (paint)
            QApplication::processEvents();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(spent.count());
        if (++next == kBatch) {
            shown.clock.advance(kLongAgo);
            shown.store.expireSpots();
            shown.view.refillList();
            QApplication::processEvents();
            shown.clock.advance(-kLongAgo);
            next = 0;
        } else if (!paint) {
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_AddSpot)->ArgsProduct({{10, 200'000}, {0, 1}})->Iterations(512)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
