#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <string>

using quendra::MemorySettings;
using quendra::Spot;
using quendra::SpotStore;
using quendra::testing::ManualClock;

namespace {

// A column-form announcement laid out as nodes send it: frequency ending in column 23, station
// from column 26, comment from column 39, time from column 70.
std::u16string columnLine(std::u16string author, std::u16string frequency, std::u16string station,
                          std::u16string comment, std::u16string time) {
    std::u16string line = u"DX de " + author + u":";
    line.append(24 - line.size() - frequency.size(), u' ');
    line += frequency;
    line.append(26 - line.size(), u' ');
    line += station;
    line.append(39 - line.size(), u' ');
    line += comment;
    line.append(70 - line.size(), u' ');
    return line + time;
}

const std::u16string kExample1 = columnLine(u"ZZ1AB", u"14025.0", u"ZZ2CD", u"CW 599", u"1234Z");
const std::u16string kExample2 = u"1234Z DX de ZZ1AB: 14025.0 ZZ2CD CW 599";

struct ParseCase {
    const char* name;
    std::u16string text;
    bool stored;
    std::u16string author, frequency, station, info, gmt;
};

ParseCase rejected(const char* name, std::u16string text) {
    return ParseCase{name, std::move(text), false, {}, {}, {}, {}, {}};
}

class SpotParserFixture {
protected:
    MemorySettings settings;
    ManualClock clock;
    SpotStore store{settings, clock};
};

void expectFields(const SpotStore& store, int index, const ParseCase& c) {
    const Spot& spot = store.spotAt(index);
    EXPECT_EQ(spot.author, c.author);
    EXPECT_EQ(spot.frequency, c.frequency);
    EXPECT_EQ(spot.station, c.station);
    EXPECT_EQ(spot.info, c.info);
    EXPECT_EQ(spot.gmt, c.gmt);
    EXPECT_EQ(spot.dxNode, u"NODE");
}

class ColumnFormTest : public SpotParserFixture, public ::testing::TestWithParam<ParseCase> {};
class TimedFormTest : public SpotParserFixture, public ::testing::TestWithParam<ParseCase> {};

TEST_P(ColumnFormTest, ReadsFieldsOrRejects) {
    const ParseCase& c = GetParam();
    const int index = store.parseColumnSpot(c.text, u"NODE");
    ASSERT_EQ(index, c.stored ? 0 : -1);
    ASSERT_EQ(store.count(), c.stored ? 1 : 0);
    if (c.stored)
        expectFields(store, index, c);
}

const std::u16string kInfoExample1 = u"CW 599" + std::u16string(25, u' ');

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnFormTest,
    ::testing::Values(
        ParseCase{"Example", kExample1, true, u"ZZ1AB", u"14025.0", u"ZZ2CD", kInfoExample1, u"12:34"},
        ParseCase{"LowerCaseCallsAreFolded", columnLine(u"zz1ab", u"7025", u"zz2cd", u"", u"0001"),
                  true, u"ZZ1AB", u"7025", u"ZZ2CD", std::u16string(31, u' '), u"00:01"},
        ParseCase{"TimeColumnsNeedNotBeDigits", columnLine(u"A", u"1", u"B", u"x", u"ab:c"), true,
                  u"A", u"1", u"B", u"x" + std::u16string(30, u' '), u"ab::c"},
        rejected("NoColonLeavesNoFrequency",
                 u"DX de ZZ1AB     14025.0  ZZ2CD        CW 599                         1234Z"),
        rejected("OnlyTwoWords", u"DX de"),
        rejected("NoStationAfterFrequency", u"DX de A: 14025"),
        rejected("NoStationOnlySpaces", u"DX de A: 14025     "),
        rejected("EmptyText", u""),
        ParseCase{"SecondSpaceBelongsToAuthor", u"DX de  ab: 1 c", true, u" AB", u"1", u"C", u"",
                  u""},
        ParseCase{"ColonsBeforeAuthorAreSkipped", u"DX de ::ab: 1 c", true, u"AB", u"1", u"C",
                  u"", u""},
        ParseCase{"ListingThatLooksLikeSpot", u"DXCC listing for zz: 150 entries", true,
                  u"FOR ZZ", u"150", u"ENTRIES", u"", u""},
        ParseCase{"ShortTextHasNoTime", kExample1.substr(0, 73), true, u"ZZ1AB", u"14025.0",
                  u"ZZ2CD", kInfoExample1, u""},
        ParseCase{"ExactlyFourTimeColumns", kExample1.substr(0, 74), true, u"ZZ1AB", u"14025.0",
                  u"ZZ2CD", kInfoExample1, u"12:34"},
        ParseCase{"InfoCutAtTextEnd", kExample1.substr(0, 45), true, u"ZZ1AB", u"14025.0",
                  u"ZZ2CD", u"CW 599", u""},
        ParseCase{"FortyCharactersGiveOneInfoCharacter", kExample1.substr(0, 40), true, u"ZZ1AB",
                  u"14025.0", u"ZZ2CD", u"C", u""},
        ParseCase{"ThirtyNineCharactersGiveNoInfo", kExample1.substr(0, 39), true, u"ZZ1AB",
                  u"14025.0", u"ZZ2CD", u"", u""},
        ParseCase{"LineEndRunsIntoStation", u"DX de A: 14 B\r\nnext", true, u"A", u"14",
                  u"B\r\nNEXT", u"", u""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_P(TimedFormTest, ReadsFieldsOrRejects) {
    const ParseCase& c = GetParam();
    const int index = store.parseTimedSpot(c.text, u"NODE");
    ASSERT_EQ(index, c.stored ? 0 : -1);
    ASSERT_EQ(store.count(), c.stored ? 1 : 0);
    if (c.stored)
        expectFields(store, index, c);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimedFormTest,
    ::testing::Values(
        ParseCase{"Example", kExample2, true, u"ZZ1AB", u"14025.0", u"ZZ2CD", u"CW 599", u"12:34"},
        rejected("LowerCaseDxRejected", u"1234Z dx de ZZ1AB: 14025.0 ZZ2CD CW 599"),
        rejected("DxMustBeWholeWord", u"1234Z DXX de ZZ1AB: 14025.0 ZZ2CD"),
        ParseCase{"AnyThirdWord", u"1234Z DX from zz1ab: 14025.0 zz2cd", true, u"ZZ1AB",
                  u"14025.0", u"ZZ2CD", u"", u"12:34"},
        rejected("ZeroFrequencyRejected", u"1234Z DX de A: 0.0 B"),
        rejected("CommaFrequencyRejected", u"1234Z DX de A: ,5 B"),
        rejected("PointFrequencyRejected", u"1234Z DX de A: .5 B"),
        rejected("LetterFrequencyRejected", u"1234Z DX de A: k14 B"),
        ParseCase{"NegativeFrequencyAccepted", u"1234Z DX de A: -7 B", true, u"A", u"-7", u"B",
                  u"", u"12:34"},
        rejected("NoColon", u"1234Z DX de A 14025 B"),
        rejected("NoStation", u"1234Z DX de A: 14025"),
        rejected("OnlyTimeWord", u"1234Z"),
        ParseCase{"CommentKeepsInnerAndTrailingSpaces", u"1234Z DX de A: 7 B  two  words  \r\nX",
                  true, u"A", u"7", u"B", u" two  words  ", u"12:34"},
        ParseCase{"CommentStopsAtLineEnd", u"1234Z DX de A: 7 B \r\nnext line", true, u"A", u"7",
                  u"B", u"", u"12:34"},
        ParseCase{"LineEndRunsIntoStation", u"1234Z DX de A: 7 B\r\nnext line", true, u"A", u"7",
                  u"B\r\nNEXT", u"line", u"12:34"},
        ParseCase{"OnlyFirstOfTwoLines",
                  u"1234Z DX de A: 7 B one\r\n1235Z DX de C: 14 D two\r\n", true, u"A", u"7",
                  u"B", u"one", u"12:34"}),
    [](const auto& param) { return std::string(param.param.name); });

class SpotDuplicateTest : public SpotParserFixture, public ::testing::Test {};

TEST_F(SpotDuplicateTest, KeyIsAuthorFrequencyTextAndFoldedStation) {
    ASSERT_EQ(store.parseTimedSpot(kExample2, u"NODE1"), 0);
    // Same spot through another node, another form, time, comment or letter case: dropped.
    EXPECT_EQ(store.parseTimedSpot(u"2359Z DX de zz1ab: 14025.0 Zz2cD other", u"NODE2"), -1);
    EXPECT_EQ(store.parseColumnSpot(kExample1, u"NODE3"), -1);
    // Another spelling of the frequency is another spot.
    EXPECT_EQ(store.parseTimedSpot(u"1234Z DX de ZZ1AB: 14025.00 ZZ2CD", u"NODE1"), 1);
    EXPECT_EQ(store.parseTimedSpot(u"1234Z DX de ZZ1AB: 14025,0 ZZ2CD", u"NODE1"), 2);
    EXPECT_EQ(store.parseTimedSpot(u"1234Z DX de ZZ9AB: 14025.0 ZZ2CD", u"NODE1"), 3);
    EXPECT_EQ(store.parseTimedSpot(u"1234Z DX de ZZ1AB: 14025.0 ZZ9CD", u"NODE1"), 4);
    EXPECT_EQ(store.count(), 5);
}

TEST_F(SpotDuplicateTest, DirectlyAppendedDuplicateKeepsKeyUntilBothExpire) {
    settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 10);
    ASSERT_EQ(store.parseTimedSpot(kExample2, u"N"), 0);
    clock.advance(5);
    auto copy = std::make_unique<Spot>(store.spotAt(0));
    copy->received = clock.now();
    ASSERT_EQ(store.append(std::move(copy)), 1);
    clock.advance(6);
    ASSERT_EQ(store.expireSpots(), 1);
    EXPECT_TRUE(store.isDuplicate(store.spotAt(0)));
    EXPECT_EQ(store.parseTimedSpot(kExample2, u"N"), -1);
    clock.advance(5);
    ASSERT_EQ(store.expireSpots(), 1);
    EXPECT_EQ(store.parseTimedSpot(kExample2, u"N"), 0);
}

TEST_F(SpotDuplicateTest, ClearingForgetsKeys) {
    ASSERT_EQ(store.parseTimedSpot(kExample2, u"N"), 0);
    store.clearSpots();
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.parseTimedSpot(kExample2, u"N"), 0);
}

}  // namespace

namespace {

// The parsers alone, as values: no store, clock or settings.
TEST(SpotParsersAsValuesTest, EachFormGivesTheWholeSpot) {
    using quendra::ParsedSpot;
    EXPECT_EQ(quendra::parseColumnForm(
                  u"DX de zz1ab:     14025.0  zz2cd        CW 599                         1234Z"),
              (ParsedSpot{u"ZZ2CD", u"ZZ1AB", u"14025.0", u"CW 599                         ", u"12:34"}));
    EXPECT_EQ(quendra::parseTimedForm(u"1235Z DX de ZZ3EF: 7012,5 ZZ4GH up 2"),
              (ParsedSpot{u"ZZ4GH", u"ZZ3EF", u"7012,5", u"up 2", u"12:35"}));
    EXPECT_EQ(quendra::parseTimedForm(u"1235Z DX de ZZ3EF: .5 ZZ4GH"), std::nullopt);
    EXPECT_EQ(quendra::parseColumnForm(u"DX de"), std::nullopt);
}

}  // namespace
