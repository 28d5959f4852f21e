#include "filters/SpotFacts.h"

#include "dxcc/CountryLookup.h"
#include "modes/BandPlan.h"
#include "modes/SpotMode.h"
#include "text/CaseFold.h"
#include "text/Numbers.h"

namespace quendra {
namespace {

bool isBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }

std::u16string_view nextWord(std::u16string_view text, std::size_t& at) {
    while (at < text.size() && isBlank(text[at]))
        ++at;
    const std::size_t start = at;
    while (at < text.size() && !isBlank(text[at]))
        ++at;
    return text.substr(start, at - start);
}

bool isAsciiLetterOrDigit(char16_t ch) {
    return isDecimalDigit(ch) || (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

bool isSignalReport(std::u16string_view word) {
    if (!word.empty() && (word.front() == u'-' || word.front() == u'+'))
        word.remove_prefix(1);
    if (word.empty() || word.size() > 3)
        return false;
    for (char16_t ch : word) {
        if (!isDecimalDigit(ch))
            return false;
    }
    return true;
}

}  // namespace

bool isSkimmerSpot(std::u16string_view spotter, std::u16string_view comment) {
    if (spotter.ends_with(u"-#"))
        return true;
    std::size_t at = 0;
    const std::u16string_view mode = nextWord(comment, at);
    if (mode.empty() || mode.size() > 8)
        return false;
    for (char16_t ch : mode) {
        if (!isAsciiLetterOrDigit(ch))
            return false;
    }
    if (!isSignalReport(nextWord(comment, at)))
        return false;
    const std::u16string_view unit = nextWord(comment, at);
    return unit.size() == 2 && (unit[0] == u'd' || unit[0] == u'D') && (unit[1] == u'b' || unit[1] == u'B');
}

SpotFacts resolveSpotFacts(std::u16string_view station, std::u16string_view spotter, double kHz,
                           std::u16string_view comment, const CountryLookup& countries) {
    SpotFacts facts;
    const auto bands = amateurBands();
    if (const AmateurBand* band = amateurBandAt(kHz))
        facts.band = static_cast<int>(band - bands.data());
    facts.mode = spotMode(comment, kHz);
    facts.modeGroup = modeGroup(facts.mode);
    facts.skimmer = isSkimmerSpot(spotter, comment);
    facts.station = std::u16string(station);
    foldToUpper(facts.station);

    const CountryMatch dx = countries.find(station);
    facts.dxContinent = dx.continent;
    if (const CountryEntity* entity = countries.entity(dx)) {
        facts.country = entity->name;
        facts.countryPrefix = entity->primaryPrefix;
    }
    // Skimmers sign as CALL-# or CALL-1; the suffix says nothing about where they stand.
    std::u16string_view spotterCall = spotter.substr(0, spotter.find(u'-'));
    facts.spotterContinent = countries.find(spotterCall).continent;
    return facts;
}

SpotFacts resolveSpotFacts(const Spot& spot, double kHz, const CountryLookup& countries) {
    return resolveSpotFacts(spot.station, spot.author, kHz, spot.info, countries);
}

}  // namespace quendra
