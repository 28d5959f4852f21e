#pragma once

#include "modes/Mode.h"

#include <string_view>

namespace quendra {

// The mode a spot's comment names as a whole word in any case ("cw 599", "FT8 -12 dB",
// "CW 24 dB 28 WPM CQ"), or Unknown. The first mode word wins, except that AM and FM, which
// also turn up as ordinary words ("9 am", "FM18"), count only when no other mode word is there.
Mode modeFromComment(std::string_view comment);
Mode modeFromComment(std::u16string_view comment);

// The comment's mode if it names one, else the band plan's for the frequency.
Mode spotMode(std::u16string_view comment, double kHz);

}  // namespace quendra
