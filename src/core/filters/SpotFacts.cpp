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

SpotDetails resolveSpotDetails(std::u16string_view station, std::u16string_view spotter, double kHz,
                               std::u16string_view comment, const CountryLookup& countries) {
    SpotDetails details;
    const auto bands = amateurBands();
    if (const AmateurBand* band = amateurBandAt(kHz))
        details.band = static_cast<std::int8_t>(band - bands.data());
    details.mode = spotMode(comment, kHz);
    details.skimmer = isSkimmerSpot(spotter, comment);
    const CountryMatch dx = countries.find(station);
    details.dxEntity = static_cast<std::int16_t>(dx.entityIndex);
    details.dxContinent = dx.continent;
    details.cqZone = static_cast<std::uint8_t>(dx.cqZone);
    details.ituZone = static_cast<std::uint8_t>(dx.ituZone);
    // Skimmers sign as CALL-# or CALL-1; the suffix says nothing about where they stand.
    const CountryMatch from = countries.find(spotter.substr(0, spotter.find(u'-')));
    details.spotterEntity = static_cast<std::int16_t>(from.entityIndex);
    details.spotterContinent = from.continent;
    return details;
}

namespace {

SpotFacts factsFrom(std::u16string station, const SpotDetails& details, const CountryLookup& countries) {
    SpotFacts facts;
    facts.band = details.band;
    facts.mode = details.mode;
    facts.modeGroup = modeGroup(details.mode);
    facts.dxContinent = details.dxContinent;
    facts.spotterContinent = details.spotterContinent;
    facts.skimmer = details.skimmer;
    facts.station = std::move(station);
    const auto& entities = countries.entities();
    if (details.dxEntity >= 0 && static_cast<std::size_t>(details.dxEntity) < entities.size()) {
        const CountryEntity& entity = entities[static_cast<std::size_t>(details.dxEntity)];
        facts.country = entity.name;
        facts.countryPrefix = entity.primaryPrefix;
    }
    return facts;
}

}  // namespace

SpotFacts resolveSpotFacts(std::u16string_view station, std::u16string_view spotter, double kHz,
                           std::u16string_view comment, const CountryLookup& countries) {
    std::u16string folded(station);
    foldToUpper(folded);
    return factsFrom(std::move(folded), resolveSpotDetails(station, spotter, kHz, comment, countries), countries);
}

SpotFacts resolveSpotFacts(const Spot& spot, double kHz, const CountryLookup& countries) {
    return resolveSpotFacts(spot.station, spot.author, kHz, spot.info, countries);
}

SpotFacts factsOf(const Spot& spot, const SpotDetails& details, const CountryLookup& countries) {
    return factsFrom(spot.station, details, countries);
}

SpotDetails CountryResolver::resolve(const Spot& spot, double kHz) const {
    return resolveSpotDetails(spot.station, spot.author, kHz, spot.info, countries_);
}

}  // namespace quendra
