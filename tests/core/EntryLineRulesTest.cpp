#include "terminal/EntryLineRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace quendra;

namespace {

struct EnterCase {
    const char* name;
    std::u16string box;  // '|' marks the caret
    std::u16string sent;
};

class EntryLineSend : public testing::TestWithParam<EnterCase> {};

TEST_P(EntryLineSend, SendsTheLineBeforeTheCaretsLine) {
    auto box = GetParam().box;
    const auto caret = box.find(u'|');
    box.erase(caret, 1);
    const auto outcome = entry_line::afterEnter(box, caret);
    EXPECT_EQ(outcome.lineToSend, GetParam().sent);
    EXPECT_FALSE(outcome.trim.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    EntryLine, EntryLineSend,
    testing::Values(EnterCase{"end_of_line", u"sh/dx\n|", u"sh/dx\r\n"},
                    EnterCase{"middle_of_line", u"sh/\n|dx", u"sh/\r\n"},
                    EnterCase{"earlier_line_again", u"one\n|\ntwo\n", u"one\r\n"},
                    EnterCase{"second_of_three", u"one\ntwo\n|three", u"two\r\n"},
                    EnterCase{"empty_line", u"one\n\n|", u""},
                    EnterCase{"no_line_break", u"|abc", u""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(EntryLine, CaretBeyondTheTextCountsAsItsEnd) {
    EXPECT_EQ(entry_line::afterEnter(u"abc\n", 99).lineToSend, u"abc\r\n");
}

TEST(EntryLine, CutsALongLineTo250Characters) {
    const std::u16string typed(300, u'a');
    const auto box = typed + u"\n";
    const auto outcome = entry_line::afterEnter(box, box.size());
    EXPECT_EQ(outcome.lineToSend, std::u16string(250, u'a') + u"\r\n");
}

std::u16string boxOfLines(int typedLines) {
    std::u16string box;
    for (int i = 1; i <= typedLines; ++i)
        box += u"cmd" + std::u16string(1, static_cast<char16_t>(u'a' + i)) + u"\n";
    return box;
}

TEST(EntryLine, TwelveLinesAreKeptAndTheThirteenthTrimsTheFirst) {
    const auto eleven = boxOfLines(11);
    EXPECT_FALSE(entry_line::afterEnter(eleven, eleven.size()).trim.has_value());

    const auto twelve = boxOfLines(12);
    const auto outcome = entry_line::afterEnter(twelve, twelve.size());
    ASSERT_TRUE(outcome.trim.has_value());
    EXPECT_EQ(outcome.trim->removeLength, 5u);
    EXPECT_EQ(outcome.trim->caretAfter, twelve.size() - 5);
    EXPECT_EQ(outcome.lineToSend, u"cmdm\r\n");
}

TEST(EntryLine, LongBoxLosesOnlyItsFirstLineAndCaretGoesToTheEnd) {
    auto box = u"first line\n" + boxOfLines(20);
    const auto caret = box.find(u"cmdc");  // Enter pressed early in the box
    const auto outcome = entry_line::afterEnter(box, caret);
    ASSERT_TRUE(outcome.trim.has_value());
    EXPECT_EQ(outcome.trim->removeLength, 11u);
    EXPECT_EQ(outcome.trim->caretAfter, box.size() - 11);
    EXPECT_EQ(outcome.lineToSend, u"cmdb\r\n");
}

TEST(EntryLine, EmptyLineNeverTrimsEvenInALongBox) {
    const auto box = boxOfLines(20) + u"\n";
    EXPECT_FALSE(entry_line::afterEnter(box, box.size()).trim.has_value());
}

}  // namespace
