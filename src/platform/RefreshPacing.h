#pragma once

#include <QtGlobal>

namespace quendra::refresh_pacing {

// A node may send its text in hundreds of small reads a second. What a read changes on screen
// (scrolling, repainting, telling assistive technology) is done at most once per refresh, on a
// single-shot timer started by the first change, so an idle program has no timer running. 50 ms
// (20 refreshes a second) is quicker than anyone reads a list, and it gathers a node's small
// reads, which often come every 20 ms, in twos and threes: measured, it halved the CPU time of
// such a trickle against a 16 ms refresh, while 100 ms gained nothing more.
inline constexpr int kFrameMs = 50;

inline bool& coalescingFlag() {
    static bool on = qEnvironmentVariableIntValue("QUENDRA_NO_COALESCING") == 0;
    return on;
}

// Off makes the views follow every change at once; only a benchmark's comparison wants that.
// QUENDRA_NO_COALESCING=1 in the environment starts with it off.
inline bool coalescing() { return coalescingFlag(); }
inline void setCoalescing(bool on) { coalescingFlag() = on; }

}  // namespace quendra::refresh_pacing
