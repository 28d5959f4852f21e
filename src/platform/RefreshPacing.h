#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>

namespace quendra::refresh_pacing {

// A node may send its text in hundreds of small reads a second. What a read changes on screen
// (scrolling, repainting, telling assistive technology) is done at most once per refresh. 200 ms
// (five refreshes a second) is still quicker than anyone reads a list, and drawing the list was
// what a trickle of spots cost most when the period was chosen: per 10,000 spots sent one line
// per millisecond, 1.75 s of processor time with a 50 ms refresh, 1.19 s with 100 ms and 0.95 s
// with 200 ms; in small pieces every 20 ms, 9.6 s, 5.3 s and 3.4 s. Sockets read at the same
// pace (AsyncSocket), so a frame costs one wake-up however many pieces a node sends in it.
inline constexpr int kFrameMs = 200;

inline bool& coalescingFlag() {
    static bool on = qEnvironmentVariableIntValue("QUENDRA_NO_COALESCING") == 0;
    return on;
}

// Off makes the views follow every change at once; only a benchmark's comparison wants that.
// QUENDRA_NO_COALESCING=1 in the environment starts with it off.
inline bool coalescing() { return coalescingFlag(); }
inline void setCoalescing(bool on) { coalescingFlag() = on; }

// Paces one view's refreshes. The first change after a quiet frame is shown at the next turn of
// the event loop, so a node's answer to a command appears at once; changes that follow within
// the frame wait for its end and are shown together. The timer runs only while a refresh is
// due, so an idle program has no timer running.
class FramePacer {
public:
    template <class Refresh>
    FramePacer(QObject* context, Refresh refresh) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, context, refresh);
    }

    void request() {
        if (!timer_.isActive())
            timer_.start(delayMs());
    }
    // The view has just refreshed, by the pacer or on its own.
    void refreshed() {
        timer_.stop();
        lastRefresh_.start();
    }

private:
    int delayMs() const {
        if (!coalescing() || !lastRefresh_.isValid())
            return 0;
        return static_cast<int>(std::max<qint64>(0, kFrameMs - lastRefresh_.elapsed()));
    }

    QTimer timer_;
    QElapsedTimer lastRefresh_;
};

}  // namespace quendra::refresh_pacing
