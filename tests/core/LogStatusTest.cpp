#include "log/EntityNumbers.h"
#include "log/OperatorLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

using namespace quendra;

namespace {

// amateurBands() indexes.
constexpr int k40m = 3;
constexpr int k20m = 5;
constexpr int k15m = 7;
constexpr int k10m = 9;

// Made-up entities; ZZ, ZY and ZX stand for no real country.
constexpr std::string_view kSmallCsv =
    "ZZ,Zedland,901,EU,14,28,51.00,-10.00,-1.0,ZZ =ZY1ZZ;\n"
    "ZY,Ypsiland,902,NA,5,8,37.60,91.87,5.0,ZY ZY0(4)[7];\r\n"
    "\n"
    "*ZZ/i,Zedland Isles,901,EU,14,27,60.50,1.50,0.0,ZZ5I;\n"
    "ZX,Xland,903,AF,35,46,9.87,-2.25,-1.0,ZX;\n";

EntityNumbers smallNumbers() {
    EntityNumbersResult result = parseEntityNumbers(kSmallCsv);
    EXPECT_TRUE(result.ok()) << result.error.describe();
    return result.ok() ? std::move(*result.numbers) : EntityNumbers();
}

TEST(EntityNumbersParse, ResolvesCallsWithTheCountryFileRules) {
    const EntityNumbers numbers = smallNumbers();
    EXPECT_EQ(numbers.entityCount(), 4u);
    EXPECT_EQ(numbers.numberOf("ZZ1AB"), 901);
    EXPECT_EQ(numbers.numberOf("ZY1ZZ"), 901);   // an exact call beats its prefix
    EXPECT_EQ(numbers.numberOf("zy0ab/p"), 902);
    EXPECT_EQ(numbers.numberOf(u"ZX1AB"), 903);
    EXPECT_EQ(numbers.numberOf("QQ1AB"), 0);
}

TEST(EntityNumbersParse, DamagedLineGivesItsLineNumber) {
    struct Row {
        std::string_view text;
        int line;
    };
    for (const Row& row : {Row{"ZZ,Zedland,901,EU,14,28,51.00,-10.00,-1.0,ZZ;\nZY,Ypsiland,abc,NA,5,8,1,1,5.0,ZY;\n", 2},
                           Row{"ZZ,Zedland,901,EU,14,28,51.00,-10.00,-1.0,ZZ;\n\nZY,Ypsiland,902,NA,5,8,1,1,5.0,Z!;\n", 3},
                           Row{"ZZ,Zedland,901,EU,14\n", 1},
                           Row{"ZZ,Zedland,901,EU,99,28,51.00,-10.00,-1.0,ZZ;\n", 1}}) {
        const EntityNumbersResult result = parseEntityNumbers(row.text);
        EXPECT_FALSE(result.ok()) << row.text;
        EXPECT_EQ(result.error.line, row.line) << result.error.describe();
    }
}

// The file Debian installs with hamradio-files.
TEST(EntityNumbersInstalled, WellKnownCallsGetTheirDxccNumbers) {
    std::ifstream in("/usr/share/hamradio-files/cty.csv", std::ios::binary);
    if (!in)
        GTEST_SKIP() << "no /usr/share/hamradio-files/cty.csv (package hamradio-files)";
    std::ostringstream text;
    text << in.rdbuf();
    const EntityNumbersResult result = parseEntityNumbers(text.str());
    ASSERT_TRUE(result.ok()) << result.error.describe();
    const EntityNumbers& numbers = *result.numbers;
    EXPECT_GT(numbers.entityCount(), 300u);
    EXPECT_EQ(numbers.numberOf("DL1ABC"), 230);    // Germany
    EXPECT_EQ(numbers.numberOf("K1ABC"), 291);     // United States
    EXPECT_EQ(numbers.numberOf("W1AW/P"), 291);
    EXPECT_EQ(numbers.numberOf("KH6/W1AW"), 110);  // Hawaii
    EXPECT_EQ(numbers.numberOf("VP2EAA"), 12);     // Anguilla, beside VP2M Montserrat and VP2V
    EXPECT_EQ(numbers.numberOf("VP2MAA"), 96);
    EXPECT_EQ(numbers.numberOf("G4ABC"), 223);     // England
    EXPECT_EQ(numbers.numberOf("JA1ABC"), 339);
    EXPECT_EQ(numbers.numberOf("3D2CR"), 489);     // Conway Reef, an exact call
    // Contest-only areas carry the number of the DXCC entity they lie in.
    EXPECT_EQ(numbers.numberOf("IT9ABC"), 248);    // Sicily: Italy
    EXPECT_EQ(numbers.numberOf("4U1A"), 206);      // Vienna Intl Ctr: Austria
}

// Zedland (901): 20m CW confirmed by LoTW, 40m SSB unconfirmed, 15m FT8 confirmed by eQSL only.
// Ypsiland (902): 20m CW unconfirmed, through the record's DXCC field whatever its call says.
// Xland (903): never worked. One damaged record, one with "no entity".
constexpr std::string_view kSmallLog =
    "Made by hand <EOH>\n"
    "<CALL:5>ZZ1AA<BAND:3>20m<MODE:2>CW<LOTW_QSL_RCVD:1>Y<EOR>\n"
    "<CALL:5>ZZ1BB<BAND:3>40m<MODE:3>SSB<EOR>\n"
    "<CALL:5>ZZ1CC<FREQ:6>21.074<MODE:3>FT8<EQSL_QSL_RCVD:1>Y<EOR>\n"
    "<CALL:5>ZX1AA<DXCC:3>902<BAND:3>20m<MODE:2>CW<EOR>\n"
    "<CALL:9>ZZ1DD<EOR>\n"
    "<CALL:8>ZZ1EE/MM<DXCC:1>0<BAND:3>10m<MODE:2>CW<EOR>\n";

class SmallLog : public testing::Test {
protected:
    void SetUp() override {
        log.feed(kSmallLog);
        log.finish();
    }
    EntityNumbers numbers = smallNumbers();
    OperatorLog log{numbers};
};

struct SpotCase {
    const char* name;
    std::string_view call;
    int band;
    ModeGroup group;
    NeedStatus worked;     // LOG/NEED=worked
    NeedStatus confirmed;  // LOG/NEED=confirmed
    NeedStatus withEqsl;   // and LOG/EQSL=1
};

class SmallLogStatus : public SmallLog, public testing::WithParamInterface<SpotCase> {};

TEST_P(SmallLogStatus, StatusUnderEachPolicy) {
    const SpotCase& spot = GetParam();
    const int entity = numbers.numberOf(spot.call);
    EXPECT_EQ(log.status(entity, spot.call, spot.band, spot.group, {NeedPolicy::Worked, true}), spot.worked);
    EXPECT_EQ(log.status(entity, spot.call, spot.band, spot.group, {NeedPolicy::Confirmed, false}), spot.confirmed);
    EXPECT_EQ(log.status(entity, spot.call, spot.band, spot.group, {NeedPolicy::Confirmed, true}), spot.withEqsl);
}

using enum NeedStatus;
using enum ModeGroup;
INSTANTIATE_TEST_SUITE_P(
    Table, SmallLogStatus,
    testing::Values(SpotCase{"EntityNeverWorked", "ZX9ZZ", k20m, CW, NewDxcc, NewDxcc, NewDxcc},
                    SpotCase{"SameCallSameSlot", "ZZ1AA", k20m, CW, Worked, Worked, Worked},
                    SpotCase{"BandNeverWorked", "ZZ5XX", k10m, CW, NewBand, NewBand, NewBand},
                    SpotCase{"BandWorkedInAnotherMode", "ZZ5XX", k40m, CW, NewSlot, NewBand, NewBand},
                    SpotCase{"ModeOnlyEqslConfirmed", "ZZ5XX", k20m, Digital, NewSlot, NewMode, NewSlot},
                    SpotCase{"WorkedButUnconfirmed", "ZZ1BB", k40m, Phone, Worked, NewBand, NewBand},
                    SpotCase{"EqslOnly", "ZZ1CC", k15m, Digital, Worked, NewBand, Worked},
                    SpotCase{"SlotWorkedByAnotherCall", "ZY2AB", k20m, CW, None, NewDxcc, NewDxcc},
                    SpotCase{"ModeUnknown", "ZZ5XX", k20m, Unknown, None, None, None},
                    SpotCase{"NoEntity", "QQ1AA", k20m, CW, None, None, None}),
    [](const testing::TestParamInfo<SpotCase>& row) { return std::string(row.param.name); });

TEST_F(SmallLog, CountsForTheStatusLine) {
    const LogCounts counts = log.counts();
    EXPECT_EQ(counts.qsos, 5u);
    EXPECT_EQ(counts.entities, 2);
    EXPECT_EQ(counts.damaged, 1);
    // A station with no entity is still matched by its call.
    EXPECT_EQ(log.status(0, u"ZZ1EE/MM", k10m, CW, {}), Worked);
}

TEST_F(SmallLog, AppendedQsoConcernsItsEntityAndCallOnly) {
    EXPECT_TRUE(log.feed("<CALL:5>ZX9ZZ<BAND:3>20m").empty());  // not complete yet
    const LogChanges changes = log.feed("<MODE:2>CW<EOR>\n");
    EXPECT_EQ(changes.addedQsos(), 1);
    EXPECT_FALSE(changes.concernsEverything());
    EXPECT_TRUE(changes.concerns(903, "ZX1ZZ"));
    EXPECT_TRUE(changes.concerns(0, "ZX9ZZ"));
    EXPECT_FALSE(changes.concerns(901, "ZZ1AA"));
    EXPECT_EQ(log.status(903, "ZX9ZZ", k20m, CW, {}), Worked);
    EXPECT_EQ(log.status(903, "ZX9ZZ", k20m, CW, {NeedPolicy::Confirmed, true}), NewDxcc);
    EXPECT_EQ(log.counts().entities, 3);

    // The same slot again changes no status.
    const LogChanges repeat = log.feed("<CALL:5>ZX9ZZ<BAND:3>20m<MODE:2>CW<EOR>\n");
    EXPECT_EQ(repeat.addedQsos(), 1);
    EXPECT_TRUE(repeat.empty());
}

TEST_F(SmallLog, ClearingForgetsTheLog) {
    log.clear();
    EXPECT_EQ(log.counts().qsos, 0u);
    EXPECT_EQ(log.counts().damaged, 0);
    EXPECT_EQ(log.status(901, "ZZ1AA", k20m, CW, {}), NewDxcc);
}

}  // namespace
