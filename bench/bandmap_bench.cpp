// The band map's painting: the whole pane with 2,000 spots on its band (zoomed out, so the calls
// crowd and only the newest have room, and zoomed in to 20 kHz), and what a new spot costs, from
// the list adding its row to the pane painted again, on a busy band and a quiet one. The baseline
// is the same pane with no spots: the scale and the band plan alone.
#include "QtBenchmarkMain.h"
#include "bandmap/BandMapCanvas.h"
#include "platform/RefreshPacing.h"
#include "settings/MemorySettings.h"
#include "spots/Clock.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace quendra;

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::u16string spotLine(int i, double kHz) {
    char line[128];
    std::snprintf(line, sizeof line, "DX de ZZ1AA:     %7.1f  ZZ%dAB       CW 599                         1234Z", kHz, i);
    const std::string text(line);
    return {text.begin(), text.end()};
}

// A store, the cluster view listing it (not shown, as behind the map on another tab) and the map
// shown on 20 m beside it.
struct MapBench {
    MemorySettings settings;
    SystemClock clock;
    SpotStore store{settings, clock};
    ViewDxClusterFrame view{settings};
    std::unique_ptr<BandMapCanvas> canvas;
    std::mt19937 random{3};
    int next = 0;

    explicit MapBench(int spots) {
        settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1'000'000);
        view.setSpotStore(&store);
        for (int i = 0; i < spots; ++i)
            store.parseColumnSpot(spotLine(next++, frequency()), u"bench");
        view.refillList();
        canvas = std::make_unique<BandMapCanvas>(
            BandMapCanvas::Parts{store, view.model(), clock, 1800, {}, {}});
        canvas->resize(260, 700);
        canvas->setBand({14000, 14350}, 1);
        canvas->show();
        QApplication::processEvents();
    }
    ~MapBench() { view.setSpotStore(nullptr); }

    double frequency() { return 14000.0 + std::uniform_int_distribution<int>(0, 3499)(random) * 0.1; }

    void addSpot() {
        const int index = store.parseColumnSpot(spotLine(next++, frequency()), u"bench");
        view.showStoredSpots({index}, false);
    }
};

void BM_PaintWholePane(benchmark::State& state) {
    MapBench bench(static_cast<int>(state.range(0)));
    if (state.range(1) > 0) {
        // Zoomed in: 20 kHz across the pane.
        for (int i = 0; i < 200 && bench.canvas->bandWindow().span() > 20.5; ++i) {
            QWheelEvent zoom(QPointF(200, 350), bench.canvas->mapToGlobal(QPointF(200, 350)), {}, QPoint(0, 120),
                             Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(bench.canvas.get(), &zoom);
        }
    }
    for (auto _ : state)
        bench.canvas->repaint();
    state.counters["spots_on_band"] = bench.canvas->spots().size();
    state.counters["calls_without_room"] = bench.canvas->unplacedCount();
    state.counters["kHz_across"] = bench.canvas->bandWindow().span();
}
BENCHMARK(BM_PaintWholePane)->ArgNames({"spots", "zoomed"})->Args({0, 0})->Args({2000, 0})->Args({2000, 1})
    ->Unit(benchmark::kMicrosecond);

// From the list adding the new spot's row (at once, as at a refresh) to the map painted again.
// Reported apart: the list adding the row, and the map reading it, placing the calls again and
// painting what changed (at its next turn of the event loop, as the map catches up once a frame).
void BM_NewSpot(benchmark::State& state) {
    refresh_pacing::setCoalescing(false);
    MapBench bench(static_cast<int>(state.range(0)));
    double listing = 0;
    double mapping = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        bench.addSpot();
        const double placed = threadSeconds();
        QApplication::processEvents();
        mapping += threadSeconds() - placed;
        listing += placed - start;
    }
    refresh_pacing::setCoalescing(true);
    state.counters["spots_on_band"] = bench.canvas->spots().size();
    state.counters["list_us"] = listing * 1e6 / static_cast<double>(state.iterations());
    state.counters["map_us"] = mapping * 1e6 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_NewSpot)->ArgName("spots")->Arg(20)->Arg(2000)->Iterations(500)->Unit(benchmark::kMicrosecond);

// The same new spots with the map hidden: what the list costs without it.
void BM_NewSpotMapHidden(benchmark::State& state) {
    refresh_pacing::setCoalescing(false);
    MapBench bench(static_cast<int>(state.range(0)));
    bench.canvas->hide();
    for (auto _ : state) {
        bench.addSpot();
        QApplication::processEvents();
    }
    refresh_pacing::setCoalescing(true);
}
BENCHMARK(BM_NewSpotMapHidden)->ArgName("spots")->Arg(2000)->Iterations(500)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
