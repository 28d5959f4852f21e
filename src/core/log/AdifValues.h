#pragma once

#include "modes/Mode.h"

#include <optional>
#include <string_view>

namespace quendra {

// The highest entity number an ADIF DXCC field or a country file may carry; numbers run from 1,
// and 0 stands for "no entity" (a station at sea, say).
inline constexpr int kMaxEntityNumber = 999;

// How the values of the few ADIF fields that worked status needs are read. Every function takes
// the field's data as written, in any letter case, with blanks around it allowed.

// The amateurBands() index of a BAND text ("20m", "70CM"), else of a FREQ in MHz ("14.025");
// -1 when neither lies in one of our bands.
// A field's data without the blanks and line ends loggers leave around it.
std::string_view trimmedAdif(std::string_view text);

int bandFromAdif(std::string_view band, std::string_view freqMHz);

// The filter bar's group of a MODE, else of its SUBMODE: the mode words spots use first, then
// the rest of ADIF's modes (digital voice and image modes count with phone, as for DXCC awards;
// every other data mode is digital). Unknown only when both are empty.
ModeGroup modeGroupFromAdif(std::string_view mode, std::string_view submode);

// QSL_RCVD and LOTW_QSL_RCVD confirm with Y or V.
bool isQslConfirmation(std::string_view value);

// EQSL_QSL_RCVD confirms with Y.
bool isEqslConfirmation(std::string_view value);

// A DXCC field's entity number, 0 to kMaxEntityNumber; none for anything else.
std::optional<int> entityNumberFromAdif(std::string_view dxcc);

}  // namespace quendra
