#include "dxcc/CountryLookup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace quendra;

namespace {

// Made-up entities in the file's own layout; ZZ and ZY stand for no real country.
constexpr std::string_view kSmallFile =
    "Zedland:                  14:  28:  EU:   51.00:   -10.00:    -1.0:  ZZ:\r\n"
    "    ZZ,ZZ9(15)[29],ZZ8<40.5/-20.25>,ZZ7{AF},ZZ6~-3.5~,=ZZ1AB/LH,\r\n"
    "    =ZZ1XX(16)[30]{AS}<10.0/20.0>~2.0~;\r\n"
    "Ypsiland:                 05:  08:  NA:   37.60:    91.87:     5.0:  ZY:\n"
    "    ZY,ZY0A,=ZZ2CALL;\n"
    "Zedland Isles:            14:  27:  EU:   60.50:     1.50:     0.0:  *ZZ/i:\n"
    "    ZZ5,=ZZ1AB/LH;\n";

CountryLookup smallLookup(CountryLookup::ContestOnly contestOnly = CountryLookup::ContestOnly::Ignore) {
    CountryFileResult result = parseCountryFile(kSmallFile);
    EXPECT_TRUE(result.ok()) << result.error.describe();
    return CountryLookup(std::move(*result.file), contestOnly);
}

std::string entityName(const CountryLookup& lookup, std::string_view call) {
    const CountryEntity* entity = lookup.entity(lookup.find(call));
    return entity ? entity->name : "";
}

TEST(CountryFileParse, ReadsEntityFieldsTurningWestToEast) {
    const CountryFileResult result = parseCountryFile(kSmallFile);
    ASSERT_TRUE(result.ok()) << result.error.describe();
    ASSERT_EQ(result.file->entities.size(), 3u);
    const CountryEntity& ypsiland = result.file->entities[1];
    EXPECT_EQ(ypsiland.name, "Ypsiland");
    EXPECT_EQ(ypsiland.cqZone, 5);
    EXPECT_EQ(ypsiland.ituZone, 8);
    EXPECT_EQ(ypsiland.continent, Continent::NorthAmerica);
    EXPECT_DOUBLE_EQ(ypsiland.position.latitude, 37.60);
    EXPECT_DOUBLE_EQ(ypsiland.position.longitude, -91.87);
    EXPECT_DOUBLE_EQ(ypsiland.utcOffsetHours, -5.0);
    EXPECT_FALSE(ypsiland.contestOnly);
    const CountryEntity& isles = result.file->entities[2];
    EXPECT_TRUE(isles.contestOnly);
    EXPECT_EQ(isles.primaryPrefix, "ZZ/i");
}

struct CallCase {
    const char* name;
    std::string_view call;
    std::string entity;  // "" for no country
    int cqZone = 0;
};

class SmallFileLookup : public testing::TestWithParam<CallCase> {};

TEST_P(SmallFileLookup, ResolvesCall) {
    static const CountryLookup lookup = smallLookup();
    const CountryMatch match = lookup.find(GetParam().call);
    EXPECT_EQ(entityName(lookup, GetParam().call), GetParam().entity);
    EXPECT_EQ(match.known(), !GetParam().entity.empty());
    if (GetParam().cqZone != 0) {
        EXPECT_EQ(match.cqZone, GetParam().cqZone);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SmallFileLookup,
    testing::Values(
        CallCase{"Prefix", "ZZ3AB", "Zedland", 14},
        CallCase{"LongestPrefixWins", "ZY0ABC", "Ypsiland", 5},
        CallCase{"ExactCallBeatsPrefix", "ZZ2CALL", "Ypsiland"},
        CallCase{"ExactCallIsWholeCallOnly", "ZZ2CALLX", "Zedland"},
        CallCase{"ExactCallWithSlash", "ZZ1AB/LH", "Zedland"},
        CallCase{"ExactCallKeptUnderPortableSuffix", "ZZ2CALL/P", "Ypsiland"},
        CallCase{"LowerCaseAndBlanks", "  zz3ab \t", "Zedland"},
        CallCase{"Portable", "ZY1AB/P", "Ypsiland"},
        CallCase{"Mobile", "ZY1AB/M", "Ypsiland"},
        CallCase{"Qrp", "ZY1AB/QRP", "Ypsiland"},
        CallCase{"Alternative", "ZY1AB/A", "Ypsiland"},
        CallCase{"MaritimeMobileHasNoCountry", "ZY1AB/MM", ""},
        CallCase{"AeronauticalMobileHasNoCountry", "ZY1AB/AM", ""},
        CallCase{"AreaDigitMovesCall", "ZZ1AB/9", "Zedland", 15},
        CallCase{"AreaDigitThenPortable", "ZZ1AB/9/P", "Zedland", 15},
        CallCase{"PrefixBeforeSlashDecides", "ZY/ZZ1AB", "Ypsiland"},
        CallCase{"KnownPrefixAfterSlashDecides", "ZZ1AB/ZY", "Ypsiland"},
        CallCase{"UnknownSuffixLeavesCall", "ZZ1AB/QQ", "Zedland"},
        CallCase{"UnknownPrefixFallsBackToCall", "QQ/ZZ1AB", "Zedland"},
        CallCase{"ContestOnlyEntityIgnored", "ZZ5AA", "Zedland"},
        CallCase{"UnknownCall", "QQ1AB", ""},
        CallCase{"Empty", "", ""},
        CallCase{"OnlyBlanks", "   ", ""},
        CallCase{"OnlySlashes", "///", ""},
        CallCase{"InnerBlank", "ZZ1 AB", ""},
        CallCase{"Punctuation", "ZZ1AB!", ""},
        CallCase{"TooLong", "ZZ1ABCDEFGHIJKLMNOPQRSTUVWXYZ", ""},
        CallCase{"TooManyParts", "ZZ/ZZ/ZZ/ZZ/ZZ", ""}),
    [](const testing::TestParamInfo<CallCase>& row) { return std::string(row.param.name); });

TEST(CountryLookupOverrides, ItemOverridesReplaceEntityValues) {
    const CountryLookup lookup = smallLookup();
    const CountryMatch plain = lookup.find("ZZ3AB");
    EXPECT_EQ(lookup.find("ZZ9AB").ituZone, 29);
    EXPECT_EQ(lookup.find("ZZ9AB").continent, Continent::Europe);
    EXPECT_EQ(lookup.find("ZZ8AB").position, (LatLon{40.5, 20.25}));
    EXPECT_EQ(lookup.find("ZZ8AB").cqZone, plain.cqZone);
    EXPECT_EQ(lookup.find("ZZ7AB").continent, Continent::Africa);
    EXPECT_DOUBLE_EQ(lookup.find("ZZ6AB").utcOffsetHours, 3.5);
    const CountryMatch all = lookup.find("ZZ1XX");
    EXPECT_EQ(all.cqZone, 16);
    EXPECT_EQ(all.ituZone, 30);
    EXPECT_EQ(all.continent, Continent::Asia);
    EXPECT_EQ(all.position, (LatLon{10.0, -20.0}));
    EXPECT_DOUBLE_EQ(all.utcOffsetHours, -2.0);
}

TEST(CountryLookupContestOnly, IncludedEntityWinsItsRepeatedCalls) {
    const CountryLookup lookup = smallLookup(CountryLookup::ContestOnly::Include);
    EXPECT_EQ(entityName(lookup, "ZZ5AA"), "Zedland Isles");
    EXPECT_EQ(entityName(lookup, "ZZ1AB/LH"), "Zedland Isles");
    EXPECT_EQ(entityName(lookup, "ZZ3AB"), "Zedland");
}

TEST(CountryLookupWideText, MatchesNarrowAndRefusesOtherCharacters) {
    const CountryLookup lookup = smallLookup();
    EXPECT_EQ(lookup.find(u"zy1ab/p").entityIndex, lookup.find("ZY1AB").entityIndex);
    EXPECT_FALSE(lookup.find(u"ZY1AB\u00c4").known());
    EXPECT_FALSE(lookup.find(std::u16string(u"ZY\0AB", 5)).known());
    EXPECT_FALSE(lookup.find(std::u16string(500, u'Z')).known());
    EXPECT_FALSE(CountryLookup().find("ZY1AB").known());
}

struct DamagedCase {
    const char* name;
    std::string_view text;
    int line;
    std::string_view messagePart;
};

class DamagedCountryFile : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedCountryFile, GivesLineAndReason) {
    const CountryFileResult result = parseCountryFile(GetParam().text);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error.line, GetParam().line) << result.error.describe();
    EXPECT_NE(result.error.message.find(GetParam().messagePart), std::string::npos) << result.error.describe();
}

