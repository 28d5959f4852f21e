#include "dxcc/CountryLookup.h"
#include "filters/SpotFacts.h"
#include "filters/SpotFilter.h"
#include "modes/BandPlan.h"
#include "settings/MemorySettings.h"
#include "settings/SettingsCatalogue.h"

#include "filters/NamedValues.h"

#include "support/TwoCountries.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {


CountryLookup lookup() { return quendra::testing::twoCountries(); }

int band(std::string_view name) {
    return bandIndexFromName(std::u16string(name.begin(), name.end())).value_or(-1);
}

SpotFacts zedlandCwOn20() {
    return resolveSpotFacts(u"zz1ab", u"ZY2CD", 14025.0, u"cw 599", lookup());
}

TEST(SpotFacts, ResolvesBandModeCountriesOnce) {
    const SpotFacts facts = zedlandCwOn20();
    EXPECT_EQ(facts.band, band("20m"));
    EXPECT_EQ(facts.mode, Mode::CW);
    EXPECT_EQ(facts.modeGroup, ModeGroup::CW);
    EXPECT_EQ(facts.dxContinent, Continent::Europe);
    EXPECT_EQ(facts.spotterContinent, Continent::NorthAmerica);
    EXPECT_EQ(facts.station, u"ZZ1AB");
    EXPECT_EQ(facts.country, "Zedland");
    EXPECT_EQ(facts.countryPrefix, "ZZ");
    EXPECT_FALSE(facts.skimmer);
    // A skimmer's "-#" says nothing about where it stands.
    EXPECT_EQ(resolveSpotFacts(u"ZZ1AB", u"ZY2CD-#", 14025.0, u"", lookup()).spotterContinent,
              Continent::NorthAmerica);
}

struct SkimmerCase {
    std::u16string_view spotter;
    std::u16string_view comment;
    bool skimmer;
};

class SkimmerShape : public ::testing::TestWithParam<SkimmerCase> {};

TEST_P(SkimmerShape, IsRecognised) {
    EXPECT_EQ(isSkimmerSpot(GetParam().spotter, GetParam().comment), GetParam().skimmer)
        << std::string(GetParam().comment.begin(), GetParam().comment.end());
}

INSTANTIATE_TEST_SUITE_P(Table, SkimmerShape,
                         ::testing::Values(SkimmerCase{u"ZZ1AB-#", u"", true},
                                         SkimmerCase{u"ZZ1AB", u"CW 24 dB 28 WPM CQ", true},
                                         SkimmerCase{u"ZZ1AB", u"  CW    24 dB  28 WPM  CQ", true},
                                         SkimmerCase{u"ZZ1AB", u"FT8 -12 dB 1234 Hz", true},
                                         SkimmerCase{u"ZZ1AB", u"rtty +5 DB", true},
                                         SkimmerCase{u"ZZ1AB", u"cw 599", false},
                                         SkimmerCase{u"ZZ1AB", u"CW 24 WPM", false},
                                         SkimmerCase{u"ZZ1AB", u"CW 24dB", false},
                                         SkimmerCase{u"ZZ1AB-1", u"tnx qso", false},
                                         SkimmerCase{u"ZZ1AB", u"", false}));

struct FilterCase {
    const char* name;
    void (*configure)(SpotFilter&);
    bool shown;
};

