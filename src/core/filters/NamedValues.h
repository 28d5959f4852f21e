#pragma once

#include "dxcc/Continent.h"
#include "modes/Mode.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quendra {

// The names the filter bar and the watch list read and write, taken in any letter case with
// blanks around them: bands as the band table spells them ("20m"), mode groups ("Phone"), modes
// ("FT8"), continent codes ("EU").
std::optional<int> bandIndexFromName(std::u16string_view name);  // into amateurBands()
std::optional<ModeGroup> modeGroupFromName(std::u16string_view name);
std::optional<Mode> modeFromName(std::u16string_view name);
std::optional<Continent> continentFromName(std::u16string_view name);

// Calls `item` with each comma-separated item, blanks trimmed; empty items are skipped.
void forEachListItem(std::u16string_view list, const std::function<void(std::u16string_view)>& item);

std::u16string_view trimBlanks(std::u16string_view text);
bool equalsIgnoringCase(std::u16string_view text, std::string_view ascii);
std::u16string widened(std::string_view ascii);

}  // namespace quendra
