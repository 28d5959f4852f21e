#include "geo/GreatCircle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quendra {

namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

}  // namespace

double distanceKm(LatLon from, LatLon to) {
    // Haversine: keeps its precision for short paths, where the cosine formula does not.
    const double lat1 = radians(from.latitude);
    const double lat2 = radians(to.latitude);
    const double halfDLat = (lat2 - lat1) / 2.0;
    const double halfDLon = radians(to.longitude - from.longitude) / 2.0;
    const double h = std::sin(halfDLat) * std::sin(halfDLat) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(halfDLon) * std::sin(halfDLon);
    return 2.0 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

double bearingDegrees(LatLon from, LatLon to) {
    const double lat1 = radians(from.latitude);
    const double lat2 = radians(to.latitude);
    const double dLon = radians(to.longitude - from.longitude);
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    if (std::abs(x) < 1e-12 && std::abs(y) < 1e-12)
        return 0.0;
    double degrees = std::atan2(y, x) * 180.0 / std::numbers::pi;
    if (degrees < 0.0)
        degrees += 360.0;
    // -0.0 and rounding just under 360 both mean north.
    return degrees >= 360.0 ? 0.0 : degrees + 0.0;
}

}  // namespace quendra
