#pragma once

#include "geo/LatLon.h"

namespace quendra {

// The mean earth radius the distances are measured with; a sphere is within half a percent of
// the real figure, far closer than a spot's position is known.
inline constexpr double kEarthRadiusKm = 6371.0;

// Length of the short great-circle path between two places, in km.
double distanceKm(LatLon from, LatLon to);

// Direction to point an antenna at `to` from `from` along the short path, in degrees clockwise
// from true north, in [0, 360). Between the same two places it is 0; from the north pole
// everything lies south (180).
double bearingDegrees(LatLon from, LatLon to);

}  // namespace quendra
