#include "radio/RadioFrequency.h"
#include "radio/RadioStatusText.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

struct KilohertzCase {
    const char* name;
    std::u16string text;
    std::optional<std::int64_t> hertz;
};

class HertzFromKilohertzText : public testing::TestWithParam<KilohertzCase> {};

TEST_P(HertzFromKilohertzText, ReadsDigitByDigit) {
    EXPECT_EQ(hertzFromKilohertzText(GetParam().text), GetParam().hertz);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HertzFromKilohertzText,
    testing::Values(
        KilohertzCase{"OneDecimal", u"14025.0", 14025000},
        KilohertzCase{"DecimalComma", u"14025,5", 14025500},
        // 7001.25 * 1000 through a double is 7001249.9999...; truncated that would be 7001249.
        KilohertzCase{"TwoDecimalsExact", u"7001.25", 7001250},
        KilohertzCase{"ThreeDecimals", u"10368.123", 10368123},
        KilohertzCase{"LeadingBlanksAsInListing", u"  3525.1", 3525100},
        KilohertzCase{"TabAndTrailingBlanks", u"\t1840 ", 1840000},
        KilohertzCase{"NoDecimals", u"50313", 50313000},
        KilohertzCase{"ManyDecimalsOfZero", u"14025.000000000000000000", 14025000},
        KilohertzCase{"SubHertzRoundsDown", u"7001.2504999", 7001250},
        KilohertzCase{"SubHertzRoundsUp", u"7001.2505", 7001251},
        KilohertzCase{"LeadingZeros", u"000000000000000000000014025.0", 14025000},
        KilohertzCase{"SmallestHertz", u"0.001", 1},
        KilohertzCase{"Microwave", u"241000000.0", 241000000000},
        KilohertzCase{"LargestAllowed", u"1000000000", 1000000000000},
        KilohertzCase{"AboveLargest", u"1000000000.001", std::nullopt},
        KilohertzCase{"ManyDigitsWouldOverflow", u"99999999999999999999999999999", std::nullopt},
        KilohertzCase{"Zero", u"0.0", std::nullopt},
        KilohertzCase{"BelowOneHertzRoundsToZero", u"0.0004", std::nullopt},
        KilohertzCase{"Negative", u"-14025.0", std::nullopt},
        KilohertzCase{"PlusSign", u"+14025.0", std::nullopt},
        KilohertzCase{"Empty", u"", std::nullopt},
        KilohertzCase{"OnlyBlanks", u"   ", std::nullopt},
        KilohertzCase{"Letters", u"14O25.0", std::nullopt},
        KilohertzCase{"TwoSeparators", u"14,025.0", std::nullopt},
        KilohertzCase{"TrailingSeparator", u"14025.", std::nullopt},
        KilohertzCase{"LeadingSeparator", u".5", std::nullopt},
        KilohertzCase{"BlankInside", u"14 025.0", std::nullopt},
        KilohertzCase{"Exponent", u"1.4e4", std::nullopt},
        KilohertzCase{"FullWidthDigits", u"\uFF11\uFF14", std::nullopt}),
    [](const testing::TestParamInfo<KilohertzCase>& row) { return std::string(row.param.name); });

TEST(RadioStatusText, ShowsKilohertzWithThousandsCommaAndThreeDecimals) {
    EXPECT_EQ(radioReadingText(14025000, "CW"), "Radio: 14,025.000 kHz CW");
    EXPECT_EQ(radioReadingText(7001250, "LSB"), "Radio: 7,001.250 kHz LSB");
    EXPECT_EQ(radioReadingText(145000000, "FM"), "Radio: 145,000.000 kHz FM");
    EXPECT_EQ(radioReadingText(1296200001, "USB"), "Radio: 1,296,200.001 kHz USB");
    EXPECT_EQ(radioReadingText(999999, "AM"), "Radio: 999.999 kHz AM");
    EXPECT_EQ(radioReadingText(5, ""), "Radio: 0.005 kHz");
    EXPECT_EQ(radioNotConnectedText(), "Radio: not connected");
    EXPECT_EQ(radioFaultText(RadioFault::FrequencyRefused, -11), "Radio: frequency refused (RPRT -11)");
}

}  // namespace
