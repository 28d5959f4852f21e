#include "filters/RepeatCollapser.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace quendra;

namespace {

using Placement = RepeatCollapser::Placement;

RepeatSpot spot(std::u16string_view station, int band, Mode mode, std::u16string_view spotter, std::int64_t seconds) {
    return {station, band, mode, spotter, seconds, {}};
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

TEST(RepeatCollapser, TheFirstReportOfARowCanExpireToo) {
    RepeatCollapser collapser(100);
    collapser.add(0, spot(u"ZZ1AB", 5, Mode::CW, u"ZY1A", 0));
    collapser.add(1, spot(u"ZZ1AB", 5, Mode::CW, u"ZY2B", 50));
    collapser.add(2, spot(u"ZZ1AB", 5, Mode::CW, u"ZY3C", 60));
    collapser.add(3, spot(u"ZZ1AB", 5, Mode::CW, u"ZY4D", 155));  // ZY1A and ZY2B are too old
    EXPECT_EQ(collapser.spotterCount(0), 2);
    collapser.add(4, spot(u"ZZ1AB", 5, Mode::CW, u"ZY1A", 158));
    EXPECT_EQ(collapser.spotterCount(0), 3);
    collapser.add(5, spot(u"ZZ1AB", 5, Mode::CW, u"ZY3C", 300));  // every earlier report is too old
    EXPECT_EQ(collapser.spotterCount(0), 1);
    collapser.add(6, spot(u"ZZ1AB", 5, Mode::CW, u"ZY3C", 310));
    EXPECT_EQ(collapser.spotterCount(0), 1);
}

// Tens of thousands of rows make the tables grow many times; every row must still be found.
TEST(RepeatCollapser, AgreesWithAPlainMapOnALongStream) {
    std::mt19937 random(7);
    std::vector<std::u16string> calls;
    for (int i = 0; i < 20'000; ++i)
        calls.push_back(u"ZZ" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                        std::u16string(1, static_cast<char16_t>(u'A' + (i / 10) % 26)) +
                        std::u16string(1, static_cast<char16_t>(u'A' + (i / 260) % 26)) +
                        std::u16string(static_cast<std::size_t>(i / 6760), u'X'));
    const std::u16string spotters[] = {u"ZY1A", u"ZY2B", u"ZY3C-#", u"ZY4D"};
    using Key = std::tuple<std::u16string, int, Mode>;
    std::map<Key, int> rowOfKey;
    std::vector<std::map<std::u16string, std::int64_t>> reportsOfRow;

    RepeatCollapser collapser(600);
    for (int index = 0; index < 60'000; ++index) {
        const std::u16string& call = calls[random() % calls.size()];
        const int band = static_cast<int>(random() % 3) - 1;
        const Mode mode = random() % 2 ? Mode::CW : Mode::FT8;
        const std::u16string& spotter = spotters[random() % 4];
        const std::int64_t seconds = index / 10;
        const auto [known, added] = rowOfKey.try_emplace({call, band, mode}, static_cast<int>(reportsOfRow.size()));
        if (added)
            reportsOfRow.emplace_back();
        auto& reports = reportsOfRow[static_cast<std::size_t>(known->second)];
        std::erase_if(reports, [&](const auto& report) { return report.second < seconds - 600; });
        reports[spotter] = seconds;

        const Placement placed = collapser.add(index, spot(call, band, mode, spotter, seconds));
        ASSERT_EQ(placed, (Placement{known->second, added})) << index;
        ASSERT_EQ(collapser.spotterCount(placed.row), static_cast<int>(reports.size())) << index;
    }
    EXPECT_EQ(collapser.rowCount(), static_cast<int>(reportsOfRow.size()));
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

// Spots of several sources folded into one list: the same station on the same band and mode from
// two sources is one row with the reports of both, naming both sources, while reports older
// than the lifetime neither count nor name their source.
struct MergeCase {
    const char* name;
    std::vector<RepeatSpot> spots;  // in arrival order, lifetime 1800 s
    int rows;
    int spottersOfFirstRow;
    std::vector<std::u16string_view> sourcesOfFirstRow;
};

class MergeRuleTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeRuleTest, RowsReportsAndSources) {
    const MergeCase& c = GetParam();
    RepeatCollapser collapser(1800);
    for (std::size_t i = 0; i < c.spots.size(); ++i)
        collapser.add(static_cast<int>(i), c.spots[i]);
    ASSERT_EQ(collapser.rowCount(), c.rows);
    EXPECT_EQ(collapser.spotterCount(0), c.spottersOfFirstRow);
    EXPECT_EQ(collapser.sourcesOf(0), c.sourcesOfFirstRow);
    EXPECT_EQ(collapser.rowOf(c.spots[0].station, c.spots[0].band, c.spots[0].mode), 0);
}

RepeatSpot from(std::u16string_view source, std::u16string_view station, int band, Mode mode,
                std::u16string_view spotter, std::int64_t seconds) {
    return {station, band, mode, spotter, seconds, source};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeRuleTest,
    ::testing::Values(
        MergeCase{"TwoSourcesOneRow",
                  {from(u"node-a", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 0),
                   from(u"rbn", u"ZZ2CD", 5, Mode::CW, u"ZZ3XY-#", 20)},
                  1, 2, {u"node-a", u"rbn"}},
        MergeCase{"OtherBandIsAnotherRow",
                  {from(u"node-a", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 0),
                   from(u"rbn", u"ZZ2CD", 3, Mode::CW, u"ZZ3XY-#", 20)},
                  2, 1, {u"node-a"}},
        MergeCase{"OtherModeIsAnotherRow",
                  {from(u"node-a", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 0),
                   from(u"node-b", u"ZZ2CD", 5, Mode::SSB, u"ZZ4EF", 20)},
                  2, 1, {u"node-a"}},
        MergeCase{"ManySkimmersOfOneSourceNameItOnce",
                  {from(u"rbn", u"ZZ2CD", 5, Mode::CW, u"ZZ3XY-#", 0),
                   from(u"rbn", u"ZZ2CD", 5, Mode::CW, u"ZZ5GH-#", 5),
                   from(u"node-a", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 9),
                   from(u"rbn", u"ZZ2CD", 5, Mode::CW, u"ZZ6IJ-#", 12)},
                  1, 4, {u"rbn", u"node-a"}},
        MergeCase{"ASourceBeyondTheLifetimeNoLongerCounts",
                  {from(u"node-a", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 0),
                   from(u"rbn", u"ZZ2CD", 5, Mode::CW, u"ZZ3XY-#", 1801)},
                  1, 1, {u"rbn"}},
        MergeCase{"TheSameSpotterByTwoSourcesIsOneReportNamingBoth",
                  {from(u"node-a", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 0),
                   from(u"node-b", u"ZZ2CD", 5, Mode::CW, u"ZZ1AB", 30)},
                  1, 1, {u"node-a", u"node-b"}}),
    [](const auto& test) { return std::string(test.param.name); });
