// Received text on its way to the windows: what each stream shows and which spots it stores.
#include "app/StreamIntake.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"
#include "terminal/ReceivedTextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quendra;

namespace {

constexpr std::u16string_view kSpot =
    u"DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r\n";

class StreamIntakeTest : public ::testing::Test {
protected:
    std::vector<std::u16string> shown(const IntakeOutcome& outcome) {
        return {outcome.shown.begin(), outcome.shown.end()};
    }
    std::u16string stationAt(int index) {
        std::u16string station;
        store.getStation(index, station);
        return station;
    }

    MemorySettings settings;
    quendra::testing::ManualClock clock;
    SpotStore store{settings, clock};
    StreamIntake intake{store};
};

TEST_F(StreamIntakeTest, APromptWithoutLineEndDoesNotSwallowTheSpotAfterIt) {
    EXPECT_TRUE(intake.telnetText(u"login: ", u"NODE").storedSpots.empty());
    const IntakeOutcome outcome = intake.telnetText(kSpot, u"NODE");
    ASSERT_EQ(outcome.storedSpots, std::vector<int>{0});
    EXPECT_EQ(stationAt(0), u"ZZ2CD");
    // The prompt ends as a line of its own before the spot is shown.
    EXPECT_EQ(shown(outcome), (std::vector<std::u16string>{u"\r\n", std::u16string(kSpot)}));

    // The time-first form starts a line of its own too.
    intake.telnetText(u"ZZ9ZZ de NODE 7-Dec-2026 1234Z >", u"NODE");
    EXPECT_EQ(intake.telnetText(u"1235Z DX de ZZ3EF: 7012.5 ZZ4GH test\r\n", u"NODE").storedSpots.size(), 1u);
}

TEST_F(StreamIntakeTest, ALineCutAcrossReadsIsStillJoined) {
    intake.telnetText(u"DX de ZZ1AB:     14025.0  ZZ2", u"NODE");
    const IntakeOutcome outcome =
        intake.telnetText(u"CD        CW 599                         1234Z\r\n", u"NODE");
    ASSERT_EQ(outcome.storedSpots.size(), 1u);
    EXPECT_EQ(stationAt(outcome.storedSpots[0]), u"ZZ2CD");
}

TEST_F(StreamIntakeTest, OnlyTheLinkSaysWhatIsAStatusLine) {
    intake.telnetText(u"DX de ZZ1AB:     14025.0  ZZ2CD        CW 599", u"NODE");
    // The link's own line ends the unfinished one, which is then tested.
    IntakeOutcome status = intake.telnetStatus(u"***Disconnected. \r\n", u"NODE");
    EXPECT_EQ(shown(status), (std::vector<std::u16string>{u"\r\n", u"***Disconnected. \r\n"}));
    EXPECT_EQ(status.storedSpots.size(), 1u);

    // The same text from the node is the node's text: it continues the unfinished line.
    intake.telnetText(u"ZZ9ZZ >", u"NODE");
    IntakeOutcome fromNode = intake.telnetText(u"***Disconnected. \r\n", u"NODE");
    EXPECT_EQ(shown(fromNode), std::vector<std::u16string>{u"***Disconnected. \r\n"});
    EXPECT_TRUE(intake.telnetStatus(u"***Connected. \r\n", u"NODE").shown.size() == 1u);
}

TEST_F(StreamIntakeTest, MonitoredFramesAreTestedLineByLineUnlessTransmitted) {
    const std::u16string frame =
        u" 1:Fm ZZ5XY To CQ <UI pid=F0 Len=70 >[12:34:56]\r"
        u"DX de ZZ1AB: 14025.0 ZZ2CD CW 599 1234Z\r"
        u"DX de ZZ1AB: 7012.0 ZZ3EF SSB 1235Z\r";
    EXPECT_TRUE(intake.monitorFrame(frame, true).storedSpots.empty());
    const IntakeOutcome heard = intake.monitorFrame(frame, false);
    ASSERT_EQ(heard.storedSpots.size(), 2u);
    std::u16string node;
    store.getDxNode(heard.storedSpots[1], node);
    EXPECT_EQ(node, u"ZZ5XY");
    EXPECT_EQ(shown(heard), std::vector<std::u16string>{frame});
}

TEST(DrawnTextTest, ControlCharactersAreNotDrawnButTabsAreSpaces) {
    using received_text::drawnText;
    EXPECT_EQ(drawnText(u"ZZ3EF cw 599 1738Z\a\a"), u"ZZ3EF cw 599 1738Z");
    EXPECT_EQ(drawnText(u"a\tb\x001f\x007f\x0081" u"c\u00e9"), u"a bc\u00e9");
    EXPECT_EQ(drawnText(u""), u"");
}

}  // namespace
