// The operator's log in the running window with 200,000 spots listed: a QSO appended to the log
// must re-mark the rows it concerns in under 5 ms, and a refill with the Status column shown and
// "Needed only" checked must stay under 50 ms. The window is the program's own main frame, with
// LOG\ADIF naming a generated 300,000-QSO file and the installed cty.csv resolving both sides.
#include "QtBenchmarkMain.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/FeatureRoom.h"
#include "log/LogFeature.h"
#include "log/OperatorLog.h"
#include "settings/MemorySettings.h"
#include "spots/SpotListModel.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "../tests/support/ManualClock.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace quendra;
using quendra::testing::ManualClock;

constexpr int kSpots = 200'000;
constexpr int kQsos = 300'000;
constexpr std::array<const char*, 12> kPrefixes{"DL", "K", "JA", "G", "VK", "PY", "ZS", "UA", "F", "I", "EA", "VE"};
constexpr std::array<const char*, 8> kFrequencies{"14025.0", "7074.0", "21250.0", "3573.0",
                                                  "28080.0", "18100.0", "50313.0", "1830.0"};
constexpr std::array<const char*, 8> kBands{"20m", "40m", "15m", "80m", "10m", "17m", "6m", "160m"};
constexpr std::array<const char*, 4> kModes{"CW", "FT8", "SSB", "RTTY"};

// Distinct for every n below 12 * 17,576.
std::string callOf(int n) {
    const int rest = n / 12;
    return std::string(kPrefixes[static_cast<std::size_t>(n) % kPrefixes.size()]) + std::to_string(1 + n % 7) +
           static_cast<char>('A' + rest % 26) + static_cast<char>('A' + rest / 26 % 26) +
           static_cast<char>('A' + rest / 676 % 26);
}

void field(std::string& out, std::string_view name, std::string_view value) {
    out += '<';
    out += name;
    out += ':';
    out += std::to_string(value.size());
    out += '>';
    out += value;
    out += ' ';
}

// Calls of the spots below, and others, on a spread of bands and modes; bands and modes drawn so
// that every status turns up among the spots.
QByteArray makeLog() {
    std::string text = "Generated for the benchmark\n<ADIF_VER:5>3.1.4 <EOH>\n";
    text.reserve(static_cast<std::size_t>(kQsos) * 120);
    for (int i = 0; i < kQsos; ++i) {
        // The last two prefixes' entities are never worked: their spots are New DXCC.
        const int n = i * 7 % 150'000;
        field(text, "CALL", callOf(n % 12 >= 10 ? n - 2 : n));
        field(text, "QSO_DATE", "20240317");
        field(text, "BAND", kBands[static_cast<std::size_t>(i / 3) % 5]);
        field(text, "MODE", kModes[static_cast<std::size_t>(i / 5) % 3]);
        field(text, "RST_SENT", "599");
        field(text, "QSL_RCVD", i % 4 == 0 ? "Y" : "N");
        text += "<EOR>\n";
    }
    return QByteArray::fromStdString(text);
}

struct LoggedFrame {
    QTemporaryDir folder;
    MemorySettings settings;
    ManualClock clock;
    std::unique_ptr<CMainFrame> frame;
    LogFeature* log = nullptr;
    bool ready = false;

    LoggedFrame() {
        if (!QFile::exists(QStringLiteral("/usr/share/hamradio-files/cty.csv")))
            return;
        const QString path = folder.filePath(QStringLiteral("log.adi"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(makeLog()) < 0)
            return;
        file.close();
        settings.WriteProfileString(u"LOG", u"ADIF", path.toStdU16String());
        settings.WriteProfileString(u"STATUS", u"NORRVEL", u"127.0.0.1");
        settings.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 1);  // nothing listens there
        // Spots stay for the whole run.
        settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1'000'000);
        frame = std::make_unique<CMainFrame>(settings, clock, false);
        frame->resize(1000, 700);
        if (frame->OnCreate() != 0)
            return;
        frame->show();
        frame->selectTab(kTabCluster);
        log = frame->features().find<LogFeature>();
        QElapsedTimer waited;
        waited.start();
        while (log && log->loading() && waited.elapsed() < 60'000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::u16string lines;
        for (int i = 0; i < kSpots; ++i) {
            const std::string call = callOf(i);
            lines += u"DX de ZZ9XX:     ";
            for (const char* c = kFrequencies[static_cast<std::size_t>(i) % kFrequencies.size()]; *c; ++c)
                lines += static_cast<char16_t>(*c);
            lines += u"  ";
            lines.append(call.begin(), call.end());
            lines += i % 3 == 0 ? u"        CW 599                         1234Z\r\n" : u"        FT8 -10                        1234Z\r\n";
            if (lines.size() > 60'000 || i + 1 == kSpots) {
                frame->RouteTelnetText(lines, static_cast<int>(lines.size()));
                lines.clear();
            }
        }
        QApplication::processEvents();
        ready = log && log->log() && frame->clusterView().spotList()->model()->rowCount() == kSpots;
        if (!ready)
            std::fprintf(stderr, "log %p, read %d, rows %d: %s\n", static_cast<void*>(log), log && log->log() ? 1 : 0,
                         frame->clusterView().spotList()->model()->rowCount(),
                         log ? qPrintable(log->statusField()->text()) : "");
    }
};

