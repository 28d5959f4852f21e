#include "app/SpotDetection.h"
#include "links/MonitorTokens.h"
#include "links/PortReply.h"
#include "links/TelnetLineJoiner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra {
namespace {

using Lines = std::vector<std::u16string>;

struct DetectionCase {
    std::u16string_view line;
    SpotForm form;
};

std::string narrow(std::u16string_view text) {
    std::string out;
    for (char16_t ch : text)
        out += ch < 0x80 ? static_cast<char>(ch) : '?';
    return out;
}

void PrintTo(const DetectionCase& c, std::ostream* os) { *os << '"' << narrow(c.line) << '"'; }

class SpotFormDetection : public testing::TestWithParam<DetectionCase> {};

TEST_P(SpotFormDetection, RecognisesBothAnnouncementForms) {
    EXPECT_EQ(detectSpotForm(GetParam().line), GetParam().form);
}

INSTANTIATE_TEST_SUITE_P(Lines, SpotFormDetection, testing::Values(
    DetectionCase{u"DX de ZZ1AB:     14025.0  ZZ9ZZ", SpotForm::Column},
    DetectionCase{u"DX", SpotForm::Column},
    DetectionCase{u"dx de ZZ1AB: 14025.0 ZZ9ZZ", SpotForm::None},
    DetectionCase{u"Dx de", SpotForm::None},
    DetectionCase{u"D", SpotForm::None},
    DetectionCase{u"", SpotForm::None},
    DetectionCase{u"\r\nDX de ZZ1AB", SpotForm::None},
    DetectionCase{u"1234Z ZZ9ZZ 14025.0", SpotForm::Timed},
    DetectionCase{u"0000Z", SpotForm::Timed},
    DetectionCase{u"123Z ZZ9ZZ", SpotForm::None},
    DetectionCase{u"12345Z ZZ9ZZ", SpotForm::None},
    DetectionCase{u"1234z ZZ9ZZ", SpotForm::None},
    DetectionCase{u"1234", SpotForm::None},
    DetectionCase{u"12\u0663" u"4Z", SpotForm::None},  // digits of other scripts do not count
    DetectionCase{u"***Connected. \r\n", SpotForm::None}));

struct PortCase {
    std::u16string_view reply;
    std::int32_t count;
};

void PrintTo(const PortCase& c, std::ostream* os) { *os << '"' << narrow(c.reply) << '"'; }

class PortCountFromReply : public testing::TestWithParam<PortCase> {};

TEST_P(PortCountFromReply, ReadsTheFirstNonEmptyField) {
    EXPECT_EQ(portCountFromReply(GetParam().reply), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Replies, PortCountFromReply, testing::Values(
    PortCase{u"2;Port one;Port two", 2},
    PortCase{u";;3;a;b;c", 3},
    PortCase{u"  +4;x", 4},
    PortCase{u"-1;x", -1},
    PortCase{u"7abc;x", 7},
    PortCase{u"none;x", 0},
    PortCase{u";;;", 0},
    PortCase{u"", 0},
    PortCase{u"99999999999;", 2147483647}));

TEST(MonitorTokens, TakesSenderAndEveryDataLine) {
    const auto tokens = tokenizeMonitorText(
        u" 1:Fm ZZ1AB To CQ <UI pid=F0 Len=70 >[12:34:56]\rDX de ZZ1AB: 14025.0 ZZ9ZZ\r\r1234Z ZZ8ZZ 7010.0\r");
    ASSERT_TRUE(tokens);
    EXPECT_EQ(tokens->nodeName, u"ZZ1AB");
    EXPECT_EQ(tokens->dataLines, (std::vector<std::u16string_view>{u"DX de ZZ1AB: 14025.0 ZZ9ZZ", u"1234Z ZZ8ZZ 7010.0"}));
}

TEST(MonitorTokens, WordsMayRunOverALineEnd) {
    // Only spaces part the header words, so a short header borrows words from the data line.
    const auto tokens = tokenizeMonitorText(u"1:Fm ZZ1AB\rDX de X 14025.0 Y\rnext");
    ASSERT_TRUE(tokens);
    EXPECT_EQ(tokens->nodeName, u"ZZ1AB\rDX");
    EXPECT_EQ(tokens->dataLines, (std::vector<std::u16string_view>{u"next"}));
}

TEST(MonitorTokens, IncompleteTextGivesNothing) {
    for (std::u16string_view text : {u"", u"\r\n\r", u"1:Fm ZZ1AB To CQ", u"1:Fm ZZ1AB To CQ <UI>",
                                     u"1:Fm ZZ1AB To CQ <UI>\r", u"1:Fm ZZ1AB To CQ <UI>\r\n\r\n", u"one two three"})
        EXPECT_FALSE(tokenizeMonitorText(text)) << narrow(text);
}

TEST(TelnetLineJoiner, JoinsLinesAcrossChunkBoundaries) {
    TelnetLineJoiner joiner;
    EXPECT_EQ(joiner.feed(u"login: "), Lines{});
    EXPECT_EQ(joiner.pendingTail(), u"login: ");
    EXPECT_EQ(joiner.feed(u"ZZ1AB\r"), Lines{u"login: ZZ1AB"});
    EXPECT_EQ(joiner.feed(u"\nDX de A: 1"), Lines{});
    EXPECT_EQ(joiner.feed(u"4025.0 B\r\nWWV\nTo ALL\r\r\n1234Z"), (Lines{u"DX de A: 14025.0 B", u"WWV", u"To ALL"}));
    EXPECT_EQ(joiner.feed(u" C 7010.0\n"), Lines{u"1234Z C 7010.0"});
    EXPECT_EQ(joiner.pendingTail(), u"");
}

TEST(TelnetLineJoiner, EndlessLineIsCutAtItsBoundAndTheNextLineIsWhole) {
    TelnetLineJoiner joiner;
    const std::u16string piece(1000, u'a');
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(joiner.feed(piece), Lines{});
    EXPECT_EQ(joiner.pendingTail().size(), TelnetLineJoiner::kMaxLineLength);
    const Lines lines = joiner.feed(u"tail of the long line\nDX de A: 14025.0 B\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::u16string(TelnetLineJoiner::kMaxLineLength, u'a'));
    EXPECT_EQ(lines[1], u"DX de A: 14025.0 B");
}

TEST(TelnetLineJoiner, ClearDropsTheUnfinishedLine) {
    TelnetLineJoiner joiner;
    joiner.feed(u"half a li");
    joiner.clear();
    EXPECT_EQ(joiner.feed(u"DX de A\n"), Lines{u"DX de A"});
}

}  // namespace
}  // namespace quendra
