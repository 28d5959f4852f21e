#pragma once

#include "filters/SpotFacts.h"
#include "settings/Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quendra {

// Which spots the list shows. Each set is a bit mask over small enum values, so a match is a
// handful of bit tests and, when a text is set, one substring search. An empty set restricts
// nothing; the default filter shows every spot, as the list always has.
class SpotFilter {
public:
    using Mask = std::uint32_t;

    // Bands by their index in amateurBands().
    void setBands(Mask bands) { bands_ = bands; }
    void setModeGroups(Mask groups) { modeGroups_ = groups; }       // bit per ModeGroup value
    void setDxContinents(Mask continents) { dxContinents_ = continents; }  // bit per Continent value
    void setSpotterContinents(Mask continents) { spotterContinents_ = continents; }
    void setShowSkimmers(bool show) { showSkimmers_ = show; }
    // Matched against the station (anywhere in the call), the country's primary prefix (whole)
    // and the country's name (anywhere), in any letter case. Blanks around it are ignored.
    void setText(std::u16string_view text);

    Mask bands() const { return bands_; }
    Mask modeGroups() const { return modeGroups_; }
    Mask dxContinents() const { return dxContinents_; }
    Mask spotterContinents() const { return spotterContinents_; }
    bool showSkimmers() const { return showSkimmers_; }
    const std::u16string& text() const { return text_; }

    bool restrictsNothing() const;
    bool matches(const SpotFacts& facts) const;

    bool operator==(const SpotFilter&) const = default;

    static Mask bit(int index) { return index >= 0 && index < 32 ? Mask{1} << index : 0; }

private:
    Mask bands_ = 0;
    Mask modeGroups_ = 0;
    Mask dxContinents_ = 0;
    Mask spotterContinents_ = 0;
    bool showSkimmers_ = true;
    std::u16string text_;         // as the user typed it, kept for the bar and the settings
    std::u16string upperText_;
    std::string narrowText_;      // upperText_ when it is plain ASCII, for the country's names
    bool textIsAscii_ = true;
};

// The filter bar as the settings file keeps it, in section FILTERS.
struct FilterSettings {
    SpotFilter filter;
    bool barShown = false;
    bool collapseRepeats = false;
    bool operator==(const FilterSettings&) const = default;
};

// Items of a list that name nothing known ("20m,9m,40m") are skipped one by one, so a damaged
// file loses only the damaged items.
FilterSettings loadFilterSettings(Settings& settings);
void saveFilterSettings(Settings& settings, const FilterSettings& saved);

// "20m,40m": the bands' names in band order. "CW,Phone", "EU,NA" likewise.
std::u16string bandListText(SpotFilter::Mask bands);
std::u16string modeGroupListText(SpotFilter::Mask groups);
std::u16string continentListText(SpotFilter::Mask continents);
SpotFilter::Mask parseBandList(std::u16string_view text);
SpotFilter::Mask parseModeGroupList(std::u16string_view text);
SpotFilter::Mask parseContinentList(std::u16string_view text);

}  // namespace quendra