// Made once for all runs and left for the process's end: destroyed after main() returns, it
// would outlive the application object its widgets belong to.
LoggedFrame& loggedFrame() {
    static LoggedFrame* frame = new LoggedFrame;
    return *frame;
}

void setShown(LoggedFrame& logged, bool statusColumn, bool neededOnly) {
    logged.frame->clusterView().setOptionalSectionShown(logged.log->statusColumn(), statusColumn);
    logged.log->neededOnlyBox()->setChecked(neededOnly);
    logged.frame->clusterView().refillList();
    QApplication::processEvents();
}

// Bands the generated log never has, for QSOs that give an entity something new.
constexpr std::array<const char*, 9> kNewBands{"160m", "60m", "30m", "17m", "12m", "6m", "4m", "2m", "70cm"};

// A QSO as the logger appends it. Argument 0: each gives one of the worked entities a new slot
// (the heavy case: a twelfth of the list, every spot of that entity, is concerned); 1: each gives
// a spotted call a slot its entity already has (only that call's spots change); 2: as 0 with
// Needed only checked, where a row leaving the list refills it.
void BM_AppendedQsoRemarks(benchmark::State& state) {
    LoggedFrame& logged = loggedFrame();
    if (!logged.ready) {
        state.SkipWithError("no installed cty.csv (package hamradio-files), or the frame did not come up");
        return;
    }
    const bool newSlot = state.range(0) != 1;
    setShown(logged, true, state.range(0) == 2);
    auto* sink = static_cast<QsoSink*>(logged.log);
    static int next = 0;  // across runs, so every QSO is new
    std::size_t remarked = 0;
    for (auto _ : state) {
        const int n = next++;
        std::string record;
        // Spotted calls n * 12 + prefix; prefixes 0 to 9 are the worked entities.
        const int prefix = n % 10;
        field(record, "CALL", callOf((n * 37 % 16'000) * 12 + prefix));
        field(record, "BAND", newSlot ? kNewBands[static_cast<std::size_t>(n / 10) % kNewBands.size()] : "20m");
        field(record, "MODE", newSlot ? kModes[static_cast<std::size_t>(n / 90) % 3] : "CW");
        record += "<EOR>";
        sink->addQso(record);
        QApplication::processEvents();
        ++remarked;
    }
    state.counters["rows"] = logged.frame->clusterView().spotList()->model()->rowCount();
    state.counters["qsos"] = static_cast<double>(remarked);
}
BENCHMARK(BM_AppendedQsoRemarks)->Arg(0)->Arg(1)->Arg(2)->Iterations(40)->Unit(benchmark::kMillisecond);

// Baseline: one look at every stored spot's call, as re-marking would cost if it read the spots
// instead of the facts it keeps apart.
void BM_BareWalkOverTheCalls(benchmark::State& state) {
    LoggedFrame& logged = loggedFrame();
    if (!logged.ready) {
        state.SkipWithError("no installed cty.csv (package hamradio-files), or the frame did not come up");
        return;
    }
    const SpotStore& store = logged.frame->spotStore();
    for (auto _ : state) {
        std::size_t letters = 0;
        for (int i = 0; i < store.count(); ++i)
            letters += store.spotAt(i).station.size() + store.serialAt(i);
        benchmark::DoNotOptimize(letters);
    }
}
BENCHMARK(BM_BareWalkOverTheCalls)->Iterations(40)->Unit(benchmark::kMillisecond);

// Arguments: Status column shown, Needed only checked.
void BM_RefillWithStatus(benchmark::State& state) {
    LoggedFrame& logged = loggedFrame();
    if (!logged.ready) {
        state.SkipWithError("no installed cty.csv (package hamradio-files), or the frame did not come up");
        return;
    }
    setShown(logged, state.range(0) != 0, state.range(1) != 0);
    for (auto _ : state) {
        logged.frame->clusterView().refillList();
        QApplication::processEvents();
    }
    state.counters["rows_listed"] = logged.frame->clusterView().spotList()->model()->rowCount();
}
BENCHMARK(BM_RefillWithStatus)
    ->Args({0, 0})  // baseline: the log kept, nothing of it shown
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
