#include "spots/Clock.h"
#include "text/CaseFold.h"
#include "text/CodePage.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>

namespace {

using namespace std::string_literals;

TEST(CodePageTest, DecodesEveryByteToOneCharacter) {
    const std::string bytes = "A\x80\x81\x8D\x9F\xA0\xFF"s;
    EXPECT_EQ(quendra::decodeWindows1252(bytes), u"A\u20AC\u0081\u008D\u0178\u00A0\u00FF");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::u16string decoded = quendra::decodeWindows1252(all);
    ASSERT_EQ(decoded.size(), 256u);
    EXPECT_EQ(quendra::encodeWindows1252(decoded), all);  // every byte survives the round trip
}

TEST(CodePageTest, EncodesUnknownCharactersAsOneQuestionMark) {
    EXPECT_EQ(quendra::encodeWindows1252(u"\u20AC\u4E2Dx"), "\x80?x"s);
    EXPECT_EQ(quendra::encodeWindows1252(u"a\U0001F600b"), "a?b"s);  // surrogate pair
    EXPECT_EQ(quendra::encodeWindows1252(u"\xD800"), "?"s);             // lone surrogate
    EXPECT_EQ(quendra::decodeWindows1252UntilNul("ab\0cd"s), u"ab");
    EXPECT_EQ(quendra::decodeWindows1252UntilNul("abc"s), u"abc");
}

struct IntCase {
    std::u16string text;
    std::int32_t value;
    bool begins;
};

class LeadingIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(LeadingIntTest, ReadsLikeTheCLibrary) {
    EXPECT_EQ(quendra::readLeadingInt(GetParam().text), GetParam().value);
    EXPECT_EQ(quendra::beginsWithInteger(GetParam().text), GetParam().begins);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingIntTest,
    ::testing::Values(IntCase{u"14025.0", 14025, true}, IntCase{u" \t\r\n-12abc", -12, true},
                      IntCase{u"+5", 5, true}, IntCase{u"0.5", 0, true}, IntCase{u".5", 0, false},
                      IntCase{u"- 5", 0, false}, IntCase{u"", 0, false},
                      IntCase{u"\u0661", 0, false},  // Arabic-Indic one is no decimal digit here
                      IntCase{u"2147483647", 2147483647, true},
                      IntCase{u"99999999999999999999", std::numeric_limits<std::int32_t>::max(), true},
                      IntCase{u"-2147483648", std::numeric_limits<std::int32_t>::min(), true},
                      IntCase{u"-99999999999", std::numeric_limits<std::int32_t>::min(), true}));

struct DoubleCase {
    std::u16string text;
    double value;
};

class LeadingDoubleTest : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(LeadingDoubleTest, ReadsDecimalOnly) {
    EXPECT_DOUBLE_EQ(quendra::readLeadingDouble(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingDoubleTest,
    ::testing::Values(DoubleCase{u"14025.0", 14025.0}, DoubleCase{u".5", 0.5},
                      DoubleCase{u"-.5e1x", -5.0}, DoubleCase{u"+2.", 2.0}, DoubleCase{u"1e", 1.0},
                      DoubleCase{u"1e+", 1.0}, DoubleCase{u"3E-2", 0.03}, DoubleCase{u".", 0.0},
                      DoubleCase{u"inf", 0.0}, DoubleCase{u"nan", 0.0}, DoubleCase{u"0x10", 0.0},
                      DoubleCase{u"1e-999", 0.0}, DoubleCase{u"-", 0.0}));

struct RangeCase {
    std::u16string text;
    double value;
};

// Readable test names: the length of the text rather than hundreds of digits.
void PrintTo(const RangeCase& rangeCase, std::ostream* out) {
    *out << rangeCase.text.size() << " characters giving " << rangeCase.value;
}

std::u16string repeated(std::size_t count, char16_t ch) { return std::u16string(count, ch); }

class OutOfRangeDoubleTest : public ::testing::TestWithParam<RangeCase> {};

// A value beyond what a double holds is decided by its size, wherever the text puts its digits:
// a long run of zeros after the point is tiny, a long run of digits before a small negative
// exponent is huge.
TEST_P(OutOfRangeDoubleTest, TooLargeGivesInfinityTooSmallGivesZero) {
    EXPECT_EQ(quendra::readLeadingDouble(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OutOfRangeDoubleTest,
    ::testing::Values(RangeCase{u"1e999", HUGE_VAL}, RangeCase{u"-1e999", -HUGE_VAL},
                      RangeCase{u"1e-999", 0.0}, RangeCase{u"-1e-999", -0.0},
                      RangeCase{u"0." + repeated(400, u'0') + u"1", 0.0},
                      RangeCase{u"-0." + repeated(400, u'0') + u"1 kHz", -0.0},
                      RangeCase{repeated(400, u'9') + u"e-10", HUGE_VAL},
                      RangeCase{u"-" + repeated(400, u'9') + u"E-10", -HUGE_VAL},
                      RangeCase{u"1" + repeated(400, u'0'), HUGE_VAL},
                      RangeCase{u"0." + repeated(300, u'0') + u"1e700", HUGE_VAL},
                      RangeCase{u"1" + repeated(700, u'0') + u"e-1500", 0.0},
                      RangeCase{u"1e99999999999999999999999", HUGE_VAL},
                      RangeCase{u"1e-99999999999999999999999", 0.0},
                      // In range after all: the digits and the exponent balance out.
                      RangeCase{u"0." + repeated(400, u'0') + u"14025e405", 14025.0},
                      RangeCase{u"14025" + repeated(400, u'0') + u"e-400", 14025.0},
                      RangeCase{u"0e999999", 0.0}));

TEST(LeadingDoubleTest, OutOfRangeKeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(quendra::readLeadingDouble(u"-1e-999")));
    EXPECT_FALSE(std::signbit(quendra::readLeadingDouble(u"1e-999")));
}

TEST(CaseFoldTest, FoldsWhatTheCodePageCanCarry) {
    std::u16string text = u"zz1ab/p \u00E9\u00FE\u00FF\u0161\u0153\u017E \u00DF\u00B5\u00F7 \u0430";
    quendra::foldToUpper(text);
    EXPECT_EQ(text, u"ZZ1AB/P \u00C9\u00DE\u0178\u0160\u0152\u017D \u00DF\u00B5\u00F7 \u0430");
}

struct ClockCase {
    quendra::SystemTime time;
    std::int64_t seconds;
};

// Readable test names: the case's expected seconds rather than a byte dump.
void PrintTo(const ClockCase& clockCase, std::ostream* out) { *out << clockCase.seconds; }

class SecondsSince1970Test : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SecondsSince1970Test, MatchesKnownDates) {
    EXPECT_EQ(quendra::secondsSince1970(GetParam().time), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, SecondsSince1970Test,
    ::testing::Values(ClockCase{{1970, 1, 4, 1, 0, 0, 0, 0}, 0},
                      ClockCase{{1970, 1, 0, 1, 0, 0, 0, 999}, 0},  // milliseconds never round up
                      ClockCase{{2000, 1, 6, 1, 0, 0, 0, 0}, 946684800},
                      ClockCase{{2024, 2, 4, 29, 12, 30, 15, 0}, 1709209815},
                      ClockCase{{2038, 1, 2, 19, 3, 14, 8, 0}, 2147483648},
                      ClockCase{{2026, 12, 1, 7, 24, 0, 0, 0}, 1796688000},  // hour 24 carries
                      ClockCase{{1601, 1, 1, 1, 0, 0, 0, 0}, -11644473600}));

TEST(SystemClockTest, ReadsTheWallClockInUtc) {
    const auto before = std::chrono::system_clock::now();
    const quendra::SystemTime now = quendra::SystemClock().now();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(before.time_since_epoch());
    EXPECT_NEAR(static_cast<double>(quendra::secondsSince1970(now)),
                static_cast<double>(seconds.count()), 2.0);
    const std::chrono::weekday weekday{std::chrono::floor<std::chrono::days>(before)};
    EXPECT_EQ(now.dayOfWeek, weekday.c_encoding());  // 0 is Sunday
}

}  // namespace
