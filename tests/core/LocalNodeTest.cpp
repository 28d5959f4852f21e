// The local node's texts and its per-client session, byte for byte as other programs read them.
#include "autolink/SpotListing.h"
#include "settings/MemorySettings.h"
#include "share/NodeLines.h"
#include "share/NodeSession.h"
#include "spots/SpotParsers.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

using namespace quendra;
using quendra::testing::ManualClock;

namespace {

Spot spotOf(std::u16string author, std::u16string frequency, std::u16string station, std::u16string info,
            std::u16string gmt) {
    Spot spot;
    spot.author = std::move(author);
    spot.frequency = std::move(frequency);
    spot.station = std::move(station);
    spot.info = std::move(info);
    spot.gmt = std::move(gmt);
    spot.received = SystemTime{2026, 12, 1, 7, 12, 34, 10, 0};
    return spot;
}

TEST(NodeLines, AnnouncementsStandAtTheColumnsNodesUse) {
    EXPECT_EQ(announcementLine(spotOf(u"ZZ1AB", u"14025", u"ZZ2CD", u"CW 599", u"12:34"), 14025.0),
              "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r\n");
    // A long spotter lets the frequency touch its colon; a long comment is cut before the time.
    EXPECT_EQ(announcementLine(spotOf(u"ZZ1ABC-#", u"1296123.4", u"ZZ2CD/P", u"a comment far longer than thirty letters",
                                      u"23:59"), 1296123.4),
              "DX de ZZ1ABC-#:1296123.4  ZZ2CD/P      a comment far longer than thir 2359Z\r\n");
    // No time in the announcement: the time it arrived.
    EXPECT_EQ(announcementLine(spotOf(u"ZZ1AB", u"7002,5", u"ZZ2CD", u"", u""), 7002.5),
              "DX de ZZ1AB:      7002.5  ZZ2CD                                       1234Z\r\n");
}

TEST(NodeLines, WhatWeSendReadsBackAsTheSameSpot) {
    const Spot spot = spotOf(u"ZZ1AB-#", u"50126.6", u"ZZ6XX", u"up 2 \u00e9t\u00e9", u"17:42");
    const std::string line = announcementLine(spot, 50126.6);
    const auto parsed = parseColumnForm(decodeWindows1252(line.substr(0, line.size() - 2)));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, (ParsedSpot{u"ZZ6XX", u"ZZ1AB-#", u"50126.6", u"up 2 \u00e9t\u00e9" + std::u16string(23, u' '), u"17:42"}));

    const std::string listing = listingLine(spot, 50126.6);
    EXPECT_EQ(listing, "  50126.6 ZZ6XX        7-Dec-2026 1742Z up 2 \xe9t\xe9                      <ZZ1AB-#>\r\n");
    const auto listed = parseSpotListing(decodeWindows1252(listing));
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->spot, (ParsedSpot{u"ZZ6XX", u"ZZ1AB-#", u"50126.6", u"up 2 \u00e9t\u00e9", u"17:42"}));
}

class NodeSessionTest : public ::testing::Test {
protected:
    NodeSession::Answer say(std::string_view bytes) {
        return session.receive(bytes, clock.now(), [this](int count) {
            asked = count;
            return std::string("(listing)\r\n");
        });
    }
    ManualClock clock;  // 2026-12-07 12:03:20
    NodeSession session;
    int asked = 0;
};

TEST_F(NodeSessionTest, AsksForACallThenPromptsAndListsInPiecesCutAnywhere) {
    EXPECT_EQ(NodeSession::greeting(), "login: ");
    EXPECT_EQ(say("\r\n").reply, "login: ");
    EXPECT_EQ(say("zz").reply, "");
    EXPECT_EQ(say("9xy\r").reply, "Hello ZZ9XY, this is the Quendra local node\r\nZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n");
    EXPECT_TRUE(session.loggedIn());
    // The LF of that CR LF comes with the next piece and is no empty line.
    EXPECT_EQ(say("\nsh/d").reply, "");
    EXPECT_EQ(say("x 5\r\n").reply, "(listing)\r\nZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n");
    EXPECT_EQ(asked, 5);
    say("SHOW/DX\n");
    EXPECT_EQ(asked, NodeSession::kDefaultListing);
    say("sh/dx 99999\n");
    EXPECT_EQ(asked, NodeSession::kMaxListing);
    asked = 0;
    EXPECT_EQ(say("set/name Ann\r\n").reply, "ZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n");
    EXPECT_EQ(say("sh/dxcc\r\n").reply, "ZZ9XY de QUENDRA 7-Dec-2026 1203Z >\r\n");
    EXPECT_EQ(asked, 0);
    const NodeSession::Answer bye = say("bye\r\n");
    EXPECT_EQ(bye.reply, "73 de QUENDRA, bye ZZ9XY\r\n");
    EXPECT_TRUE(bye.close);
    EXPECT_TRUE(bye.why.empty());
}

TEST_F(NodeSessionTest, SkipsTelnetNegotiationAndEditsWithBackspace) {
    // IAC DO ECHO, IAC WILL NAWS, IAC SB NAWS 0 80 0 24 IAC SE, then a call typed with a slip.
    const std::string_view bytes("\xff\xfd\x01\xff\xfb\x1f\xff\xfa\x1f\x00\x50\x00\x18\xff\xf0zz1aq\bb\r\0", 24);
    const NodeSession::Answer answer = say(bytes);
    EXPECT_FALSE(answer.close);
    EXPECT_EQ(session.call(), "ZZ1AB");
}

TEST_F(NodeSessionTest, DropsGarbageAndFloods) {
    EXPECT_EQ(say(std::string(NodeSession::kMaxLineLength + 1, 'x')).why, "garbage");

    NodeSession binary;
    const NodeSession::Answer stray = binary.receive(std::string(NodeSession::kMaxStrayBytes + 1, '\x01'), clock.now(), {});
    EXPECT_TRUE(stray.close);
    EXPECT_EQ(stray.why, "garbage");

    NodeSession flooding;
    flooding.receive("ZZ1AB\r\n", clock.now(), {});
    std::string lines;
    for (int i = 0; i < NodeSession::kLineBurst; ++i)
        lines += "x\r\n";
    NodeSession::Answer flood = flooding.receive(lines, clock.now(), {});
    EXPECT_EQ(flood.why, "flooding");

    // Lines at a typist's pace are never a flood.
    NodeSession steady;
    for (int i = 0; i < 3 * NodeSession::kLineBurst; ++i) {
        clock.advance(1);
        ASSERT_FALSE(steady.receive("sh/dx\r\n", clock.now(), {}).close) << i;
    }
}

TEST(NodeLines, ListingIsTheNewestSpotsNewestFirst) {
    MemorySettings settings;
    ManualClock clock;
    SpotStore store(settings, clock);
    store.parseColumnSpot(u"DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1200Z", u"node");
    store.parseColumnSpot(u"DX de ZZ3EF:      7010.0  ZZ4GH        CW                             1201Z", u"node");
    store.parseColumnSpot(u"DX de ZZ5IJ:     21074.0  ZZ6KL        FT8 -12                        1202Z", u"node");
    EXPECT_EQ(listingLines(store, 2),
              "  21074.0 ZZ6KL        7-Dec-2026 1202Z FT8 -12                       <ZZ5IJ>\r\n"
              "   7010.0 ZZ4GH        7-Dec-2026 1201Z CW                            <ZZ3EF>\r\n");
    EXPECT_EQ(listingLines(store, 50).size(), 3 * 79u);
}

}  // namespace
