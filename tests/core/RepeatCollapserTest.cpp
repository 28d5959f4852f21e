#include "filters/RepeatCollapser.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quendra;

namespace {

using Placement = RepeatCollapser::Placement;

RepeatSpot spot(std::u16string_view station, int band, Mode mode, std::u16string_view spotter, std::int64_t seconds) {
    return {station, band, mode, spotter, seconds};
}

TEST(RepeatCollapser, OneRowPerStationBandAndMode) {
    RepeatCollapser collapser(1800);
    EXPECT_EQ(collapser.add(0, spot(u"ZZ1AB", 5, Mode::CW, u"ZY1A", 0)), (Placement{0, true}));
    EXPECT_EQ(collapser.add(1, spot(u"ZZ1AB", 3, Mode::CW, u"ZY1A", 10)), (Placement{1, true}));
    EXPECT_EQ(collapser.add(2, spot(u"ZZ1AB", 5, Mode::FT8, u"ZY1A", 20)), (Placement{2, true}));
    EXPECT_EQ(collapser.add(3, spot(u"ZZ2CD", 5, Mode::CW, u"ZY1A", 30)), (Placement{3, true}));
    EXPECT_EQ(collapser.add(4, spot(u"ZZ1AB", 5, Mode::CW, u"ZY2B", 40)), (Placement{0, false}));
    EXPECT_EQ(collapser.rowCount(), 4);
    EXPECT_EQ(collapser.newestSpot(0), 4);
    EXPECT_EQ(collapser.spotterCount(0), 2);
}

TEST(RepeatCollapser, CountsDistinctSpottersWithinTheLifetime) {
    RepeatCollapser collapser(100);
    collapser.add(0, spot(u"ZZ1AB", 5, Mode::CW, u"ZY1A", 0));
    collapser.add(1, spot(u"ZZ1AB", 5, Mode::CW, u"ZY2B", 50));
    collapser.add(2, spot(u"ZZ1AB", 5, Mode::CW, u"ZY1A", 60));  // the same spotter again
    EXPECT_EQ(collapser.spotterCount(0), 2);
    collapser.add(3, spot(u"ZZ1AB", 5, Mode::CW, u"ZY3C", 155));  // ZY2B's report is now too old
    EXPECT_EQ(collapser.spotterCount(0), 2);
    EXPECT_EQ(collapser.newestSpot(0), 3);
}

TEST(RepeatCollapser, RebuildFollowsTheStoreAfterExpiry) {
    const std::vector<RepeatSpot> before{spot(u"ZZ1AB", 5, Mode::CW, u"ZY1A", 0),
                                         spot(u"ZZ2CD", 5, Mode::CW, u"ZY1A", 10),
                                         spot(u"ZZ1AB", 5, Mode::CW, u"ZY2B", 20)};
    RepeatCollapser collapser(1800);
    collapser.rebuild(before);
    EXPECT_EQ(collapser.rowCount(), 2);
    EXPECT_EQ(collapser.spotterCount(0), 2);

    // The store dropped its first spot: indexes moved down by one and ZZ2CD now comes first.
    collapser.rebuild(std::span(before).subspan(1));
    ASSERT_EQ(collapser.rowCount(), 2);
    EXPECT_EQ(collapser.newestSpot(0), 0);
    EXPECT_EQ(collapser.newestSpot(1), 1);
    EXPECT_EQ(collapser.spotterCount(1), 1);
    EXPECT_EQ(collapser.add(2, spot(u"ZZ1AB", 5, Mode::CW, u"ZY3C", 30)), (Placement{1, false}));
}

}  // namespace
