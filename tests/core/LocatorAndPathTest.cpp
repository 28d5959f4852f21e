#include "geo/GreatCircle.h"
#include "geo/Maidenhead.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace quendra;

namespace {

struct LocatorCase {
    const char* name;
    std::string_view locator;
    std::optional<LatLon> centre;
};

class LocatorCentre : public testing::TestWithParam<LocatorCase> {};

TEST_P(LocatorCentre, GivesSquareCentre) {
    const auto centre = locatorCentre(GetParam().locator);
    ASSERT_EQ(centre.has_value(), GetParam().centre.has_value());
    if (centre) {
        EXPECT_NEAR(centre->latitude, GetParam().centre->latitude, 1e-9);
        EXPECT_NEAR(centre->longitude, GetParam().centre->longitude, 1e-9);
    }
}

// Centres worked by hand: a field is 20 x 10 degrees from 180 W / 90 S, a square 2 x 1, a
// subsquare 1/12 x 1/24.
INSTANTIATE_TEST_SUITE_P(
    Table, LocatorCentre,
    testing::Values(
        LocatorCase{"Square", "JO65", LatLon{55.5, 13.0}},
        LocatorCase{"Subsquare", "JN58td", LatLon{48.0 + 3.0 / 24 + 1.0 / 48, 10.0 + 19.0 / 12 + 1.0 / 24}},
        LocatorCase{"AnyCase", "jn58TD", LatLon{48.0 + 3.0 / 24 + 1.0 / 48, 10.0 + 19.0 / 12 + 1.0 / 24}},
        LocatorCase{"SouthWestCorner", "AA00aa", LatLon{-90.0 + 1.0 / 48, -180.0 + 1.0 / 24}},
        LocatorCase{"NorthEastCorner", "RR99xx", LatLon{90.0 - 1.0 / 48, 180.0 - 1.0 / 24}},
        LocatorCase{"WesternHemisphere", "FN31", LatLon{41.5, -73.0}},
        LocatorCase{"FieldBeyondR", "SA00", std::nullopt},
        LocatorCase{"SubsquareBeyondX", "JN58ty", std::nullopt},
        LocatorCase{"DigitsSwapped", "J0N5", std::nullopt},
        LocatorCase{"FieldOnly", "JN", std::nullopt},
        LocatorCase{"FiveCharacters", "JN58t", std::nullopt},
        LocatorCase{"EightCharacters", "JN58td25", std::nullopt},
        LocatorCase{"Blanks", " JN58", std::nullopt},
        LocatorCase{"Empty", "", std::nullopt}),
    [](const testing::TestParamInfo<LocatorCase>& row) { return std::string(row.param.name); });

struct PathCase {
    const char* name;
    LatLon from;
    LatLon to;
    double km;
    double bearing;
};

class GreatCirclePath : public testing::TestWithParam<PathCase> {};

TEST_P(GreatCirclePath, GivesDistanceAndBearing) {
    EXPECT_NEAR(distanceKm(GetParam().from, GetParam().to), GetParam().km, 0.01);
    EXPECT_NEAR(bearingDegrees(GetParam().from, GetParam().to), GetParam().bearing, 0.01);
}

constexpr double kQuarterKm = kEarthRadiusKm * std::numbers::pi / 2;

// Arcs along the equator and over a pole, whose length is the angle times the radius; London to
// Paris worked out separately with the haversine and forward-azimuth formulas.
INSTANTIATE_TEST_SUITE_P(
    Table, GreatCirclePath,
    testing::Values(
        PathCase{"EastAlongEquator", {0, 0}, {0, 90}, kQuarterKm, 90.0},
        PathCase{"WestAlongEquator", {0, 0}, {0, -90}, kQuarterKm, 270.0},
        PathCase{"NorthToPole", {0, 0}, {90, 0}, kQuarterKm, 0.0},
        PathCase{"SouthFromPole", {90, 0}, {0, 0}, kQuarterKm, 180.0},
        PathCase{"OverThePole", {60, 0}, {60, 180}, kEarthRadiusKm * std::numbers::pi / 3, 0.0},
        PathCase{"SouthAcrossDateLine", {10, 179}, {-10, 179}, kEarthRadiusKm * 20 * std::numbers::pi / 180, 180.0},
        PathCase{"SamePlace", {48.1, 11.6}, {48.1, 11.6}, 0.0, 0.0},
        PathCase{"LondonToParis", {51.5074, -0.1278}, {48.8566, 2.3522}, 343.556, 148.116}),
    [](const testing::TestParamInfo<PathCase>& row) { return std::string(row.param.name); });

}  // namespace
