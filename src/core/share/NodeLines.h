#pragma once

#include "spots/Clock.h"
#include "spots/Spot.h"

#include <string>

namespace quendra {

class SpotStore;

// The texts of the local node, in the forms other cluster programs read from a real node. Every
// line is Windows-1252 bytes ended by CR LF.

// "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z": the frequency
// (kHz, one decimal) ends at column 23, the station starts at 26, the comment fills 39 to 68 and
// the time stands at 70. A long spotter's call lets the frequency touch its colon and is cut only
// when even that does not fit; a station is cut to 12 characters, a comment to 30, so the comment
// and the time always sit at their columns.
std::string announcementLine(const Spot& spot, double kHz);

// "  14025.0 ZZ2CD        7-Dec-2026 1234Z CW 599                         <ZZ1AB>", a line of
// the answer to `sh/dx`.
std::string listingLine(const Spot& spot, double kHz);

// The newest `count` stored spots as listing lines, newest first.
std::string listingLines(const SpotStore& store, int count);

// "ZZ1AB de QUENDRA 7-Dec-2026 1234Z >" with CR LF.
std::string promptLine(std::string_view call, const SystemTime& now);

}  // namespace quendra
