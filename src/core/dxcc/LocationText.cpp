#include "dxcc/LocationText.h"

#include "geo/GreatCircle.h"
#include "geo/Maidenhead.h"

#include <cmath>
#include <string>

namespace quendra {
namespace {

std::u16string widened(std::string_view text) { return {text.begin(), text.end()}; }

std::u16string decimal(long value) { return widened(std::to_string(value)); }

}  // namespace

std::u16string locationText(std::u16string_view station, const CountryLookup& countries,
                            std::string_view homeLocator) {
    const CountryMatch match = countries.find(station);
    const CountryEntity* entity = countries.entity(match);
    if (!entity)
        return {};
    std::u16string text = u"Country: " + widened(entity->name) + u" (" + widened(entity->primaryPrefix) + u")";
    text += u"\nContinent: " + widened(continentCode(match.continent));
    text += u"\nCQ zone " + decimal(match.cqZone) + u", ITU zone " + decimal(match.ituZone);
    if (const auto home = locatorCentre(homeLocator)) {
        const long bearing = std::lround(bearingDegrees(*home, match.position)) % 360;
        const long distance = std::lround(distanceKm(*home, match.position));
        text += u"\nBearing " + decimal(bearing) + u"\u00b0, distance " + decimal(distance) + u" km";
    }
    return text;
}

}  // namespace quendra
