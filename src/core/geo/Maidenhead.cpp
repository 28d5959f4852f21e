#include "geo/Maidenhead.h"

namespace quendra {

namespace {

// The index of a letter within 'A'..'A'+count-1 in either case, or -1.
int letterIndex(char c, int count) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    const int index = upper - 'A';
    return (index >= 0 && index < count) ? index : -1;
}

int digitIndex(char c) { return (c >= '0' && c <= '9') ? c - '0' : -1; }

}  // namespace

std::optional<LatLon> locatorCentre(std::string_view locator) {
    if (locator.size() != 4 && locator.size() != 6)
        return std::nullopt;
    const int fieldLon = letterIndex(locator[0], 18);
    const int fieldLat = letterIndex(locator[1], 18);
    const int squareLon = digitIndex(locator[2]);
    const int squareLat = digitIndex(locator[3]);
    if (fieldLon < 0 || fieldLat < 0 || squareLon < 0 || squareLat < 0)
        return std::nullopt;

    // A field is 20 by 10 degrees, a square 2 by 1, a subsquare 5 by 2.5 minutes.
    double longitude = -180.0 + fieldLon * 20.0 + squareLon * 2.0;
    double latitude = -90.0 + fieldLat * 10.0 + squareLat * 1.0;
    if (locator.size() == 4)
        return LatLon{latitude + 0.5, longitude + 1.0};

    const int subLon = letterIndex(locator[4], 24);
    const int subLat = letterIndex(locator[5], 24);
    if (subLon < 0 || subLat < 0)
        return std::nullopt;
    longitude += subLon * (2.0 / 24.0) + 1.0 / 24.0;
    latitude += subLat * (1.0 / 24.0) + 1.0 / 48.0;
    return LatLon{latitude, longitude};
}

}  // namespace quendra
