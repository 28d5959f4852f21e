#pragma once

#include <cstddef>

namespace quendra {

// Two caps on a line whose end has not arrived, for two different jobs, so they differ on purpose.
// - Spot detection keeps at most kMaxDetectedLineLength characters of one line. No spot or node
//   line comes near it; beyond it the rest of the line is dropped, since such a line can only be
//   noise, and a peer that never sends a line end cannot make the kept text grow without bound.
// - The terminal shows everything the node sent and drops nothing: it completes an unfinished
//   line in place only up to kMaxShownLineLength and then starts a new stored line, so an endless
//   line is shown as a run of long lines instead of one line that grows for ever. It is twice the
//   detection cap so that every line detection can still see is shown whole.
inline constexpr std::size_t kMaxDetectedLineLength = 4096;
inline constexpr std::size_t kMaxShownLineLength = 2 * kMaxDetectedLineLength;

}  // namespace quendra
