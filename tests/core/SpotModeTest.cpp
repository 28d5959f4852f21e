#include "modes/BandPlan.h"
#include "modes/SpotMode.h"

#include <gtest/gtest.h>

#include <limits>

using namespace quendra;

namespace {

struct CommentCase {
    const char* name;
    std::u16string_view comment;
    Mode mode;
};

class ModeFromComment : public testing::TestWithParam<CommentCase> {};

TEST_P(ModeFromComment, FindsModeWord) {
    EXPECT_EQ(modeFromComment(GetParam().comment), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModeFromComment,
    testing::Values(
        CommentCase{"SkimmerCw", u"CW 24 dB 28 WPM CQ", Mode::CW},
        CommentCase{"SkimmerFt8", u"FT8 -12 dB 1234 Hz", Mode::FT8},
        CommentCase{"LowerCase", u"tnx qso cw 599", Mode::CW},
        CommentCase{"Ssb", u"up 5 ssb", Mode::SSB},
        CommentCase{"Usb", u"USB", Mode::USB},
        CommentCase{"Lsb", u"lsb 59", Mode::LSB},
        CommentCase{"Rtty", u"RTTY contest", Mode::RTTY},
        CommentCase{"Psk", u"psk", Mode::PSK},
        CommentCase{"Psk31", u"PSK31 cq", Mode::PSK},
        CommentCase{"Psk63", u"BPSK63", Mode::PSK},
        CommentCase{"Ft4", u"ft4", Mode::FT4},
        CommentCase{"Jt65", u"JT65 -20", Mode::JT65},
        CommentCase{"Jt9", u"jt9", Mode::JT9},
        CommentCase{"Am", u"AM net", Mode::AM},
        CommentCase{"Fm", u"fm repeater", Mode::FM},
        CommentCase{"Punctuation", u"[FT8],-12", Mode::FT8},
        CommentCase{"FirstModeWordWins", u"RTTY not CW", Mode::RTTY},
        CommentCase{"AmGivesWayToOtherMode", u"9 am cw", Mode::CW},
        CommentCase{"FmGivesWayToOtherMode", u"fm ssb", Mode::SSB},
        CommentCase{"PartOfWordIsNoMode", u"CWT SSBX FT8X XCW", Mode::Unknown},
        CommentCase{"LocatorIsNoMode", u"FM18 JN58", Mode::Unknown},
        CommentCase{"LongWordSkipped", u"PSK31PSK31 cw", Mode::CW},
        CommentCase{"NonLatinNeighbours", u"\u00e9CW\u00e9", Mode::CW},
        CommentCase{"Empty", u"", Mode::Unknown}),
    [](const testing::TestParamInfo<CommentCase>& row) { return std::string(row.param.name); });

TEST(ModeFromComment, NarrowTextMatchesWide) {
    EXPECT_EQ(modeFromComment(std::string_view("CW 24 dB 28 WPM CQ")), Mode::CW);
    EXPECT_EQ(modeFromComment(std::string_view("\xe9\xff ft8")), Mode::FT8);
}

struct FrequencyCase {
    double kHz;
    Mode mode;
    std::string_view band;
};

class BandPlanMode : public testing::TestWithParam<FrequencyCase> {};

TEST_P(BandPlanMode, GivesSegmentModeAndBand) {
    EXPECT_EQ(modeFromBandPlan(GetParam().kHz), GetParam().mode) << GetParam().kHz;
    const AmateurBand* band = amateurBandAt(GetParam().kHz);
    EXPECT_EQ(band ? band->name : std::string_view{}, GetParam().band) << GetParam().kHz;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BandPlanMode,
    testing::Values(
        FrequencyCase{1820.0, Mode::CW, "160m"}, FrequencyCase{1850.0, Mode::SSB, "160m"},
        FrequencyCase{3525.0, Mode::CW, "80m"}, FrequencyCase{3573.0, Mode::FT8, "80m"},
        FrequencyCase{3750.0, Mode::SSB, "80m"}, FrequencyCase{5357.0, Mode::FT8, "60m"},
        FrequencyCase{5352.0, Mode::CW, "60m"}, FrequencyCase{5403.5, Mode::SSB, "60m"},
        FrequencyCase{7025.0, Mode::CW, "40m"}, FrequencyCase{7076.5, Mode::FT8, "40m"},
        FrequencyCase{7150.0, Mode::SSB, "40m"}, FrequencyCase{10105.0, Mode::CW, "30m"},
        FrequencyCase{14000.0, Mode::CW, "20m"}, FrequencyCase{14069.9, Mode::CW, "20m"},
        FrequencyCase{14070.0, Mode::Data, "20m"}, FrequencyCase{14071.0, Mode::FT8, "20m"},
        FrequencyCase{14077.0, Mode::FT8, "20m"}, FrequencyCase{14080.0, Mode::Data, "20m"},
        FrequencyCase{14100.0, Mode::SSB, "20m"}, FrequencyCase{14350.0, Mode::SSB, "20m"},
        FrequencyCase{18075.0, Mode::CW, "17m"}, FrequencyCase{18130.0, Mode::SSB, "17m"},
        FrequencyCase{21074.0, Mode::FT8, "15m"}, FrequencyCase{21300.0, Mode::SSB, "15m"},
        FrequencyCase{24895.0, Mode::CW, "12m"}, FrequencyCase{24950.0, Mode::SSB, "12m"},
        FrequencyCase{28020.0, Mode::CW, "10m"}, FrequencyCase{28074.0, Mode::FT8, "10m"},
        FrequencyCase{28500.0, Mode::SSB, "10m"}, FrequencyCase{29100.0, Mode::AM, "10m"},
        FrequencyCase{29600.0, Mode::FM, "10m"}, FrequencyCase{50090.0, Mode::CW, "6m"},
        FrequencyCase{50150.0, Mode::SSB, "6m"}, FrequencyCase{50313.0, Mode::FT8, "6m"},
        FrequencyCase{70200.0, Mode::SSB, "4m"}, FrequencyCase{144050.0, Mode::CW, "2m"},
        FrequencyCase{144174.0, Mode::FT8, "2m"}, FrequencyCase{144300.0, Mode::SSB, "2m"},
        FrequencyCase{145500.0, Mode::FM, "2m"}, FrequencyCase{432050.0, Mode::CW, "70cm"},
        FrequencyCase{432200.0, Mode::SSB, "70cm"}, FrequencyCase{439000.0, Mode::FM, "70cm"},
        FrequencyCase{1296200.0, Mode::Unknown, "23cm"}, FrequencyCase{14500.0, Mode::Unknown, ""},
        FrequencyCase{-1.0, Mode::Unknown, ""},
        FrequencyCase{std::numeric_limits<double>::quiet_NaN(), Mode::Unknown, ""}));

TEST(AmateurBands, AreOrderedAndApart) {
    const auto bands = amateurBands();
    ASSERT_EQ(bands.size(), 15u);
    EXPECT_EQ(bands.front().name, "160m");
    EXPECT_EQ(bands.back().name, "23cm");
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_LT(bands[i].lowKHz, bands[i].highKHz) << bands[i].name;
        if (i > 0) {
            EXPECT_LT(bands[i - 1].highKHz, bands[i].lowKHz) << bands[i].name;
        }
    }
}

struct RigCase {
    Mode mode;
    double kHz;
    std::string_view rigMode;
    ModeGroup group;
};

class RigctldMode : public testing::TestWithParam<RigCase> {};

TEST_P(RigctldMode, GivesTokenAndGroup) {
    EXPECT_EQ(rigctldMode(GetParam().mode, GetParam().kHz), GetParam().rigMode);
    EXPECT_EQ(modeGroup(GetParam().mode), GetParam().group);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RigctldMode,
    testing::Values(
        RigCase{Mode::CW, 7020, "CW", ModeGroup::CW}, RigCase{Mode::SSB, 7150, "LSB", ModeGroup::Phone},
        RigCase{Mode::SSB, 5360, "USB", ModeGroup::Phone}, RigCase{Mode::SSB, 10000, "USB", ModeGroup::Phone},
        RigCase{Mode::USB, 3750, "USB", ModeGroup::Phone}, RigCase{Mode::LSB, 14200, "LSB", ModeGroup::Phone},
        RigCase{Mode::FM, 145500, "FM", ModeGroup::Phone}, RigCase{Mode::RTTY, 14085, "RTTY", ModeGroup::Digital},
        RigCase{Mode::FT8, 7074, "PKTUSB", ModeGroup::Digital}, RigCase{Mode::Data, 14090, "PKTUSB", ModeGroup::Digital},
        RigCase{Mode::Unknown, 14090, "", ModeGroup::Unknown}));

TEST(SpotMode, CommentWinsOverBandPlan) {
    EXPECT_EQ(spotMode(u"RTTY", 14025.0), Mode::RTTY);
    EXPECT_EQ(spotMode(u"599 tnx", 14025.0), Mode::CW);
    EXPECT_EQ(spotMode(u"", 14074.0), Mode::FT8);
}

}  // namespace
