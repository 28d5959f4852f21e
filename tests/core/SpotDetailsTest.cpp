// The optional columns' settings texts, a station's location text for the row tooltip, and the
// details the store keeps beside every spot.
#include "dxcc/CountryFile.h"
#include "dxcc/CountryLookup.h"
#include "dxcc/LocationText.h"
#include "settings/MemorySettings.h"
#include "spots/ExtraColumns.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace quendra;
using quendra::testing::ManualClock;

namespace {

// --- Optional columns ----------------------------------------------------------------------------

struct ColumnsCase {
    const char* name;
    std::u16string text;
    std::vector<ExtraColumn> columns;
};

class ExtraColumnsParse : public ::testing::TestWithParam<ColumnsCase> {};

TEST_P(ExtraColumnsParse, KeepsWhatIsReadable) {
    EXPECT_EQ(parseExtraColumns(GetParam().text), GetParam().columns);
}

using EC = ExtraColumn;
INSTANTIATE_TEST_SUITE_P(
    Texts, ExtraColumnsParse,
    ::testing::Values(
        ColumnsCase{"Empty", u"", {}},
        ColumnsCase{"OnlyCommas", u",,,", {}},
        ColumnsCase{"OrderKept", u"Mode,Country", {EC::Mode, EC::Country}},
        ColumnsCase{"BlanksAround", u"  Country ,   CQ zone  ", {EC::Country, EC::CqZone}},
        ColumnsCase{"TitleWithInnerBlankMustMatch", u"CQ  zone,Age", {EC::Age}},
        ColumnsCase{"RepeatedKeepsFirstPlace", u"Age,Mode,Age,Mode", {EC::Age, EC::Mode}},
        ColumnsCase{"UnknownSkipped", u"Colour,Continent,Power", {EC::Continent}},
        ColumnsCase{"OtherCaseIsUnknown", u"country,Mode", {EC::Mode}},
        ColumnsCase{"EmptyItemsBetween", u",Spotter country,,Spotter continent,",
                    {EC::SpotterCountry, EC::SpotterContinent}},
        ColumnsCase{"AllSeven", u"Country,Continent,CQ zone,Mode,Age,Spotter country,Spotter continent",
                    {EC::Country, EC::Continent, EC::CqZone, EC::Mode, EC::Age, EC::SpotterCountry,
                     EC::SpotterContinent}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ExtraColumnsText, WritesTitlesThatReadBack) {
    const std::vector<ExtraColumn> columns = {EC::SpotterContinent, EC::CqZone, EC::Country};
    EXPECT_EQ(extraColumnsText(columns), u"Spotter continent,CQ zone,Country");
    EXPECT_EQ(parseExtraColumns(extraColumnsText(columns)), columns);
    EXPECT_EQ(extraColumnsText({}), u"");
}

struct WidthsCase {
    const char* name;
    std::u16string text;
    std::vector<int> widths;
};

class WidthListParse : public ::testing::TestWithParam<WidthsCase> {};

TEST_P(WidthListParse, KeepsEachWidthInItsPlace) {
    EXPECT_EQ(parseWidthList(GetParam().text), GetParam().widths);
}

// A damaged item keeps its place (as -1), so the widths after it still belong to their columns.
INSTANTIATE_TEST_SUITE_P(
    Texts, WidthListParse,
    ::testing::Values(WidthsCase{"Empty", u"", {}},
                      WidthsCase{"Plain", u"90,120,0", {90, 120, 0}},
                      WidthsCase{"Blanks", u" 90 ,  120", {90, 120}},
                      WidthsCase{"GarbageKeepsPlace", u"90,x,70", {90, -1, 70}},
                      WidthsCase{"SignsAndSuffixes", u"-5,+5,12a,1.5", {-1, -1, -1, -1}},
                      WidthsCase{"EmptyItem", u",80", {-1, 80}},
                      WidthsCase{"FiveDigitsAtMost", u"99999,100000,0000012", {99999, -1, -1}},
                      WidthsCase{"InnerBlank", u"1 2,3", {-1, 3}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(WidthListText, ReadsBack) {
    EXPECT_EQ(widthListText({90, 0, 1200}), u"90,0,1200");
    EXPECT_EQ(parseWidthList(widthListText({90, 0, 1200})), (std::vector<int>{90, 0, 1200}));
    EXPECT_EQ(widthListText({}), u"");
}

// --- Location text -------------------------------------------------------------------------------

// Longitudes in the file count west as positive. Northland lies due north of the centre of the
// locator JJ00 (0.5 N, 1 E), 45 degrees of arc away; its one exception lies due south, as far.
constexpr std::string_view kCountries =
    "Northland:                14:  28:  EU:   45.50:    -1.00:    -1.0:  ZZ:\n"
    "    ZZ,=ZZ1XX(16)[30]{AS}<-44.5/-1.0>;\n"
    "Ypsiland:                 05:  08:  NA:   37.60:    91.87:     5.0:  ZY:\n"
    "    ZY;\n";

CountryLookup smallCountries() {
    CountryFileResult parsed = parseCountryFile(kCountries);
    EXPECT_TRUE(parsed.ok()) << parsed.error.describe();
    return CountryLookup(std::move(*parsed.file));
}

// 45 degrees of a great circle on the earth's mean radius: 6371 * pi / 4 = 5003.77 km.
constexpr long kQuarterOfHalfCircleKm = 5004;

struct Vector3 {
    double x, y, z;
};
double dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }
Vector3 unit(double latitude, double longitude) {
    const double phi = radians(latitude), lambda = radians(longitude);
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

std::u16string degreeLine(long bearing, long km) {
    const std::string digits = std::to_string(bearing), kms = std::to_string(km);
    return u"\nBearing " + std::u16string(digits.begin(), digits.end()) + u"\u00b0, distance " +
           std::u16string(kms.begin(), kms.end()) + u" km";
}

// Bearing and distance worked out with vectors in the earth's frame rather than the haversine
// and spherical trigonometry the program uses: the angle between the two position vectors, and
// the target's direction split onto the local north and east at home.
std::u16string expectedPath(double homeLat, double homeLon, double lat, double lon) {
    const Vector3 home = unit(homeLat, homeLon), there = unit(lat, lon);
    const Vector3 c = cross(home, there);
    const double arc = std::atan2(std::sqrt(dot(c, c)), dot(home, there));
    const double phi = radians(homeLat), lambda = radians(homeLon);
    const Vector3 north{-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda), std::cos(phi)};
    const Vector3 east{-std::sin(lambda), std::cos(lambda), 0.0};
    double bearing = std::atan2(dot(there, east), dot(there, north)) * 180.0 / std::numbers::pi;
    if (bearing < 0)
        bearing += 360.0;
    return degreeLine(std::lround(bearing) % 360, std::lround(arc * 6371.0));
}

TEST(LocationText, NamesCountryContinentAndZones) {
    const CountryLookup countries = smallCountries();
    EXPECT_EQ(locationText(u"ZZ9AB", countries, ""),
              u"Country: Northland (ZZ)\nContinent: EU\nCQ zone 14, ITU zone 28");
    // An exact call's own zones and continent win over its country's.
    EXPECT_EQ(locationText(u"ZZ1XX", countries, ""),
              u"Country: Northland (ZZ)\nContinent: AS\nCQ zone 16, ITU zone 30");
    EXPECT_EQ(locationText(u"QQ1AB", countries, "JJ00"), u"");
    EXPECT_EQ(locationText(u"", countries, "JJ00"), u"");
    EXPECT_EQ(locationText(u"ZZ9AB", CountryLookup(), "JJ00"), u"");
}

TEST(LocationText, InvalidLocatorLeavesOutThePath) {
    const CountryLookup countries = smallCountries();
    const std::u16string plain = locationText(u"ZZ9AB", countries, "");
    for (const char* locator : {"JJ0", "JJ00 ", " JJ00", "SS00", "JJ00zz", "JJ00aaa", "JJ0A", "0J00"})
        EXPECT_EQ(locationText(u"ZZ9AB", countries, locator), plain) << locator;
}

struct PathCase {
    const char* name;
    std::u16string_view station;
    std::string_view locator;
    std::u16string path;
};

class LocationPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(LocationPath, EndsWithBearingAndDistance) {
    const CountryLookup countries = smallCountries();
    const std::u16string text = locationText(GetParam().station, countries, GetParam().locator);
    ASSERT_GE(text.size(), GetParam().path.size()) << GetParam().name;
    EXPECT_EQ(text.substr(text.size() - GetParam().path.size()), GetParam().path);
    EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Places, LocationPath,
    ::testing::Values(
        PathCase{"DueNorth", u"ZZ9AB", "JJ00", degreeLine(0, kQuarterOfHalfCircleKm)},
        PathCase{"LowerCaseLocator", u"ZZ9AB", "jj00", degreeLine(0, kQuarterOfHalfCircleKm)},
        // The exception's own position, not its country's.
        PathCase{"DueSouthFromOwnPosition", u"ZZ1XX", "JJ00", degreeLine(180, kQuarterOfHalfCircleKm)},
        // JN58td's centre: 48 + 3.5 * 2.5' = 48.145833 N, 10 + 19.5 * 5' = 11.625 E.
        PathCase{"SubsquareToWest", u"ZY2AB", "JN58td", expectedPath(48.0 + 3.5 * 2.5 / 60, 10.0 + 19.5 * 5.0 / 60,
                                                                    37.60, -91.87)},
        PathCase{"MixedCaseSubsquare", u"ZY2AB", "jn58TD", expectedPath(48.0 + 3.5 * 2.5 / 60,
                                                                      10.0 + 19.5 * 5.0 / 60, 37.60, -91.87)},
        // FN31's centre: 41.5 N, 73 W.
        PathCase{"AcrossTheOcean", u"ZZ9AB", "FN31", expectedPath(41.5, -73.0, 45.5, 1.0)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(LocationPathCheck, WorkedExampleAgreesWithTheVectorForm) {
    // The vector form itself, on the two cases known by hand.
    EXPECT_EQ(expectedPath(0.5, 1.0, 45.5, 1.0), degreeLine(0, kQuarterOfHalfCircleKm));
    EXPECT_EQ(expectedPath(0.5, 1.0, -44.5, 1.0), degreeLine(180, kQuarterOfHalfCircleKm));
    // Along the equator a quarter of the way round: due east, 10,008 km.
    EXPECT_EQ(expectedPath(0.0, 0.0, 0.0, 90.0), degreeLine(90, 10008));
}

// --- Details kept with stored spots ------------------------------------------------------------

// Resolves a station "S<n>" to entity n, and counts its calls; a mark tells two resolvers apart.
class NumberResolver : public SpotResolver {
public:
    explicit NumberResolver(std::uint8_t mark) : mark_(mark) {}
    SpotDetails resolve(const Spot& spot, double kHz) const override {
        ++calls;
        SpotDetails details;
        details.dxEntity = static_cast<std::int16_t>(std::stoi(std::string(spot.station.begin() + 1, spot.station.end())));
        details.cqZone = mark_;
        details.band = static_cast<std::int8_t>(kHz > 10000 ? 1 : 0);
        return details;
    }
    mutable int calls = 0;

private:
    std::uint8_t mark_;
};

class StoreDetails : public ::testing::Test {
protected:
    int store(int number) {
        const std::string digits = std::to_string(number);
        return spots.parseTimedSpot(u"1234Z DX de AUTHOR: 14025 S" + std::u16string(digits.begin(), digits.end()),
                                    u"NODE");
    }
    int stationNumber(int index) {
        const std::u16string& station = spots.spotAt(index).station;
        return std::stoi(std::string(station.begin() + 1, station.end()));
    }
    void expectInStep(std::uint8_t mark) {
        for (int i = 0; i < spots.count(); ++i) {
            EXPECT_EQ(spots.detailsAt(i).dxEntity, stationNumber(i)) << "row " << i;
            EXPECT_EQ(spots.detailsAt(i).cqZone, mark) << "row " << i;
        }
    }

    MemorySettings settings;
    ManualClock clock;
    SpotStore spots{settings, clock};
    NumberResolver first{1};
    NumberResolver second{2};
};

TEST_F(StoreDetails, ResolvedOnceWhenStoredNotForDuplicates) {
    spots.setResolver(&first);
    ASSERT_EQ(store(7), 0);
    EXPECT_EQ(store(7), -1);
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(spots.detailsAt(0).dxEntity, 7);
    EXPECT_EQ(spots.detailsAt(0).band, 1);
}

TEST_F(StoreDetails, KeptInStepWhenOlderSpotsExpire) {
    spots.setResolver(&first);
    for (int n = 0; n < 50; ++n)
        store(n);
    clock.advance(1000);
    for (int n = 50; n < 80; ++n)
        store(n);
    clock.advance(900);  // the first fifty are now 1900 s old, past the default 1800
    EXPECT_EQ(spots.expireSpots(), 50);
    ASSERT_EQ(spots.count(), 30);
    EXPECT_EQ(stationNumber(0), 50);
    expectInStep(1);
    for (int n = 80; n < 90; ++n)
        store(n);
    ASSERT_EQ(spots.count(), 40);
    expectInStep(1);
}

TEST_F(StoreDetails, KeptInStepWhenSpotsBetweenOthersExpire) {
    spots.setResolver(&first);
    // The clock is set back between spots (a corrected system time), so the old ones lie between
    // newer ones in arrival order.
    for (int n = 0; n < 12; ++n) {
        clock.set(ManualClock::kStart + (n % 3 == 1 ? 0 : 1000));
        store(n);
    }
    clock.set(ManualClock::kStart + 1801);
    EXPECT_EQ(spots.expireSpots(), 4);
    ASSERT_EQ(spots.count(), 8);
    const std::vector<int> left = {0, 2, 3, 5, 6, 8, 9, 11};
    for (int i = 0; i < spots.count(); ++i)
        EXPECT_EQ(stationNumber(i), left[static_cast<std::size_t>(i)]);
    expectInStep(1);
}

TEST_F(StoreDetails, SetResolverResolvesStoredSpotsAgain) {
    for (int n = 0; n < 5; ++n)
        store(n);
    for (int i = 0; i < spots.count(); ++i)
        EXPECT_EQ(spots.detailsAt(i).dxEntity, -1);
    spots.setResolver(&first);
    EXPECT_EQ(first.calls, 5);
    expectInStep(1);
    spots.setResolver(&second);
    EXPECT_EQ(second.calls, 5);
    expectInStep(2);
    spots.setResolver(nullptr);
    for (int i = 0; i < spots.count(); ++i) {
        EXPECT_EQ(spots.detailsAt(i).dxEntity, -1);
        EXPECT_EQ(spots.detailsAt(i).cqZone, 0);
    }
    store(5);
    EXPECT_EQ(spots.detailsAt(5).dxEntity, -1);
    EXPECT_EQ(second.calls, 5);
}

}  // namespace
