// A busy node in a contest sends far more spots than any operator reads, and the program must
// take them all in without falling behind: socket, line joining, terminal, parser, store and list
// model, end to end, against the stand-in node sending as fast as its socket drains. Two
// baselines read the same bytes from the same stand-in: the program's socket alone with nothing
// routed, and a bare blocking socket.
#include "QtBenchmarkMain.h"
#include "app/CMainFrame.h"
#include "links/TelnetSocket.h"
#include "settings/MemorySettings.h"
#include "spots/Clock.h"
#include "spots/SpotStore.h"
#include "../tests/support/StandinServer.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <string>

namespace {

using quendra::CMainFrame;
using quendra::LinkOwner;
using quendra::MemorySettings;
using quendra::SystemClock;
using quendra::TelnetSocket;

constexpr int kSpots = 20'000;
constexpr int kGiveUpMs = 60'000;
constexpr char kLogin[] = "ZZ9ZZ\r\n";
// After the call sign the node sends its echo, two greeting lines and a prompt, then the spots.
constexpr long long kLinesBeforeTraffic = 4;
constexpr std::u16string_view kConnected = u"***Connected. \r\n";

using Clock = std::chrono::steady_clock;

bool startNode(StandinServer& node) {
    return node.start(QStringLiteral("quendra_node_standin"),
                      {QStringLiteral("--max-rate"), QStringLiteral("--spots-only"),
                       QStringLiteral("--count"), QString::number(kSpots)});
}

long long lineEnds(std::u16string_view text) { return std::count(text.begin(), text.end(), u'\n'); }

// Logs in when the link reports the connection, counts line ends of everything routed, and
// notes when the last expected line has gone through.
struct IngestProgress {
    long long expectedLineEnds = kLinesBeforeTraffic + kSpots;
    long long seenLineEnds = 0;
    bool started = false;
    bool finished = false;
    Clock::time_point start;
    Clock::time_point end;

