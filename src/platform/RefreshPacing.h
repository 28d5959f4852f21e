#pragma once

#include <QtGlobal>

namespace quendra::refresh_pacing {

// A node may send its text in hundreds of small reads a second. What a read changes on screen
// (scrolling, repainting, telling assistive technology) is done at most once per displayed frame,
// on a single-shot timer started by the first change, so an idle program has no timer running.
inline constexpr int kFrameMs = 16;

inline bool& coalescingFlag() {
    static bool on = qEnvironmentVariableIntValue("QUENDRA_NO_COALESCING") == 0;
    return on;
}

// Off makes the views follow every change at once; only a benchmark's comparison wants that.
// QUENDRA_NO_COALESCING=1 in the environment starts with it off.
inline bool coalescing() { return coalescingFlag(); }
inline void setCoalescing(bool on) { coalescingFlag() = on; }

}  // namespace quendra::refresh_pacing
