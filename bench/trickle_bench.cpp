// A node rarely sends a contest's spots in big writes: it trickles them, a line or a piece of one
// at a time. What costs the program's processor time then is not the parsing but what every read
// sets off on screen and on the accessibility bus. This replays the same distinct spots against
// the shown main window in three pacings, from a peer thread on 127.0.0.1, and measures the
// process's CPU time (the peer thread's own time taken out) with the per-frame coalescing on and
// off, and with the band map shown beside the list. bench/run_trickle.sh runs it again with a
// private accessibility bus.
//
// The spot counts per pacing are scaled down to keep a run short (TRICKLE_SPOTS_* override them);
// every figure is reported per 10,000 spots and per hour at 10 spots/s.
#include "QtBenchmarkMain.h"
#include "app/CMainFrame.h"
#include "links/TelnetSocket.h"
#include "platform/RefreshPacing.h"
#include "settings/MemorySettings.h"
#include "spots/Clock.h"
#include "spots/SpotStore.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

namespace {

using quendra::CMainFrame;
using quendra::MemorySettings;
using quendra::SystemClock;

// RealRate is a busy node's ordinary traffic, one spot every 100 ms: its figures are per hour as
// an operator runs the program, where the others scale a faster stream's cost per spot.
enum Pacing { BigWrites = 0, LinePerMs = 1, RandomPieces = 2, RealRate = 3 };

constexpr int kGiveUpMs = 300'000;
constexpr std::size_t kBigWrite = 64 * 1024;

int spotCount(Pacing pacing) {
    static const char* names[] = {"TRICKLE_SPOTS_BIG", "TRICKLE_SPOTS_LINES", "TRICKLE_SPOTS_PIECES",
                                  "TRICKLE_SPOTS_REAL"};
    static const int defaults[] = {10'000, 5'000, 1'000, 300};
    const int chosen = qEnvironmentVariableIntValue(names[pacing]);
    return chosen > 0 ? chosen : defaults[pacing];
}

// Distinct spots in the node's usual form, each with its own station and frequency.
std::string spotLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "DX de ZZ1AA:     %7.1f  ST%-9d CW 599 up 2             %02d%02dZ\r\n",
                      14000.0 + (i % 3000) * 0.1, i, (i / 60) % 24, i % 60);
        text += line;
    }
    return text;
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The node: listens on 127.0.0.1, takes one connection, writes the text in the given pacing and
// closes. The loop ends with the text; the thread notes its own CPU time so it can be taken out.
class PacedPeer {
public:
    PacedPeer(std::string text, Pacing pacing) : text_(std::move(text)), pacing_(pacing) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~PacedPeer() {
        if (thread_.joinable())
            thread_.join();
        if (listener_ >= 0)
            ::close(listener_);
    }
    quint16 port() const { return port_; }
    double cpuSeconds() {
        if (thread_.joinable())
            thread_.join();
        return cpuSeconds_;
    }

private:
    void serve() {
        const double startCpu = threadCpuSeconds();
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd >= 0) {
            send(fd);
            ::close(fd);
        }
        cpuSeconds_ = threadCpuSeconds() - startCpu;
    }
    void send(int fd) {
        std::mt19937 random(1);
        std::uniform_int_distribution<std::size_t> pieceSize(1, 300);
        auto due = std::chrono::steady_clock::now();
        std::size_t at = 0;
        while (at < text_.size()) {
            std::size_t size = kBigWrite;
            if (pacing_ == LinePerMs) {
                size = text_.find('\n', at) + 1 - at;
                due += std::chrono::milliseconds(1);
            } else if (pacing_ == RandomPieces) {
                size = pieceSize(random);
                due += std::chrono::milliseconds(20);
            } else if (pacing_ == RealRate) {
                size = text_.find('\n', at) + 1 - at;
                due += std::chrono::milliseconds(100);
            }
            size = std::min(size, text_.size() - at);
            if (::send(fd, text_.data() + at, size, MSG_NOSIGNAL) != static_cast<ssize_t>(size))
                return;
            at += size;
            if (pacing_ != BigWrites)
                std::this_thread::sleep_until(due);
        }
    }

    std::string text_;
    Pacing pacing_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    double cpuSeconds_ = 0;
};

// Runs the event loop, blocking between events so the wait itself costs no processor time, until
// the condition holds or the time is up.
template <typename Done>
void runEventsUntil(Done done, int limitMs) {
    bool timeUp = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&timeUp] { timeUp = true; });
    limit.start(limitMs);
    while (!done() && !timeUp)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_TrickleMainFrame(benchmark::State& state) {
    const auto pacing = static_cast<Pacing>(state.range(0));
    const bool coalescing = state.range(1) != 0;
    const bool bandMapShown = state.range(2) != 0;
    const int spots = spotCount(pacing);
    const std::string text = spotLines(spots);
    quendra::refresh_pacing::setCoalescing(coalescing);
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        MemorySettings settings;
        settings.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 0);
        // Every spot of the stream is on 20 m, the map's band, so it draws them all.
        if (bandMapShown)
            settings.WriteProfileInt(u"BANDMAP", u"SHOWN", 1);
        SystemClock clock;
        CMainFrame frame(settings, clock, false);
        frame.OnCreate();
        // The map's pane takes its own width beside the list, which keeps the size it has
        // without the map (narrower, it would grow a horizontal scroll bar to repaint).
        frame.resize(bandMapShown ? 1140 : 900, 600);
        frame.show();
        runEventsUntil([] { return false; }, 200);

        PacedPeer peer(text, pacing);
        if (peer.port() == 0) {
            state.SkipWithError("the peer could not listen");
            return;
        }
        const double startCpu = processCpuSeconds();
        QElapsedTimer elapsed;
        elapsed.start();
        frame.telnetLink().Create();
        frame.telnetLink().ConnectTo(QStringLiteral("127.0.0.1"), peer.port());
        runEventsUntil([&] { return frame.spotStore().count() >= spots; }, kGiveUpMs);
        // The last frame's refresh belongs to the run.
        runEventsUntil([] { return false; }, quendra::refresh_pacing::kFrameMs + 50);
        const double used = processCpuSeconds() - startCpu;
        const double peerCpu = peer.cpuSeconds();
        if (frame.spotStore().count() < spots) {
            state.SkipWithError("not every spot arrived in time");
            return;
        }
        cpu += used - peerCpu;
        wall += static_cast<double>(elapsed.elapsed()) / 1000.0;
        state.SetIterationTime(used - peerCpu);
    }
    quendra::refresh_pacing::setCoalescing(true);
    const double perSpot = cpu / static_cast<double>(spots) / static_cast<double>(state.iterations());
    state.counters["spots"] = spots;
    state.counters["cpu_s_per_10k_spots"] = perSpot * 10'000;
    state.counters["cpu_s_per_hour_at_10_per_s"] = perSpot * 36'000;
    state.counters["wall_s"] = wall / static_cast<double>(state.iterations());
    state.counters["a11y_active"] = QAccessible::isActive() ? 1 : 0;
}
BENCHMARK(BM_TrickleMainFrame)
    ->ArgNames({"pacing", "coalescing", "band_map"})
    ->ArgsProduct({{BigWrites, LinePerMs, RandomPieces, RealRate}, {1, 0}, {0}})
    ->Args({LinePerMs, 1, 1})
    ->Args({RandomPieces, 1, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
