#include "settings/MemorySettings.h"
#include "spots/BandRange.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using quendra::MemorySettings;
using quendra::SpotStore;
using quendra::testing::ManualClock;

namespace {

class SpotExpiryTest : public ::testing::Test {
protected:
    int store(const std::u16string& station) {
        return spots.parseTimedSpot(u"1234Z DX de AUTHOR: 14025 " + station, u"NODE");
    }
    void setMaxTime(int seconds) {
        settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", seconds);
    }
    std::u16string stationAt(int index) {
        std::u16string out = u"unchanged";
        spots.getStation(index, out);
        return out;
    }

    MemorySettings settings;
    ManualClock clock;
    SpotStore spots{settings, clock};
};

TEST_F(SpotExpiryTest, DefaultLifetimeKeepsExactly1800Seconds) {
    ASSERT_EQ(store(u"A"), 0);
    clock.advance(1800);
    EXPECT_EQ(spots.expireSpots(), 0);
    EXPECT_EQ(spots.count(), 1);
    clock.advance(1);
    EXPECT_EQ(spots.expireSpots(), 1);
    EXPECT_EQ(spots.count(), 0);
}

TEST_F(SpotExpiryTest, LifetimeIsReadAtEveryRun) {
    ASSERT_EQ(store(u"A"), 0);
    clock.advance(100);
    setMaxTime(100);
    EXPECT_EQ(spots.expireSpots(), 0);
    setMaxTime(99);
    EXPECT_EQ(spots.expireSpots(), 1);
}

TEST_F(SpotExpiryTest, ZeroLifetimeKeepsOnlyThisSecond) {
    setMaxTime(0);
    ASSERT_EQ(store(u"A"), 0);
    clock.advance(1);
    ASSERT_EQ(store(u"B"), 1);
    ASSERT_EQ(store(u"C"), 2);
    EXPECT_EQ(spots.expireSpots(), 1);
    EXPECT_EQ(stationAt(0), u"B");
    EXPECT_EQ(stationAt(1), u"C");
}

TEST_F(SpotExpiryTest, FutureStampStaysUntilClockPassesItByLifetime) {
    clock.advance(500);
    ASSERT_EQ(store(u"FUTURE"), 0);
    clock.advance(-500);  // the clock was set back
    EXPECT_EQ(spots.expireSpots(), 0);
    clock.advance(500 + 1800);
    EXPECT_EQ(spots.expireSpots(), 0);
    clock.advance(1);
    EXPECT_EQ(spots.expireSpots(), 1);
}

TEST_F(SpotExpiryTest, AgeWrapsAtThirtyTwoBits) {
    // A stamp 2^32 - 100 seconds old reads as 100 seconds in the future and stays, while a
    // plainly old record beside it goes.
    clock.advance(-((std::int64_t{1} << 32) - 100));
    ASSERT_EQ(store(u"ANCIENT"), 0);
    clock.set(ManualClock::kStart - 5000);
    ASSERT_EQ(store(u"OLD"), 1);
    clock.set(ManualClock::kStart);
    EXPECT_EQ(spots.expireSpots(), 1);
    EXPECT_EQ(stationAt(0), u"ANCIENT");
}

TEST_F(SpotExpiryTest, RemovesScatteredRecordsKeepingOrderAndShiftingIndexes) {
    setMaxTime(10);
    const std::u16string stations[] = {u"S0", u"S1", u"S2", u"S3", u"S4", u"S5"};
    // Stamps jump back and forth so that old and young records alternate.
    const int offsets[] = {0, 20, 1, 21, 2, 22};
    std::vector<std::uint64_t> serials;
    for (int i = 0; i < 6; ++i) {
        clock.set(ManualClock::kStart + offsets[i]);
        ASSERT_EQ(store(stations[i]), i);
        serials.push_back(spots.serialAt(i));
    }
    clock.set(ManualClock::kStart + 25);
    EXPECT_EQ(spots.expireSpots(), 3);
    ASSERT_EQ(spots.count(), 3);
    EXPECT_EQ(stationAt(0), u"S1");
    EXPECT_EQ(stationAt(1), u"S3");
    EXPECT_EQ(stationAt(2), u"S5");
    EXPECT_EQ(stationAt(3), u"unchanged");
    EXPECT_DOUBLE_EQ(spots.frequencyKHzAt(2), 14025.0);
    // A spot's serial follows it to its new index; the aged-out ones are found nowhere.
    EXPECT_EQ(spots.indexOfSerial(serials[3]), 1);
    EXPECT_EQ(spots.indexOfSerial(serials[5]), 2);
    EXPECT_EQ(spots.indexOfSerial(serials[2]), -1);
    EXPECT_EQ(spots.indexOfSerial(0), -1);
    // The expired keys are free again, the kept ones are not; a new spot never reuses a serial.
    EXPECT_EQ(store(u"S0"), 3);
    EXPECT_GT(spots.serialAt(3), serials[5]);
    EXPECT_EQ(store(u"S1"), -1);
}

TEST_F(SpotExpiryTest, GettersCopyThroughCurrentRecordAndRefuseBadIndexes) {
    ASSERT_EQ(spots.parseTimedSpot(u"0915Z DX de ab1c: 7,05 zz9 CQ test", u"GB7X"), 0);
    std::u16string field;
    ASSERT_TRUE(spots.getDxNode(0, field));
    EXPECT_EQ(field, u"GB7X");
    ASSERT_TRUE(spots.getAuthor(0, field));
    EXPECT_EQ(field, u"AB1C");
    ASSERT_TRUE(spots.getFrequency(0, field));
    EXPECT_EQ(field, u"7,05");
    ASSERT_TRUE(spots.getInfo(0, field));
    EXPECT_EQ(field, u"CQ test");
    ASSERT_TRUE(spots.getGmt(0, field));
    EXPECT_EQ(field, u"09:15");
    for (int bad : {1, -1}) {
        field = u"kept";
        EXPECT_FALSE(spots.selectSpot(bad));
        EXPECT_FALSE(spots.getStation(bad, field));
        EXPECT_EQ(field, u"kept");
    }
    EXPECT_DOUBLE_EQ(spots.frequencyKHzAt(0), 7.05);
}

struct FrequencyCase {
    std::u16string text;
    double kHz;
};

class FrequencyValueTest : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(FrequencyValueTest, Converts) {
    EXPECT_DOUBLE_EQ(SpotStore::frequencyValue(GetParam().text), GetParam().kHz);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FrequencyValueTest,
    ::testing::Values(FrequencyCase{u"14025.0", 14025.0}, FrequencyCase{u"14025,0", 14025.0},
                      FrequencyCase{u"7,05", 7.05}, FrequencyCase{u"144.300", 144.3},
                      FrequencyCase{u" 50100", 50100.0}, FrequencyCase{u"1,2,3", 1.2},
                      FrequencyCase{u"10368.1MHz", 10368.1}, FrequencyCase{u"1e3", 1000.0},
                      FrequencyCase{u"-7", -7.0}, FrequencyCase{u"junk", 0.0},
                      FrequencyCase{u"", 0.0},
                      // Only the first 199 characters count.
                      FrequencyCase{u"1" + std::u16string(198, u'0') + u"00000", 1e198},
                      FrequencyCase{std::u16string(199, u' ') + u"5", 0.0}));

TEST(BandPlanTest, NamesAndInclusiveBounds) {
    using quendra::bandByName;
    EXPECT_FALSE(bandByName(u"all").has_value());
    EXPECT_FALSE(bandByName(u"").has_value());
    ASSERT_TRUE(bandByName(u"VHF").has_value());
    const quendra::BandRange vhf = *bandByName(u"VHF");
    EXPECT_TRUE(vhf.contains(50000.0));
    EXPECT_TRUE(vhf.contains(146000.0));
    EXPECT_FALSE(vhf.contains(49999.9));
    EXPECT_FALSE(vhf.contains(146000.1));
    EXPECT_TRUE(bandByName(u"HF")->contains(0.0));
    EXPECT_TRUE(bandByName(u"HF")->contains(144.3));  // MHz text lands in HF
    EXPECT_FALSE(bandByName(u"UHF")->contains(146000.0));
    EXPECT_TRUE(bandByName(u"All")->contains(1'000'000'000.0));
}

}  // namespace
