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

// A read that begins with the time of a line cut just before it completes that line.
TEST_F(StreamIntakeTest, AReadStartingWithTheTimeEndsTheLineBeforeIt) {
    intake.telnetText(u"DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         ", u"NODE");
    const IntakeOutcome outcome = intake.telnetText(u"1234Z\a\a\r\n", u"NODE");
    ASSERT_EQ(outcome.storedSpots.size(), 1u);
    std::u16string gmt;
    store.getGmt(outcome.storedSpots[0], gmt);
    EXPECT_EQ(gmt, u"12:34");
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

// Age-out moves every later spot down; the indexes a read hands on must name the spots it stored.
TEST_F(StreamIntakeTest, IndexesOfAReadStayTrueWhenSpotsAgeOutInsideIt) {
    settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 10);
    std::u16string read;
    for (int i = 0; i < 3; ++i)
        read += u"DX de ZZ1AB: 14025.0 ZZ0OLD" + std::u16string(1, char16_t(u'A' + i)) + u" CW 1234Z\r\n";
    intake.telnetText(read, u"NODE");
    clock.advance(12);
    read.clear();
    std::vector<std::u16string> sent;
    for (int i = 0; i < 20; ++i) {
        sent.push_back(u"ZZ" + std::u16string(1, char16_t(u'A' + i)) + u"NEW");
        read += u"DX de ZZ1AB: 14025.0 " + sent.back() + u" CW 1234Z\r\n";
    }
    const IntakeOutcome outcome = intake.telnetText(read, u"NODE");
    EXPECT_EQ(outcome.expiredSpots, 3);
    ASSERT_EQ(outcome.storedSpots.size(), sent.size());
    ASSERT_EQ(store.count(), 20);
    for (std::size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(stationAt(outcome.storedSpots[i]), sent[i]) << i;
}

// A node's listing brings spots with their own, older times: some age out as soon as they are
// stored, and must then not be handed on at all.
TEST_F(StreamIntakeTest, ListedSpotsOlderThanTheLifetimeAreNotHandedOn) {
    settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", 1800);
    intake.setReadListings(true);
    // ManualClock starts at 12:03:20 on 7-Dec-2026: 1142Z is 21 minutes old, 1042Z 81 minutes.
    const IntakeOutcome outcome = intake.telnetText(
        u"  14025.0 ZZ6XX        7-Dec-2026 1042Z up 2                          <ZZ9AB>\r\n"
        u"  28036.5 ZZ9XW        7-Dec-2026 1142Z RTTY                          <ZZ8AB>\r\n"
        u"   7012.0 ZZ7YY        7-Dec-2026 1143Z CW                            <ZZ8AB>\r\n",
        u"NODE");
    EXPECT_EQ(outcome.expiredSpots, 1);
    ASSERT_EQ(outcome.storedSpots.size(), 2u);
    EXPECT_EQ(stationAt(outcome.storedSpots[0]), u"ZZ9XW");
    EXPECT_EQ(stationAt(outcome.storedSpots[1]), u"ZZ7YY");
}

// The lifetime is read at every age-out; one below zero takes even the spot just stored.
TEST_F(StreamIntakeTest, ASpotThatAgesOutAsItIsStoredIsNotHandedOn) {
    intake.telnetText(kSpot, u"NODE");
    settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", -1);
    const IntakeOutcome outcome =
        intake.telnetText(u"DX de ZZ1AB: 7012.0 ZZ3EF CW 1234Z\r\nDX de ZZ1AB: 7013.0 ZZ4GH CW 1234Z\r\n", u"NODE");
    EXPECT_EQ(outcome.expiredSpots, 2);
    ASSERT_EQ(outcome.storedSpots, std::vector<int>{0});
    EXPECT_EQ(stationAt(0), u"ZZ4GH");
}

TEST(DrawnTextTest, ControlCharactersAreNotDrawnButTabsAreSpaces) {
    using received_text::drawnText;
    EXPECT_EQ(drawnText(u"ZZ3EF cw 599 1738Z\a\a"), u"ZZ3EF cw 599 1738Z");
    EXPECT_EQ(drawnText(u"a\tb\x001f\x007f\x0081" u"c\u00e9"), u"a bc\u00e9");
    EXPECT_EQ(drawnText(u""), u"");
}

}  // namespace
