#pragma once

namespace quendra {

// A place on the earth in degrees: latitude north-positive, longitude east-positive (the
// country file's west-positive longitudes are turned round when it is read).
struct LatLon {
    double latitude = 0.0;
    double longitude = 0.0;

    friend bool operator==(const LatLon&, const LatLon&) = default;
};

}  // namespace quendra
