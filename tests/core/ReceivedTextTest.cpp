#include "terminal/ReceivedTextLines.h"
#include "terminal/ReceivedTextWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quendra;

namespace {

std::vector<std::u16string> linesOf(const MonitorBuffer& buffer) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < buffer.count(); ++i)
        lines.push_back(buffer.line(i));
    return lines;
}

using Lines = std::vector<std::u16string>;

struct CutCase {
    const char* name;
    std::u16string text;
    Lines pieces;
};

class CutPieces : public testing::TestWithParam<CutCase> {};

TEST_P(CutPieces, SplitsAtEveryRunOfLineEnds) {
    const auto pieces = received_text::cutPieces(GetParam().text);
    EXPECT_EQ(Lines(pieces.begin(), pieces.end()), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    ReceivedText, CutPieces,
    testing::Values(CutCase{"crlf_run", u"abc\r\n\r\ndef", {u"abc", u"def"}},
                    CutCase{"only_crlf", u"\r\n", {}},
                    CutCase{"empty", u"", {}},
                    CutCase{"lone_cr", u"a\rb", {u"a", u"b"}},
                    CutCase{"lone_lf", u"a\nb", {u"a", u"b"}},
                    CutCase{"lf_cr_order", u"\n\ra\n\r\r\nb\r", {u"a", u"b"}},
                    CutCase{"other_controls_kept", u"a\tb\x07\r\n", {u"a\tb\x07"}}),
    [](const auto& param) { return std::string(param.param.name); });

struct MarkCase {
    const char* name;
    std::u16string piece;
    std::u16string callSign;
    std::u16string stored;
};

class MarkedLine : public testing::TestWithParam<MarkCase> {};

TEST_P(MarkedLine, MarksOnlyMonitorHeaders) {
    EXPECT_EQ(received_text::markedLine(GetParam().piece, GetParam().callSign), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    ReceivedText, MarkedLine,
    testing::Values(
        MarkCase{"header_without_call", u"10:Fm DL1ABC to CQ", u"G4XYZ", u"\u000303" u"10:Fm DL1ABC to CQ"},
        MarkCase{"header_with_call", u"10:Fm DL1ABC to G4XYZ", u"G4XYZ", u"\u000302" u"10:Fm DL1ABC to G4XYZ"},
        MarkCase{"call_case_differs", u"10:Fm DL1ABC to g4xyz", u"G4XYZ", u"\u000303" u"10:Fm DL1ABC to g4xyz"},
        MarkCase{"empty_call_everywhere", u"10:Fm X", u"", u"\u000302" u"10:Fm X"},
        MarkCase{"exactly_five", u"abcFm", u"NOCALL", u"\u000303" u"abcFm"},
        MarkCase{"four_chars", u"abcF", u"", u"abcF"},
        MarkCase{"lower_f", u"10:fm DL1ABC", u"", u"10:fm DL1ABC"},
        MarkCase{"upper_m", u"10:FM DL1ABC", u"", u"10:FM DL1ABC"},
        MarkCase{"not_a_header_with_call", u"DX de G4XYZ", u"G4XYZ", u"DX de G4XYZ"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ReceivedTextWriter, PacketTextStandsOnItsOwnLines) {
    MonitorBuffer buffer;
    ReceivedTextWriter writer(buffer, TerminalStream::Packet);
    writer.append(u"abc\r\ndef", u"G4XYZ");
    writer.append(u"ghi\r", u"G4XYZ");
    EXPECT_EQ(linesOf(buffer), (Lines{u"abc", u"def", u"ghi"}));
}

TEST(ReceivedTextWriter, TelnetShowsAPartialLineAndCompletesItInPlace) {
    MonitorBuffer buffer;
    ReceivedTextWriter writer(buffer, TerminalStream::Telnet);
    writer.append(u"abc\r\nDX de G4", u"");
    EXPECT_EQ(linesOf(buffer), (Lines{u"abc", u"DX de G4"}));
    writer.append(u"XYZ: 14025", u"");
    writer.append(u".0 K1AA\r\nnext", u"");
    EXPECT_EQ(linesOf(buffer), (Lines{u"abc", u"DX de G4XYZ: 14025.0 K1AA", u"next"}));
    EXPECT_EQ(buffer.linesAdded(), 3u);
}

TEST(ReceivedTextWriter, TelnetTextAfterALineEndStartsANewLine) {
    MonitorBuffer buffer;
    ReceivedTextWriter writer(buffer, TerminalStream::Telnet);
    writer.append(u"one\r\n", u"");
    writer.append(u"two", u"");
    writer.append(u"\r\nthree", u"");
    EXPECT_EQ(linesOf(buffer), (Lines{u"one", u"two", u"three"}));
}

TEST(ReceivedTextWriter, MarkIsDecidedOnTheCompletedLine) {
    MonitorBuffer buffer;
    ReceivedTextWriter writer(buffer, TerminalStream::Telnet);
    writer.append(u"10:F", u"G4XYZ");
    EXPECT_EQ(linesOf(buffer), (Lines{u"10:F"}));
    writer.append(u"m DL1ABC to G4", u"G4XYZ");
    EXPECT_EQ(linesOf(buffer), (Lines{u"\u000303" u"10:Fm DL1ABC to G4"}));
    writer.append(u"XYZ\r\n", u"G4XYZ");
    EXPECT_EQ(linesOf(buffer), (Lines{u"\u000302" u"10:Fm DL1ABC to G4XYZ"}));
}

TEST(ReceivedTextWriter, ContinuationOfALineThatLeftTheBufferIsAddedOnItsOwn) {
    MonitorBuffer buffer;
    buffer.setCapacity(0);
    ReceivedTextWriter writer(buffer, TerminalStream::Telnet);
    writer.append(u"par", u"");
    buffer.setCapacity(5);
    writer.append(u"tial\r\n", u"");
    EXPECT_EQ(linesOf(buffer), (Lines{u"tial"}));
}

TEST(ReceivedTextWriter, StopsJoiningOnceTheLineReachesTheLimit) {
    MonitorBuffer buffer;
    ReceivedTextWriter writer(buffer, TerminalStream::Telnet);
    const std::u16string chunk(1000, u'x');
    const int chunks = static_cast<int>(ReceivedTextWriter::kMaxJoinedLength / 1000) + 3;
    for (int i = 0; i < chunks; ++i)
        writer.append(chunk, u"");
    ASSERT_EQ(buffer.count(), 2);
    EXPECT_LT(buffer.line(0).size(), ReceivedTextWriter::kMaxJoinedLength + chunk.size());
    EXPECT_EQ(buffer.line(0).size() + buffer.line(1).size(), chunk.size() * chunks);
}

}  // namespace
