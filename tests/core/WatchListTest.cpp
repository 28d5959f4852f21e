#include "alerts/AlertThrottle.h"
#include "alerts/WatchList.h"
#include "dxcc/CountryLookup.h"
#include "modes/BandPlan.h"
#include "settings/MemorySettings.h"

#include "filters/NamedValues.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

int band(std::string_view name) {
    return bandIndexFromName(std::u16string(name.begin(), name.end())).value_or(-1);
}

SpotFacts facts(std::u16string_view station, std::string_view bandName, Mode mode, std::string country = "Zedland",
                Continent continent = Continent::Europe) {
    SpotFacts f;
    f.station = station;
    f.band = band(bandName);
    f.mode = mode;
    f.modeGroup = modeGroup(mode);
    f.country = std::move(country);
    f.dxContinent = continent;
    return f;
}

struct PatternCase {
    std::u16string_view pattern;
    std::u16string_view call;
    bool matches;
};

class CallPattern : public testing::TestWithParam<PatternCase> {};

TEST_P(CallPattern, Globs) {
    EXPECT_EQ(matchesCallPattern(GetParam().pattern, GetParam().call), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Table, CallPattern,
                         testing::Values(PatternCase{u"ZZ1*", u"ZZ1AB", true}, PatternCase{u"ZZ1*", u"ZZ1", true},
                                         PatternCase{u"ZZ1*", u"ZZ2AB", false}, PatternCase{u"ZZ?AB", u"ZZ9AB", true},
                                         PatternCase{u"ZZ?AB", u"ZZAB", false}, PatternCase{u"*/P", u"ZZ1AB/P", true},
                                         PatternCase{u"*/P", u"ZZ1AB/PM", false}, PatternCase{u"Z*1*B", u"ZZ11AB", true},
                                         PatternCase{u"*AB*AB", u"ZABXABAB", true}, PatternCase{u"ZZ1AB", u"ZZ1ABC", false}));

struct EntryCase {
    std::u16string_view text;
    WatchEntry::Kind kind;
    std::u16string_view target;
    std::uint32_t bands;
    std::uint32_t modes;
    std::uint32_t groups;
};

class WatchEntryParse : public testing::TestWithParam<EntryCase> {};

TEST_P(WatchEntryParse, ReadsTargetAndOptions) {
    const WatchEntryResult result = parseWatchEntry(GetParam().text);
    ASSERT_TRUE(result.entry) << result.error;
    EXPECT_EQ(result.entry->kind, GetParam().kind);
    EXPECT_EQ(result.entry->target, GetParam().target);
    EXPECT_EQ(result.entry->bands, GetParam().bands);
    EXPECT_EQ(result.entry->modes, GetParam().modes);
    EXPECT_EQ(result.entry->modeGroups, GetParam().groups);
}

const std::uint32_t k20And40 = (1u << band("20m")) | (1u << band("40m"));
const std::uint32_t kFt8 = 1u << static_cast<int>(Mode::FT8);
const std::uint32_t kCwGroup = 1u << static_cast<int>(ModeGroup::CW);

INSTANTIATE_TEST_SUITE_P(
    Table, WatchEntryParse,
    testing::Values(EntryCase{u"zz1ab", WatchEntry::Kind::Call, u"ZZ1AB", 0, 0, 0},
                    EntryCase{u" ZZ1* ", WatchEntry::Kind::Pattern, u"ZZ1*", 0, 0, 0},
                    EntryCase{u"ZZ?AB bands=20m,40m", WatchEntry::Kind::Pattern, u"ZZ?AB", k20And40, 0, 0},
                    EntryCase{u"eu modes=cw,FT8", WatchEntry::Kind::Continent, u"EU", 0, kFt8, kCwGroup},
                    EntryCase{u"Zedland Isles  BANDS=40m, 20m", WatchEntry::Kind::Country, u"Zedland Isles", k20And40, 0, 0}));

struct BadEntryCase {
    std::u16string_view text;
    std::string_view errorMentions;
};

class WatchEntryRefused : public testing::TestWithParam<BadEntryCase> {};

TEST_P(WatchEntryRefused, SaysWhy) {
    const WatchEntryResult result = parseWatchEntry(GetParam().text);
    EXPECT_FALSE(result.entry);
    EXPECT_NE(result.error.find(GetParam().errorMentions), std::string::npos) << result.error;
}

INSTANTIATE_TEST_SUITE_P(Table, WatchEntryRefused,
                         testing::Values(BadEntryCase{u"", "names no"}, BadEntryCase{u"  bands=20m", "names no"},
                                         BadEntryCase{u"ZZ1AB bands=9m", "unknown band \"9m\""},
                                         BadEntryCase{u"ZZ1AB modes=SSTV", "unknown mode \"SSTV\""},
                                         BadEntryCase{u"ZZ1AB band=20m", "unknown option"},
                                         BadEntryCase{u"ZZ1AB modes=", "names nothing"},
                                         BadEntryCase{u"ZZ1AB bands=20m 40m", "not an option"},
                                         BadEntryCase{u"**", "every station"},
                                         BadEntryCase{u"ZZ-1*", "only letters"},
                                         BadEntryCase{u"ZZ1ABCDEFGHIJKLMNOPQRSTUVWXYZ0123*", "at most 31"}));

TEST(WatchEntryParse, RefusesCountriesTheFileDoesNotKnow) {
    CountryLookup countries(*parseCountryFile("Zedland:  14:  28:  EU:  51.0:  -10.0:  -1.0:  ZZ:\n  ZZ;\n").file);
    EXPECT_TRUE(parseWatchEntry(u"ZEDLAND", &countries).entry);
    EXPECT_NE(parseWatchEntry(u"Atlantis", &countries).error.find("Atlantis"), std::string::npos);
}

WatchList listOf(std::initializer_list<std::u16string_view> texts) {
    WatchList list;
    for (std::u16string_view text : texts)
        list.add(*parseWatchEntry(text).entry);
    return list;
}

TEST(WatchList, FindsTheLowestMatchingEntryOfAnyKind) {
    const WatchList list = listOf({u"ZZ9XX", u"zedland modes=phone", u"ZZ1* bands=40m", u"ZZ1AB modes=CW", u"*/P",
                                   u"NA", u"ZZ1AB"});
    EXPECT_EQ(list.firstMatch(facts(u"ZZ9XX", "20m", Mode::CW)), 0);
    EXPECT_EQ(list.firstMatch(facts(u"ZZ1AB", "20m", Mode::USB)), 1);
    EXPECT_EQ(list.firstMatch(facts(u"ZZ1AB", "40m", Mode::CW)), 2);
    EXPECT_EQ(list.firstMatch(facts(u"ZZ1AB", "20m", Mode::CW)), 3);
    EXPECT_EQ(list.firstMatch(facts(u"ZZ1AB", "20m", Mode::FT8)), 6);
    EXPECT_EQ(list.firstMatch(facts(u"ZY5AA/P", "20m", Mode::FT8, "Ypsiland", Continent::NorthAmerica)), 4);
    EXPECT_EQ(list.firstMatch(facts(u"ZY5AA", "20m", Mode::FT8, "Ypsiland", Continent::NorthAmerica)), 5);
    EXPECT_EQ(list.firstMatch(facts(u"ZY5AA", "20m", Mode::FT8, "Ypsiland", Continent::Asia)), -1);
    // A watched call is found under its portable forms.
    EXPECT_EQ(list.firstMatch(facts(u"ZY/ZZ9XX", "20m", Mode::CW, "")), 0);
}

TEST(WatchList, LoadsUpToTheFirstGapReportingBadEntries) {
    MemorySettings settings;
    settings.WriteProfileString(u"ALERTS", u"WATCH0", u"ZZ1AB");
    settings.WriteProfileString(u"ALERTS", u"WATCH1", u"ZZ1AB bands=11m");
    settings.WriteProfileString(u"ALERTS", u"WATCH2", u"EU");
    settings.WriteProfileString(u"ALERTS", u"WATCH4", u"ZZ2CD");  // after the gap: not read
    const WatchList::Loaded loaded = WatchList::load(settings);
    EXPECT_EQ(loaded.list.size(), 2);
    EXPECT_EQ(loaded.texts, (std::vector<std::u16string>{u"ZZ1AB", u"ZZ1AB bands=11m", u"EU"}));
    ASSERT_EQ(loaded.problems.size(), 1u);
    EXPECT_EQ(loaded.problems[0].index, 1);

    WatchList::save(settings, std::vector<std::u16string>{u"ZY1*"});
    EXPECT_EQ(WatchList::load(settings).texts, std::vector<std::u16string>{u"ZY1*"});
    EXPECT_EQ(settings.GetProfileString(u"ALERTS", u"WATCH2"), u"");
}

TEST(AlertThrottle, OncePerStationAndBandPerLifetime) {
    AlertThrottle throttle;
    EXPECT_TRUE(throttle.shouldAlert(u"ZZ1AB", 5, 1000, 600));
    EXPECT_FALSE(throttle.shouldAlert(u"ZZ1AB", 5, 1599, 600));
    EXPECT_TRUE(throttle.shouldAlert(u"ZZ1AB", 3, 1599, 600));
    EXPECT_TRUE(throttle.shouldAlert(u"ZZ2CD", 5, 1599, 600));
    EXPECT_TRUE(throttle.shouldAlert(u"ZZ1AB", 5, 1600, 600));
    EXPECT_FALSE(throttle.shouldAlert(u"ZZ1AB", 5, 1601, 600));
}

TEST(AlertThrottle, ForgetsWhatIsOlderThanTheLifetime) {
    AlertThrottle throttle;
    for (int i = 0; i < 1000; ++i)
        throttle.shouldAlert(u"ZZ" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"1", i / 26, i, 60);
    EXPECT_LE(throttle.remembered(), 61u);
    // A clock set back does not silence the station for the size of the jump.
    EXPECT_TRUE(throttle.shouldAlert(u"ZZA1", 38, 10, 60));
}

}  // namespace
