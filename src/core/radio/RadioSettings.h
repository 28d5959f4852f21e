#pragma once

#include <string_view>

namespace quendra {

// Where the radio link finds rigctld. The section is the radio's own, so a settings file without
// it reads exactly as before and the link stays off.
inline constexpr std::u16string_view kRadioSection = u"RADIO";
inline constexpr std::u16string_view kRadioEnabledEntry = u"ENABLED";
inline constexpr std::u16string_view kRadioHostEntry = u"HOST";
inline constexpr std::u16string_view kRadioPortEntry = u"PORT";

inline constexpr int kRadioEnabledDefault = 0;
inline constexpr std::u16string_view kRadioHostDefault = u"127.0.0.1";
inline constexpr int kRadioPortDefault = 4532;

}  // namespace quendra
