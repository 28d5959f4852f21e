#include "autolink/SpotListing.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

TEST(SpotListing, ReadsEveryFieldOfAListingLine) {
    const auto listed =
        parseSpotListing(u"  14025.0 zz2cd        7-Dec-2026 1234Z CW 599                        <ZZ1AB>\r\n");
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->spot, (ParsedSpot{u"ZZ2CD", u"ZZ1AB", u"14025.0", u"CW 599", u"12:34"}));
    const SystemTime expected{2026, 12, 1, 7, 12, 34, 0, 0};  // a Monday
    EXPECT_EQ(*listed, (ListedSpot{listed->spot, expected}));
}

TEST(SpotListing, TakesAnEmptyCommentAndSkimmerSpotters) {
    const auto listed = parseSpotListing(u"   7002.5 ZY/ZZ2CD    29-Feb-2028 0000Z <ZZ1AB-#>");
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->spot, (ParsedSpot{u"ZY/ZZ2CD", u"ZZ1AB-#", u"7002.5", u"", u"00:00"}));
    EXPECT_EQ(listed->time.year, 2028);
    EXPECT_EQ(listed->time.day, 29);
}

class SpotListingRefused : public testing::TestWithParam<std::u16string_view> {};

TEST_P(SpotListingRefused, GivesNothing) { EXPECT_FALSE(parseSpotListing(GetParam())); }

INSTANTIATE_TEST_SUITE_P(
    Table, SpotListingRefused,
    testing::Values(u"DX de ZZ5XY:     14025.0  ZZ3EF        cw 599                         1738Z\a\a\r\n",
                    u"ZZ9NODE de ZZ1AB  7-Dec-2026 1742Z >", u"login: ", u"", u"<ZZ1AB>",
                    u"  14025.0 ZZ2CD       31-Feb-2026 1234Z CW <ZZ1AB>",
                    u"  14025.0 ZZ2CD       29-Feb-2027 1234Z CW <ZZ1AB>",
                    u"  14025.0 ZZ2CD        7-Dek-2026 1234Z CW <ZZ1AB>",
                    u"  14025.0 ZZ2CD        7-Dec-2026 2460Z CW <ZZ1AB>",
                    u"  14025.0 ZZ2CD        7-Dec-2026 1234 CW <ZZ1AB>",
                    u"  0.0 ZZ2CD        7-Dec-2026 1234Z CW <ZZ1AB>",
                    u"  14O25.0 ZZ2CD        7-Dec-2026 1234Z CW <ZZ1AB>",
                    u"  14025.0 ZZ2CD        7-Dec-2026 1234Z CW <>",
                    u"  14025.0 ZZ2CD        7-Dec-2026 1234Z CW <ZZ1AB"));

}  // namespace
