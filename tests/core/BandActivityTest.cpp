#include "activity/BandActivity.h"
#include "filters/NamedValues.h"
#include "modes/BandPlan.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

using namespace quendra;
using quendra::testing::ManualClock;

namespace {

// Band from the frequency, continent from the call: ZZ1.. Europe, ZZ2.. North America, others none.
class TestResolver : public SpotResolver {
public:
    SpotDetails resolve(const Spot& spot, double kHz) const override {
        SpotDetails details;
        if (const AmateurBand* band = amateurBandAt(kHz))
            details.band = static_cast<std::int8_t>(band - amateurBands().data());
        details.dxContinent = spot.station.starts_with(u"ZZ1")   ? Continent::Europe
                              : spot.station.starts_with(u"ZZ2") ? Continent::NorthAmerica
                                                                 : Continent::Unknown;
        return details;
    }
};

class BandActivityTest : public ::testing::Test {
protected:
    BandActivityTest() { store.setResolver(&resolver); }

    // A spot heard `minutesAgo` before the test's "now".
    void heard(int minutesAgo, std::u16string_view kHz, std::u16string_view station) {
        clock.set(kNow - minutesAgo * 60);
        const std::u16string line = u"DX de ZZ9AA:  " + std::u16string(kHz) + u"  " + std::u16string(station) + u"  CW";
        const int index = store.parseColumnSpot(line, u"node");
        ASSERT_GE(index, 0);
        activity.recordSpot(store, index);
    }
    static int band(std::u16string_view name) { return *bandIndexFromName(name); }
    static int column(Continent continent) { return BandActivity::columnOf(continent); }

    static constexpr std::int64_t kNow = ManualClock::kStart + 7200;
    MemorySettings settings;
    ManualClock clock;
    TestResolver resolver;
    SpotStore store{settings, clock};
    BandActivity activity;
};

TEST_F(BandActivityTest, CountsTheLastWindowAndTheOneBeforePerBandAndContinent) {
    heard(1, u"14025.0", u"ZZ1AA");
    heard(14, u"14030.0", u"ZZ1AB");
    heard(15, u"14035.0", u"ZZ1AC");   // the window's edge is in it
    heard(16, u"14040.0", u"ZZ1AD");   // the quarter hour before
    heard(29, u"14045.0", u"ZZ1AE");
    heard(31, u"14050.0", u"ZZ1AF");   // in neither quarter hour, but within the hour
    heard(2, u"7010.0", u"ZZ2AA");
    heard(3, u"7011.0", u"ZZ3AA");     // no known continent
    heard(4, u"5000.0", u"ZZ1ZZ");     // outside every band: not counted

    const BandActivity::Grid quarter = activity.count(kNow, 15 * 60);
    EXPECT_EQ(quarter.at(band(u"20m"), column(Continent::Europe)), (BandActivity::Cell{3, 2}));
    EXPECT_EQ(quarter.at(band(u"40m"), column(Continent::NorthAmerica)), (BandActivity::Cell{1, 0}));
    EXPECT_EQ(quarter.at(band(u"40m"), BandActivity::kColumns - 1), (BandActivity::Cell{1, 0}));
    EXPECT_EQ(quarter.busiest, 3);
    int counted = 0;
    for (const BandActivity::Cell& cell : quarter.cells)
        counted += cell.now + cell.before;
    EXPECT_EQ(counted, 7);

    const BandActivity::Grid hour = activity.count(kNow, 60 * 60);
    EXPECT_EQ(hour.at(band(u"20m"), column(Continent::Europe)), (BandActivity::Cell{6, 0}));
    EXPECT_EQ(BandActivity::trendOf(quarter.at(band(u"20m"), column(Continent::Europe))), BandActivity::Trend::Up);
    EXPECT_EQ(BandActivity::trendOf({1, 3}), BandActivity::Trend::Down);
    EXPECT_EQ(BandActivity::trendOf({2, 2}), BandActivity::Trend::Steady);
}

TEST_F(BandActivityTest, CountsSpotsTheStoreHasAgedOutAndForgetsBeyondTwoHours) {
    heard(130, u"21026.0", u"ZZ1AB");
    heard(50, u"21025.0", u"ZZ1AA");
    clock.set(kNow);
    store.expireSpots();
    ASSERT_EQ(store.count(), 0);
    EXPECT_EQ(activity.count(kNow, 3600).at(band(u"15m"), column(Continent::Europe)), (BandActivity::Cell{1, 0}));
    activity.prune(kNow);
    EXPECT_EQ(activity.records(), 1u);
    for (std::size_t i = 0; i < BandActivity::kMaxRecords + 10; ++i)
        activity.record(kNow, band(u"15m"), Continent::Europe);
    EXPECT_EQ(activity.records(), BandActivity::kMaxRecords);
}

}  // namespace
