#include "alerts/WatchList.h"
#include "dxcc/CountryLookup.h"
#include "filters/SpotFacts.h"
#include "log/EntityNumbers.h"
#include "log/OperatorLog.h"
#include "log/SpotNeeds.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <string>

using namespace quendra;
using ManualClock = quendra::testing::ManualClock;

namespace {

constexpr std::string_view kCsv =
    "ZZ,Zedland,901,EU,14,28,51.00,-10.00,-1.0,ZZ;\n"
    "ZY,Ypsiland,902,NA,5,8,37.60,91.87,5.0,ZY;\n";

// A store whose spots get band and mode (no countries: the entity comes from the numbers).
struct Listing : ::testing::Test {
    MemorySettings settings;
    ManualClock clock;
    CountryLookup noCountries;
    CountryResolver resolver{noCountries};
    SpotStore store{settings, clock};
    EntityNumbers numbers = *parseEntityNumbers(kCsv).numbers;
    OperatorLog log{numbers};
    SpotNeeds needs{store, numbers};

    Listing() {
        store.setResolver(&resolver);
        needs.setLog(&log, {});
    }
    int spot(std::u16string_view kHz, std::u16string_view station, std::u16string_view comment = u"CW 599") {
        const int index = store.parseTimedSpot(u"1234Z DX de ZZ9XX: " + std::u16string(kHz) + u" " +
                                                   std::u16string(station) + u" " + std::u16string(comment),
                                               u"NODE");
        needs.spotArrived(index);
        return index;
    }
};

TEST_F(Listing, AppendedQsoRemarksOnlyTheSpotsItConcerns) {
    log.feed("<CALL:5>ZZ1AB<BAND:3>20m<MODE:2>CW<EOR>\n");
    const int sameCall = spot(u"14025.0", u"ZZ1AB");
    const int otherBand = spot(u"7025.0", u"ZZ2CD");
    const int otherEntity = spot(u"14030.0", u"ZY1AA");
    const int nowhere = spot(u"14031.0", u"QQ1AA");
    EXPECT_EQ(needs.statusAt(sameCall), NeedStatus::Worked);
    EXPECT_EQ(needs.statusAt(otherBand), NeedStatus::NewBand);
    EXPECT_EQ(needs.statusAt(otherEntity), NeedStatus::NewDxcc);
    EXPECT_EQ(needs.statusAt(nowhere), NeedStatus::None);

    const SpotNeeds::Remarked remarked = needs.remark(log.feed("<call:5>zy1aa <band:3>20M <mode:3>SSB <eor>"));
    EXPECT_EQ(remarked.serials, std::vector<std::uint64_t>{store.serialAt(otherEntity)});
    EXPECT_FALSE(remarked.neededChanged);  // New DXCC became New mode: needed still
    EXPECT_EQ(needs.statusAt(otherEntity), NeedStatus::NewMode);

    // The same call in its slot: now worked, and no longer needed.
    const SpotNeeds::Remarked again = needs.remark(log.feed("<CALL:5>ZY1AA<BAND:3>20m<MODE:2>CW<EOR>"));
    EXPECT_EQ(again.serials, std::vector<std::uint64_t>{store.serialAt(otherEntity)});
    EXPECT_TRUE(again.neededChanged);
    EXPECT_EQ(needs.statusAt(otherEntity), NeedStatus::Worked);
    EXPECT_EQ(needs.statusAt(otherBand), NeedStatus::NewBand);
}

TEST_F(Listing, StatusFollowsTheSpotAcrossAgeOut) {
    const int first = spot(u"14025.0", u"ZZ1AB");
    clock.advance(1000);
    spot(u"14026.0", u"ZY1AB");
    EXPECT_EQ(needs.statusAt(first), NeedStatus::NewDxcc);
    needs.remark(log.feed("<CALL:5>ZY1CC<BAND:3>40m<MODE:2>CW<EOR>"));
    clock.advance(1000);  // the first spot is past MAXTIME now
    ASSERT_EQ(store.expireSpots(), 1);
    EXPECT_EQ(needs.statusAt(0), NeedStatus::NewBand);  // ZY1AB moved to index 0
    // Facts of spots gone are dropped as new ones come.
    spot(u"14027.0", u"ZZ1CD");
    EXPECT_EQ(needs.keptSpots(), 2u);
}

TEST_F(Listing, ReadingTheLogAgainMarksEverySpot) {
    const int index = spot(u"14025.0", u"ZZ1AB");
    OperatorLog fresh(numbers);
    fresh.feed("<CALL:5>ZZ1AB<BAND:3>20m<MODE:2>CW");
    fresh.finish();  // a last record without <EOR>
    needs.setLog(&fresh, {});
    needs.markAll();
    EXPECT_EQ(needs.statusAt(index), NeedStatus::Worked);
    needs.setLog(&fresh, NeedRule{NeedPolicy::Confirmed, false});
    needs.markAll();
    EXPECT_EQ(needs.statusAt(index), NeedStatus::NewDxcc);  // nothing confirmed
    EXPECT_EQ(needs.statusAt(-1), NeedStatus::None);
    EXPECT_EQ(needs.statusAt(store.count()), NeedStatus::None);
}

TEST_F(Listing, ManyChangedSpotsAreCountedNotListed) {
    const int spots = static_cast<int>(SpotNeeds::kListed) + 10;
    for (int i = 0; i < spots; ++i)
        spot(u"14025.0", u"ZZ" + std::u16string(1, char16_t(u'0' + i % 10)) + std::u16string(1, char16_t(u'A' + i / 10 % 26)) +
                             std::u16string(1, char16_t(u'A' + i / 260)));
    ASSERT_EQ(store.count(), spots);
    const SpotNeeds::Remarked remarked = needs.remark(log.feed("<CALL:4>ZZ9Q<BAND:3>40m<MODE:3>FT8<EOR>"));
    EXPECT_EQ(remarked.changed, static_cast<std::size_t>(spots));  // New DXCC became New band for all
    EXPECT_TRUE(remarked.serials.empty());
    EXPECT_FALSE(remarked.neededChanged);
    EXPECT_EQ(needs.statusAt(spots - 1), NeedStatus::NewBand);
}

TEST(WatchNeeded, TheWordMatchesNeededSpotsWithinItsBands) {
    WatchList list;
    list.add(*parseWatchEntry(u"ZZ1AB").entry);
    const WatchEntryResult needed = parseWatchEntry(u"Needed bands=20m");
    ASSERT_TRUE(needed.entry) << needed.error;
    EXPECT_EQ(needed.entry->kind, WatchEntry::Kind::Needed);
    list.add(*needed.entry);

    SpotFacts facts;
    facts.station = u"ZY1AB";
    facts.band = 5;  // 20m
    facts.mode = Mode::CW;
    facts.modeGroup = ModeGroup::CW;
    EXPECT_EQ(list.firstMatch(facts), -1);
    facts.needed = true;
    EXPECT_EQ(list.firstMatch(facts), 1);
    facts.band = 3;  // 40m
    EXPECT_EQ(list.firstMatch(facts), -1);
    facts.station = u"ZZ1AB";
    EXPECT_EQ(list.firstMatch(facts), 0);  // the earlier entry wins
}

}  // namespace
