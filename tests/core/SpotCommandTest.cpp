#include "autolink/SpotCommand.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

struct CommandCase {
    std::u16string_view kHz;
    std::u16string_view call;
    std::u16string_view comment;
    std::u16string_view command;  // empty: refused
};

class SpotCommandBuild : public testing::TestWithParam<CommandCase> {};

TEST_P(SpotCommandBuild, BuildsOrRefusesWithAReason) {
    const SpotCommandResult result = buildSpotCommand(GetParam().kHz, GetParam().call, GetParam().comment);
    EXPECT_EQ(result.command, GetParam().command);
    EXPECT_EQ(result.ok(), !GetParam().command.empty());
    EXPECT_EQ(result.refusal.empty(), result.ok());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpotCommandBuild,
    testing::Values(CommandCase{u"14025.0", u"ZZ1AB", u"tnx qso", u"DX 14025.0 ZZ1AB tnx qso"},
                    CommandCase{u" 14025,5 ", u" zy/zz1ab/p ", u"", u"DX 14025.5 ZY/ZZ1AB/P"},
                    CommandCase{u"7002", u"ZZ1AB", u"up 2\r\nSET/NAME X", u"DX 7002 ZZ1AB up 2  SET/NAME X"},
                    CommandCase{u"14025", u"ZZ", u"", u""}, CommandCase{u"14025", u"ZZ1ABCDEFGHIJKLM", u"", u""},
                    CommandCase{u"14025", u"ZZ1-AB", u"", u""}, CommandCase{u"14025", u"ZZABC", u"", u""},
                    CommandCase{u"14025", u"/ZZ1AB", u"", u""}, CommandCase{u"14025", u"ZZ1//AB", u"", u""},
                    CommandCase{u"0", u"ZZ1AB", u"", u""}, CommandCase{u"-14025", u"ZZ1AB", u"", u""},
                    CommandCase{u"14.025.0", u"ZZ1AB", u"", u""}, CommandCase{u"14025 kHz", u"ZZ1AB", u"", u""},
                    CommandCase{u"", u"ZZ1AB", u"", u""}, CommandCase{u",", u"ZZ1AB", u"", u""}));

TEST(SpotCommandBuild, NamesWhatIsWrong) {
    EXPECT_NE(buildSpotCommand(u"14025", u"ZZ1-AB", u"").refusal.find("letters, digits"), std::string::npos);
    EXPECT_NE(buildSpotCommand(u"abc", u"ZZ1AB", u"").refusal.find("frequency"), std::string::npos);
}

}  // namespace