class FilterMatch : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterMatch, DecidesOnResolvedFacts) {
    SpotFilter filter;
    GetParam().configure(filter);
    EXPECT_EQ(filter.matches(zedlandCwOn20()), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterMatch,
    ::testing::Values(
        FilterCase{"DefaultShowsAll", [](SpotFilter&) {}, true},
        FilterCase{"BandIn", [](SpotFilter& f) { f.setBands(parseBandList(u"40m, 20M")); }, true},
        FilterCase{"BandOut", [](SpotFilter& f) { f.setBands(parseBandList(u"40m")); }, false},
        FilterCase{"ModeIn", [](SpotFilter& f) { f.setModeGroups(parseModeGroupList(u"cw")); }, true},
        FilterCase{"ModeOut", [](SpotFilter& f) { f.setModeGroups(parseModeGroupList(u"Phone,Digital")); }, false},
        FilterCase{"DxContinentIn", [](SpotFilter& f) { f.setDxContinents(parseContinentList(u"EU")); }, true},
        FilterCase{"DxContinentOut", [](SpotFilter& f) { f.setDxContinents(parseContinentList(u"NA")); }, false},
        FilterCase{"SpotterIn", [](SpotFilter& f) { f.setSpotterContinents(parseContinentList(u"NA")); }, true},
        FilterCase{"SpotterOut", [](SpotFilter& f) { f.setSpotterContinents(parseContinentList(u"EU")); }, false},
        FilterCase{"HidingSkimmersKeepsHumans", [](SpotFilter& f) { f.setShowSkimmers(false); }, true},
        FilterCase{"TextInCall", [](SpotFilter& f) { f.setText(u" z1a "); }, true},
        FilterCase{"TextIsCountryName", [](SpotFilter& f) { f.setText(u"zedl"); }, true},
        FilterCase{"TextIsCountryPrefix", [](SpotFilter& f) { f.setText(u"zz"); }, true},
        FilterCase{"TextElsewhere", [](SpotFilter& f) { f.setText(u"Ypsi"); }, false},
        FilterCase{"AllRestrictionsMustHold",
                   [](SpotFilter& f) {
                       f.setBands(parseBandList(u"20m"));
                       f.setText(u"ZY");
                   },
                   false}),
    [](const ::testing::TestParamInfo<FilterCase>& row) { return std::string(row.param.name); });

TEST(SpotFilter, HidesSkimmerSpotsOnlyWhenAsked) {
    SpotFacts skimmer = zedlandCwOn20();
    skimmer.skimmer = true;
    SpotFilter filter;
    EXPECT_TRUE(filter.matches(skimmer));
    filter.setShowSkimmers(false);
    EXPECT_FALSE(filter.matches(skimmer));
}

TEST(SpotFilter, RestrictedSetRejectsUnresolvedValues) {
    SpotFacts outside = zedlandCwOn20();
    outside.band = -1;
    outside.dxContinent = Continent::Unknown;
    SpotFilter filter;
    EXPECT_TRUE(filter.matches(outside));
    filter.setBands(parseBandList(u"20m"));
    EXPECT_FALSE(filter.matches(outside));
}

TEST(FilterSettings, RoundTripsThroughTheSettings) {
    MemorySettings settings;
    EXPECT_EQ(loadFilterSettings(settings), FilterSettings{});

    FilterSettings saved;
    saved.filter.setBands(parseBandList(u"40m,20m,70cm"));
    saved.filter.setModeGroups(parseModeGroupList(u"Phone,CW"));
    saved.filter.setDxContinents(parseContinentList(u"SA,AF"));
    saved.filter.setSpotterContinents(parseContinentList(u"EU"));
    saved.filter.setShowSkimmers(false);
    saved.filter.setText(u"Zedland");
    saved.barShown = true;
    saved.collapseRepeats = true;
    saveFilterSettings(settings, saved);

    EXPECT_EQ(settings.GetProfileString(u"FILTERS", u"BANDS"), u"40m,20m,70cm");
    EXPECT_EQ(settings.GetProfileString(u"FILTERS", u"MODES"), u"CW,Phone");
    EXPECT_EQ(settings.GetProfileString(u"FILTERS", u"CONTINENTS"), u"AF,SA");
    EXPECT_EQ(settings.GetProfileInt(u"FILTERS", u"SKIMMER", 1), 0);
    EXPECT_EQ(loadFilterSettings(settings), saved);
}

TEST(FilterSettings, GarbageIsSkippedItemByItem) {
    MemorySettings settings;
    settings.WriteProfileString(u"FILTERS", u"BANDS", u"20m,,9m, 40M ,\x00e9,20m");
    settings.WriteProfileString(u"FILTERS", u"MODES", u"Phone,SSB,?");
    settings.WriteProfileString(u"FILTERS", u"CONTINENTS", u"eu,XX,EUR");
    settings.WriteProfileString(u"FILTERS", u"SKIMMER", u"yes");  // not a number: the default
    const FilterSettings loaded = loadFilterSettings(settings);
    EXPECT_EQ(bandListText(loaded.filter.bands()), u"40m,20m");
    EXPECT_EQ(modeGroupListText(loaded.filter.modeGroups()), u"Phone");
    EXPECT_EQ(continentListText(loaded.filter.dxContinents()), u"EU");
    EXPECT_TRUE(loaded.filter.showSkimmers());
}

}  // namespace
