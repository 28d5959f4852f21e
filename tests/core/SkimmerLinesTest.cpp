// Lines of the reverse-beacon skimmer network as its nodes send them, on the wire: the spotter's
// call ends "-#", the frequency may touch the colon, and the spacing varies from node to node.
#include "app/StreamIntake.h"
#include "settings/MemorySettings.h"
#include "spots/SpotParsers.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quendra;

namespace quendra {
void PrintTo(const ParsedSpot& spot, std::ostream* out) {
    const auto narrow = [](const std::u16string& text) { return std::string(text.begin(), text.end()); };
    *out << narrow(spot.author) << " " << narrow(spot.frequency) << " " << narrow(spot.station) << " ["
         << narrow(spot.info) << "] " << narrow(spot.gmt);
}
}  // namespace quendra

namespace {

struct SkimmerLine {
    const char* name;
    std::string bytes;  // one line as it comes, line end included
    ParsedSpot expected;
};

const std::vector<SkimmerLine>& skimmerLines() {
    static const std::vector<SkimmerLine> lines = {
        {"TwoSpacesAfterTheColon", "DX de ZZ1AB-#:  14025.0  ZZ2CD  CW 23 dB 27 WPM CQ  1234Z\r\n",
         {u"ZZ2CD", u"ZZ1AB-#", u"14025.0", u"CW 23 dB 27 WPM CQ", u"12:34"}},
        {"FrequencyTouchingTheColon", "DX de ZZ1AB-#:14025.1  ZZ2CD  CW 23 dB 27 WPM CQ  1234Z\r\n",
         {u"ZZ2CD", u"ZZ1AB-#", u"14025.1", u"CW 23 dB 27 WPM CQ", u"12:34"}},
        {"SixDigitsTouchingTheColon", "DX de ZZ3XY-#:144050.0  ZZ4EF  CW 12 dB 22 WPM BEACON  0001Z\r\n",
         {u"ZZ4EF", u"ZZ3XY-#", u"144050.0", u"CW 12 dB 22 WPM BEACON", u"00:01"}},
        {"ShortFrequencyWidePadding", "DX de ZZ3XY-#:   7018.0  ZZ4EF  CW 12 dB 22 WPM BEACON  2359Z\r\n",
         {u"ZZ4EF", u"ZZ3XY-#", u"7018.0", u"CW 12 dB 22 WPM BEACON", u"23:59"}},
        {"LongSkimmerCallAndBells",
         "DX de ZZ9ABC-1-#:  3525.5  ZZ5GH  RTTY 8 dB 45 BPS CQ  1200Z\a\a\r\n",
         {u"ZZ5GH", u"ZZ9ABC-1-#", u"3525.5", u"RTTY 8 dB 45 BPS CQ", u"12:00"}},
        {"LoneLineFeed", "DX de ZZ1AB-#:  7025.0  ZZ2CD  CW 5 dB 18 WPM CQ  0930Z\n",
         {u"ZZ2CD", u"ZZ1AB-#", u"7025.0", u"CW 5 dB 18 WPM CQ", u"09:30"}},
        {"NoTime", "DX de ZZ1AB-#:  7025.0  ZZ7KL  CW 5 dB 18 WPM CQ\r\n",
         {u"ZZ7KL", u"ZZ1AB-#", u"7025.0", u"CW 5 dB 18 WPM CQ", u""}},
        // Laid out in columns, a skimmer line reads as every node's line does.
        {"InColumns", "DX de ZZ1AB-#:   14025.0  ZZ8MN        CW    23 dB  27 WPM  CQ        1234Z\r\n",
         {u"ZZ8MN", u"ZZ1AB-#", u"14025.0", u"CW    23 dB  27 WPM  CQ        ", u"12:34"}},
    };
    return lines;
}

std::u16string lineText(const std::string& bytes) {
    std::u16string text = decodeWindows1252(bytes);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
        text.pop_back();
    return text;
}

class SkimmerLineTest : public ::testing::TestWithParam<SkimmerLine> {};

TEST_P(SkimmerLineTest, ReadsAsASpot) {
    const SkimmerLine& line = GetParam();
    EXPECT_EQ(parseColumnForm(lineText(line.bytes)), line.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, SkimmerLineTest, ::testing::ValuesIn(skimmerLines()),
                         [](const auto& test) { return std::string(test.param.name); });

// A human spotter's line that misses the columns keeps the classic reading: only skimmer lines
// are read by words.
TEST(SkimmerLineRule, OnlySkimmerCallsAreReadByWords) {
    const auto human = parseColumnForm(u"DX de ZZ1AB:14025.0  ZZ2CD  CW 599  1234Z");
    ASSERT_TRUE(human);
    EXPECT_EQ(human->gmt, u"");
    EXPECT_EQ(human->info, u"4Z");  // column 39 of a line that misses the columns
}

class SkimmerStreamTest : public ::testing::Test {
protected:
    std::vector<ParsedSpot> storedSpots() const {
        std::vector<ParsedSpot> spots;
        for (int i = 0; i < store.count(); ++i) {
            const Spot& spot = store.spotAt(i);
            spots.push_back({spot.station, spot.author, spot.frequency, spot.info, spot.gmt});
            EXPECT_EQ(spot.dxNode, u"rbn");
        }
        return spots;
    }
    std::vector<ParsedSpot> expectedSpots() const {
        std::vector<ParsedSpot> spots;
        for (const SkimmerLine& line : skimmerLines())
            spots.push_back(line.expected);
        return spots;
    }
    std::string allBytes() const {
        std::string bytes = "Hello ZZ9ZZ, this is a skimmer node.\r\n";
        for (const SkimmerLine& line : skimmerLines())
            bytes += line.bytes;
        return bytes;
    }

    MemorySettings settings;
    quendra::testing::ManualClock clock;
    SpotStore store{settings, clock};
};

TEST_F(SkimmerStreamTest, EveryLineIsStoredOnceWhereverTheStreamIsCut) {
    const std::string bytes = allBytes();
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        store.clearSpots();
        StreamIntake intake(store);
        intake.telnetText(decodeWindows1252(bytes.substr(0, cut)), u"rbn");
        intake.telnetText(decodeWindows1252(bytes.substr(cut)), u"rbn");
        ASSERT_EQ(storedSpots(), expectedSpots()) << "cut at " << cut;
    }
}

TEST_F(SkimmerStreamTest, BatchedAndByteByByteGiveTheSameSpots) {
    StreamIntake batched(store);
    EXPECT_EQ(batched.telnetText(decodeWindows1252(allBytes()), u"rbn").storedSpots.size(), skimmerLines().size());
    EXPECT_EQ(storedSpots(), expectedSpots());

    store.clearSpots();
    StreamIntake trickled(store);
    for (char byte : allBytes())
        trickled.telnetText(decodeWindows1252(std::string(1, byte)), u"rbn");
    EXPECT_EQ(storedSpots(), expectedSpots());
}

}  // namespace