constexpr std::string_view kHeader = "Zedland:  14:  28:  EU:  51.00:  -10.00:  -1.0:  ZZ:\n";

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedCountryFile,
    testing::Values(
        DamagedCase{"Empty", "", 1, "no entities"},
        DamagedCase{"OnlyBlankLines", "\n  \n", 2, "no entities"},
        DamagedCase{"TooFewFields", "Zedland:  14:  28:  EU:  51.00:\n  ZZ;\n", 1, "found 5"},
        DamagedCase{"TextAfterFields", "Zedland: 14: 28: EU: 51: 10: 1: ZZ: extra\n ZZ;\n", 1, "after the 8th"},
        DamagedCase{"CqZoneOutOfRange", "Zedland: 41: 28: EU: 51: 10: 1: ZZ:\n ZZ;\n", 1, "CQ zone '41'"},
        DamagedCase{"ItuZoneNotNumber", "Zedland: 14: x: EU: 51: 10: 1: ZZ:\n ZZ;\n", 1, "ITU zone 'x'"},
        DamagedCase{"UnknownContinent", "Zedland: 14: 28: XX: 51: 10: 1: ZZ:\n ZZ;\n", 1, "continent 'XX'"},
        DamagedCase{"LatitudeOutOfRange", "Zedland: 14: 28: EU: 91: 10: 1: ZZ:\n ZZ;\n", 1, "latitude '91'"},
        DamagedCase{"LongitudeNotNumber", "Zedland: 14: 28: EU: 51: 1O: 1: ZZ:\n ZZ;\n", 1, "longitude '1O'"},
        DamagedCase{"OffsetNaN", "Zedland: 14: 28: EU: 51: 10: nan: ZZ:\n ZZ;\n", 1, "time offset 'nan'"},
        DamagedCase{"NoPrimaryPrefix", "Zedland: 14: 28: EU: 51: 10: 1: *:\n ZZ;\n", 1, "primary prefix"},
        DamagedCase{"MissingSemicolonAtEnd", "\n\nZedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ,\n", 3, "no ';'"},
        DamagedCase{"MissingSemicolonBeforeNextEntity",
                    "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ,\nYpsiland: 5: 8: NA: 37: 91: 5: ZY:\n ZY;\n", 3,
                    "before the prefix list of 'Zedland'"},
        DamagedCase{"ItemsWithoutEntity", " ZZ,ZY;\n", 1, "8 fields"},
        DamagedCase{"TextAfterSemicolon", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ; ZY\n", 2, "after ';'"},
        DamagedCase{"BadCharacterInItem", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n Z#Z;\n", 2, "holds '#'"},
        DamagedCase{"EmptyExactCall", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n =(14);\n", 2, "no call"},
        DamagedCase{"OverlongPrefix", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZZZZZZZZZZZZ;\n", 2, "longer than 12"},
        DamagedCase{"UnclosedOverride", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ(14;\n", 2, "without its closing ')'"},
        DamagedCase{"TextAfterOverride", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ(14)X;\n", 2, "override"},
        DamagedCase{"OverrideZoneOutOfRange", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ[0];\n", 2, "ITU zone '0'"},
        DamagedCase{"PositionWithoutSlash", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ<51>;\n", 2, "position '51'"},
        DamagedCase{"OverrideContinent", "Zedland: 14: 28: EU: 51: 10: 1: ZZ:\n ZZ{eu};\n", 2, "continent 'eu'"},
        DamagedCase{"ControlCharactersQuotedSafely", "Zed\x01:14:28:EU:51:10:1:\x02:\n ZZ\x7f;\n", 2, "holds '?'"}),
    [](const testing::TestParamInfo<DamagedCase>& row) { return std::string(row.param.name); });

TEST(CountryFileLimits, RefusesOversizedTextWithoutReadingIt) {
    const std::string huge(kMaxCountryFileBytes + 1, ' ');
    const CountryFileResult result = parseCountryFile(huge);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error.line, 0);
    EXPECT_EQ(result.error.describe().rfind("the file is larger", 0), 0u);
}

// The file Debian installs with hamradio-files; a newer download keeps these answers.
class InstalledCountryFile : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in("/usr/share/hamradio-files/cty.dat", std::ios::binary);
        if (!in)
            return;
        std::ostringstream text;
        text << in.rdbuf();
        CountryFileResult result = parseCountryFile(text.str());
        ASSERT_TRUE(result.ok()) << result.error.describe();
        entityCount = result.file->entities.size();
        lookup = new CountryLookup(std::move(*result.file));
    }
    static void TearDownTestSuite() {
        delete lookup;
        lookup = nullptr;
    }
    void SetUp() override {
        if (lookup == nullptr)
            GTEST_SKIP() << "no /usr/share/hamradio-files/cty.dat (package hamradio-files)";
    }
    std::string country(std::string_view call) const { return entityName(*lookup, call); }

    static inline CountryLookup* lookup = nullptr;
    static inline std::size_t entityCount = 0;
};

TEST_F(InstalledCountryFile, ResolvesWellKnownCalls) {
    EXPECT_GT(entityCount, 300u);
    EXPECT_EQ(country("DL1ABC"), "Fed. Rep. of Germany");
    EXPECT_EQ(country("W1AW"), "United States of America");
    EXPECT_EQ(country("G4ABC"), "England");
    EXPECT_EQ(country("JA1ABC"), "Japan");
    EXPECT_EQ(country("VK2ABC"), "Australia");
    EXPECT_EQ(country("4U1A"), "Austria");  // repeated by the contest-only Vienna Intl Ctr
    EXPECT_EQ(country("KH6/W1AW"), "Hawaii");
    EXPECT_EQ(country("W1AW/KH6"), "Hawaii");
    EXPECT_EQ(country("dl1abc/mm"), "");
    const CountryMatch west = lookup->find("W6ABC");
    EXPECT_EQ(west.cqZone, 3);
    EXPECT_LT(west.position.longitude, 0.0);
}

}  // namespace
