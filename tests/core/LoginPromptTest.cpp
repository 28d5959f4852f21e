#include "autolink/LoginPrompt.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quendra;

namespace {

struct PromptCase {
    const char* name;
    std::vector<std::u16string_view> reads;
    int answeredAtRead;  // -1: never
};

const std::u16string kLongLine(100000, u'x');

class LoginPromptDetection : public testing::TestWithParam<PromptCase> {};

TEST_P(LoginPromptDetection, AnswersOnceOnTheReadThatCompletesThePrompt) {
    LoginPrompt prompt;
    int answeredAt = -1;
    int answers = 0;
    for (std::size_t i = 0; i < GetParam().reads.size(); ++i) {
        if (prompt.feed(GetParam().reads[i])) {
            ++answers;
            answeredAt = static_cast<int>(i);
        }
    }
    EXPECT_EQ(answeredAt, GetParam().answeredAtRead);
    EXPECT_LE(answers, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoginPromptDetection,
    testing::Values(PromptCase{"NodeLoginWithoutLineEnd", {u"Welcome to ZZ9NODE\r\n", u"login: "}, 1},
                    PromptCase{"CutAcrossReads", {u"Welcome\r\nlo", u"gIN", u":"}, 2},
                    PromptCase{"CallWithLineEnd", {u"Your CALL:\r\n"}, 0},
                    PromptCase{"PleaseEnterYourCall", {u"Please enter your call", u"sign please\r\n"}, 0},
                    PromptCase{"LongRequestLine",
                               {u"Please enter your call sign, or NEW to register as a new user of this node: "}, 0},
                    PromptCase{"CallsignAndBell", {u"Callsign: \a"}, 0},
                    PromptCase{"OnlyOncePerConnection", {u"login: ", u"\r\nlogin: "}, 0},
                    PromptCase{"GreetingIsNoPrompt", {u"Last login: Mon Dec  7 12:00\r\n", u"ZZ9NODE>"}, -1},
                    PromptCase{"CallInsideSpotIsNoPrompt", {u"DX de ZZ1AB:  14025.0  ZZ2CD  call: QRZ  1234Z\r\n"}, -1},
                    PromptCase{"LongLinesStayBounded", {kLongLine, u" login:"}, 1}),
    [](const testing::TestParamInfo<PromptCase>& row) { return std::string(row.param.name); });

TEST(LoginPrompt, ResetAnswersTheNextConnectionAgain) {
    LoginPrompt prompt;
    EXPECT_TRUE(prompt.feed(u"login: "));
    EXPECT_FALSE(prompt.feed(u"login: "));
    prompt.reset();
    EXPECT_FALSE(prompt.feed(u"log"));
    EXPECT_TRUE(prompt.feed(u"in:"));
}

}  // namespace