    // true for the link's connected line: the caller logs in then.
    bool note(std::u16string_view text) {
        if (text == kConnected) {
            started = true;
            start = Clock::now();
            return true;
        }
        seenLineEnds += lineEnds(text);
        return false;
    }
    void checkDone() {
        if (!finished && seenLineEnds >= expectedLineEnds) {
            finished = true;
            end = Clock::now();
        }
    }
    double seconds() const { return std::chrono::duration<double>(end - start).count(); }
};

bool waitFor(const IngestProgress& progress) {
    QElapsedTimer waited;
    waited.start();
    while (!progress.finished && waited.elapsed() < kGiveUpMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return progress.finished;
}

class MeasuredFrame : public CMainFrame {
public:
    MeasuredFrame(quendra::Settings& settings, const quendra::Clock& clock, IngestProgress& progress)
        : CMainFrame(settings, clock, false), progress_(progress) {}

    void RouteTelnetText(std::u16string_view text, int length) override {
        const bool login = progress_.note(text);
        CMainFrame::RouteTelnetText(text, length);
        if (login)
            telnetLink().Send(kLogin, static_cast<int>(std::strlen(kLogin)));
        progress_.checkDone();
    }

private:
    IngestProgress& progress_;
};

struct IngestTotals {
    double seconds = 0.0;
    long long spotLines = 0;
    long long linesRouted = 0;
    long long spotsStored = 0;

    void report(benchmark::State& state) const {
        state.counters["spots_per_s"] = seconds > 0 ? static_cast<double>(spotLines) / seconds : 0.0;
        if (linesRouted > 0)
            state.counters["lines_routed"] = static_cast<double>(linesRouted) / static_cast<double>(state.iterations());
        if (spotsStored > 0)
            state.counters["spots_stored"] = static_cast<double>(spotsStored) / static_cast<double>(state.iterations());
    }
};

// The argument 1 shows the window as the program does, so the list scrolls and repaints as spots
// arrive; 0 leaves it hidden, which isolates what the drawing costs.
void BM_TelnetIngestMainFrame(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    IngestTotals totals;
    for (auto _ : state) {
        StandinServer node;
        if (!startNode(node)) {
            state.SkipWithError("the stand-in node did not start");
            return;
        }
        MemorySettings settings;
        // No engine connection at all: the packet link stays idle during the run.
        settings.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 0);
        SystemClock clock;
        IngestProgress progress;
        MeasuredFrame frame(settings, clock, progress);
        frame.OnCreate();
        frame.resize(900, 600);
        if (shown)
            frame.show();
        QCoreApplication::processEvents();
        frame.telnetLink().Create();
        frame.telnetLink().ConnectTo(QStringLiteral("127.0.0.1"), node.port());
        if (!waitFor(progress)) {
            state.SkipWithError("not every spot line arrived in time");
            return;
        }
        state.SetIterationTime(progress.seconds());
        totals.seconds += progress.seconds();
        totals.spotLines += kSpots;
        totals.linesRouted += progress.seenLineEnds;
        totals.spotsStored += frame.spotStore().count();
    }
    totals.report(state);
}
BENCHMARK(BM_TelnetIngestMainFrame)->ArgName("shown")->Arg(1)->Arg(0)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// Baseline: the program's telnet link with an owner that only counts, so the socket's reads and
// notifications are measured without any routing.
class CountingOwner : public LinkOwner {
public:
    explicit CountingOwner(IngestProgress& progress) : progress_(progress) {}
    void attach(TelnetSocket& link) { link_ = &link; }
    void RouteTelnetText(std::u16string_view text, int) override {
        if (progress_.note(text))
            link_->Send(kLogin, static_cast<int>(std::strlen(kLogin)));
        progress_.checkDone();
    }
    void RouteMonitorText(std::u16string_view, int, int, int, int) override {}

private:
    IngestProgress& progress_;
    TelnetSocket* link_ = nullptr;
};

void BM_BaselineTelnetSocketOnly(benchmark::State& state) {
    IngestTotals totals;
    for (auto _ : state) {
        StandinServer node;
        if (!startNode(node)) {
            state.SkipWithError("the stand-in node did not start");
            return;
        }
        IngestProgress progress;
        CountingOwner owner(progress);
        TelnetSocket link;
        owner.attach(link);
        link.setMainWindow(&owner);
        link.Create();
        link.ConnectTo(QStringLiteral("127.0.0.1"), node.port());
        if (!waitFor(progress)) {
            state.SkipWithError("not every spot line arrived in time");
            return;
        }
        link.setMainWindow(nullptr);
        state.SetIterationTime(progress.seconds());
        totals.seconds += progress.seconds();
        totals.spotLines += kSpots;
    }
    totals.report(state);
}
BENCHMARK(BM_BaselineTelnetSocketOnly)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// Baseline: a blocking socket reading 64 KiB at a time and counting line ends, no event loop.
// Returns the seconds from connection to the last line, or a negative value on failure.
double rawRead(quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1.0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1.0;
    }
    const auto start = Clock::now();
    long long seen = 0;
    if (::send(fd, kLogin, std::strlen(kLogin), 0) < 0)
        seen = -1;
    std::array<char, 65536> buffer;
    while (seen >= 0 && seen < kLinesBeforeTraffic + kSpots) {
        const ssize_t count = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (count <= 0)
            break;
        seen += std::count(buffer.begin(), buffer.begin() + count, '\n');
    }
    const auto end = Clock::now();
    ::close(fd);
    if (seen < kLinesBeforeTraffic + kSpots)
        return -1.0;
    return std::chrono::duration<double>(end - start).count();
}

void BM_BaselineRawSocketRead(benchmark::State& state) {
    IngestTotals totals;
    for (auto _ : state) {
        StandinServer node;
        if (!startNode(node)) {
            state.SkipWithError("the stand-in node did not start");
            return;
        }
        const double seconds = rawRead(node.port());
        if (seconds < 0) {
            state.SkipWithError("the raw read did not see every line");
            return;
        }
        state.SetIterationTime(seconds);
        totals.seconds += seconds;
        totals.spotLines += kSpots;
    }
    totals.report(state);
}
BENCHMARK(BM_BaselineRawSocketRead)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
