#pragma once

#include <cstdint>
#include <string_view>

namespace quendra {

// The modes a spot can be sorted by. Data is a digital mode the band plan points at without
// saying which one.
enum class Mode : std::uint8_t { Unknown, CW, SSB, USB, LSB, AM, FM, RTTY, PSK, FT8, FT4, JT65, JT9, Data };

enum class ModeGroup : std::uint8_t { Unknown, CW, Phone, Digital };

// "CW", "SSB", ..., "DATA"; "" for Unknown.
std::string_view modeName(Mode mode);

ModeGroup modeGroup(Mode mode);

// "CW", "Phone", "Digital"; "" for Unknown.
std::string_view modeGroupName(ModeGroup group);

// The mode token rigctld's `M` command takes to receive this mode at `kHz`: SSB is upper
// sideband from 10 MHz up and on 60 m (where the channels are worked in USB everywhere), lower
// below; the digital modes use the data variant of USB. "" for Unknown, which the caller leaves
// the radio's mode alone for.
std::string_view rigctldMode(Mode mode, double kHz);

}  // namespace quendra
