#include "filters/SpotFilter.h"

#include "filters/NamedValues.h"
#include "modes/BandPlan.h"
#include "settings/SettingsCatalogue.h"
#include "text/CaseFold.h"

#include <algorithm>

namespace quendra {
namespace {

bool allowed(SpotFilter::Mask set, int value) { return set == 0 || (set & SpotFilter::bit(value)) != 0; }

char asciiUpper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

// `upperNeedle` is already upper case; the country file writes names in mixed case.
bool containsIgnoringCase(std::string_view haystack, std::string_view upperNeedle) {
    return std::search(haystack.begin(), haystack.end(), upperNeedle.begin(), upperNeedle.end(),
                       [](char a, char b) { return asciiUpper(a) == b; }) != haystack.end();
}

template <typename Name>
std::u16string listText(SpotFilter::Mask set, int count, Name name) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        if ((set & SpotFilter::bit(i)) == 0)
            continue;
        if (!text.empty())
            text += u',';
        text += widened(name(i));
    }
    return text;
}

constexpr int kModeGroupCount = static_cast<int>(ModeGroup::Digital) + 1;
constexpr int kContinentCount = static_cast<int>(Continent::SouthAmerica) + 1;

}  // namespace

void SpotFilter::setText(std::u16string_view text) {
    text_ = std::u16string(trimBlanks(text));
    upperText_ = text_;
    foldToUpper(upperText_);
    textIsAscii_ = std::all_of(upperText_.begin(), upperText_.end(), [](char16_t ch) { return ch < 0x80; });
    narrowText_ = textIsAscii_ ? std::string(upperText_.begin(), upperText_.end()) : std::string();
}

bool SpotFilter::restrictsNothing() const {
    return bands_ == 0 && modeGroups_ == 0 && dxContinents_ == 0 && spotterContinents_ == 0 && showSkimmers_ &&
           text_.empty();
}

bool SpotFilter::matches(const SpotFacts& facts) const {
    if (!allowed(bands_, facts.band) || !allowed(modeGroups_, static_cast<int>(facts.modeGroup)) ||
        !allowed(dxContinents_, static_cast<int>(facts.dxContinent)) ||
        !allowed(spotterContinents_, static_cast<int>(facts.spotterContinent)))
        return false;
    if (facts.skimmer && !showSkimmers_)
        return false;
    if (upperText_.empty() || facts.station.find(upperText_) != std::u16string::npos)
        return true;
    if (!textIsAscii_)
        return false;
    return containsIgnoringCase(facts.country, narrowText_) ||
           (facts.countryPrefix.size() == narrowText_.size() && containsIgnoringCase(facts.countryPrefix, narrowText_));
}

std::u16string bandListText(SpotFilter::Mask bands) {
    const auto table = amateurBands();
    return listText(bands, static_cast<int>(table.size()), [&](int i) { return table[static_cast<std::size_t>(i)].name; });
}

std::u16string modeGroupListText(SpotFilter::Mask groups) {
    return listText(groups, kModeGroupCount, [](int i) { return modeGroupName(static_cast<ModeGroup>(i)); });
}

std::u16string continentListText(SpotFilter::Mask continents) {
    return listText(continents, kContinentCount, [](int i) { return continentCode(static_cast<Continent>(i)); });
}

SpotFilter::Mask parseBandList(std::u16string_view text) {
    SpotFilter::Mask set = 0;
    forEachListItem(text, [&](std::u16string_view item) {
        if (const auto band = bandIndexFromName(item))
            set |= SpotFilter::bit(*band);
    });
    return set;
}

SpotFilter::Mask parseModeGroupList(std::u16string_view text) {
    SpotFilter::Mask set = 0;
    forEachListItem(text, [&](std::u16string_view item) {
        if (const auto group = modeGroupFromName(item))
            set |= SpotFilter::bit(static_cast<int>(*group));
    });
    return set;
}

SpotFilter::Mask parseContinentList(std::u16string_view text) {
    SpotFilter::Mask set = 0;
    forEachListItem(text, [&](std::u16string_view item) {
        if (const auto continent = continentFromName(item))
            set |= SpotFilter::bit(static_cast<int>(*continent));
    });
    return set;
}

FilterSettings loadFilterSettings(Settings& settings) {
    using namespace setting;
    FilterSettings saved;
    saved.filter.setBands(parseBandList(readSetting(settings, kFilterBands)));
    saved.filter.setModeGroups(parseModeGroupList(readSetting(settings, kFilterModes)));
    saved.filter.setDxContinents(parseContinentList(readSetting(settings, kFilterContinents)));
    saved.filter.setSpotterContinents(parseContinentList(readSetting(settings, kFilterSpotterContinents)));
    saved.filter.setShowSkimmers(readSetting(settings, kFilterSkimmers) != 0);
    saved.filter.setText(readSetting(settings, kFilterText));
    saved.barShown = readSetting(settings, kFilterBarShown) != 0;
    saved.collapseRepeats = readSetting(settings, kCollapseRepeats) != 0;
    return saved;
}

void saveFilterSettings(Settings& settings, const FilterSettings& saved) {
    using namespace setting;
    const SpotFilter& filter = saved.filter;
    writeSetting(settings, kFilterBands, bandListText(filter.bands()));
    writeSetting(settings, kFilterModes, modeGroupListText(filter.modeGroups()));
    writeSetting(settings, kFilterContinents, continentListText(filter.dxContinents()));
    writeSetting(settings, kFilterSpotterContinents, continentListText(filter.spotterContinents()));
    writeSetting(settings, kFilterSkimmers, filter.showSkimmers() ? 1 : 0);
    writeSetting(settings, kFilterText, filter.text());
    writeSetting(settings, kFilterBarShown, saved.barShown ? 1 : 0);
    writeSetting(settings, kCollapseRepeats, saved.collapseRepeats ? 1 : 0);
}

}  // namespace quendra
