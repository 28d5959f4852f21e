// How long an operator waits for the window. Measured twice: from the start of a fresh process
// to the main frame's first paint (libraries, application object, views, first frame drawn), and
// within a running application from creating the frame to its first paint. An empty QMainWindow
// measured the same way shows the part that any Qt program pays.
#include "QtBenchmarkMain.h"
#include "app/CMainFrame.h"
#include "settings/MemorySettings.h"
#include "spots/Clock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr char kChildOption[] = "--first-paint-child=";
constexpr int kGiveUpMs = 30'000;

// Notes the first paint event the watched window receives.
class FirstPaint : public QObject {
public:
    bool painted() const { return painted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted_ = true;
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

// Both windows get the size the program gives its frame.
std::unique_ptr<QMainWindow> makeWindow(bool mainFrame, quendra::Settings& settings,
                                        const quendra::Clock& clock) {
    if (!mainFrame)
        return std::make_unique<QMainWindow>();
    auto frame = std::make_unique<quendra::CMainFrame>(settings, clock, false);
    frame->OnCreate();
    return frame;
}

struct Shown {
    Shown(bool mainFrame) {
        // No engine connection: only the window is measured.
        settings.WriteProfileInt(u"STATUS", u"NORRVEL_PORT", 0);
        window = makeWindow(mainFrame, settings, clock);
        window->installEventFilter(&watch);
        window->resize(900, 600);
        window->show();
    }
    bool waitForPaint() {
        QElapsedTimer waited;
        waited.start();
        while (!watch.painted() && waited.elapsed() < kGiveUpMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return watch.painted();
    }
    quendra::MemorySettings settings;
    quendra::SystemClock clock;
    FirstPaint watch;
    std::unique_ptr<QMainWindow> window;
};

// The child: shows one window, says so on its first paint and ends at once.
int runChild(int argc, char** argv, bool mainFrame) {
    QApplication app(argc, argv);
    Shown shown(mainFrame);
    if (!shown.waitForPaint())
        return 1;
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
    std::_Exit(0);
}

double timeChild(const char* kind) {
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QString::fromLatin1(kChildOption) + QString::fromLatin1(kind)});
    const auto start = std::chrono::steady_clock::now();
    child.start();
    while (!child.canReadLine())
        if (!child.waitForReadyRead(kGiveUpMs))
            return -1.0;
    const auto end = std::chrono::steady_clock::now();
    child.waitForFinished(kGiveUpMs);
    return std::chrono::duration<double>(end - start).count();
}

void processStartToFirstPaint(benchmark::State& state, const char* kind) {
    for (auto _ : state) {
        const double seconds = timeChild(kind);
        if (seconds < 0) {
            state.SkipWithError("the child never painted");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_ProcessStartToFirstPaintMainFrame(benchmark::State& state) {
    processStartToFirstPaint(state, "frame");
}
BENCHMARK(BM_ProcessStartToFirstPaintMainFrame)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BaselineProcessStartToFirstPaintEmptyWindow(benchmark::State& state) {
    processStartToFirstPaint(state, "empty");
}
BENCHMARK(BM_BaselineProcessStartToFirstPaintEmptyWindow)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void createToFirstPaint(benchmark::State& state, bool mainFrame) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Shown shown(mainFrame);
        if (!shown.waitForPaint()) {
            state.SkipWithError("the window never painted");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void BM_CreateToFirstPaintMainFrame(benchmark::State& state) { createToFirstPaint(state, true); }
BENCHMARK(BM_CreateToFirstPaintMainFrame)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BaselineCreateToFirstPaintEmptyWindow(benchmark::State& state) { createToFirstPaint(state, false); }
BENCHMARK(BM_BaselineCreateToFirstPaintEmptyWindow)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

const char* childKind(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kChildOption, std::strlen(kChildOption)) == 0)
            return argv[i] + std::strlen(kChildOption);
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    useOffscreenUnlessChosen();
    if (const char* kind = childKind(argc, argv))
        return runChild(argc, argv, std::strcmp(kind, "frame") == 0);
    return runBenchmarksWithApplication(argc, argv);
}
