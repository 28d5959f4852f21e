#include "radio/RigCommands.h"
#include "radio/RigReplyReader.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

RigReply status(int code) {
    RigReply reply;
    reply.code = code;
    return reply;
}

RigReply frequency(std::int64_t hertz) {
    RigReply reply;
    reply.kind = RigReplyKind::Frequency;
    reply.hertz = hertz;
    return reply;
}

RigReply mode(std::string token, std::int64_t passband) {
    RigReply reply;
    reply.kind = RigReplyKind::Mode;
    reply.mode = std::move(token);
    reply.passband = passband;
    return reply;
}

RigReply failed(RigReplyKind kind, int code) {
    RigReply reply = status(code);
    reply.kind = kind;
    return reply;
}

// What rigctld 4.5.4's dummy radio answered to "F 14025000", "M CW 0", "f", "m".
const std::string kTuneAndReadBytes = "RPRT 0\nRPRT 0\n14025000\nCW\n500\n";
const std::vector<RigReplyKind> kTuneAndReadKinds = {RigReplyKind::Status, RigReplyKind::Status,
                                                     RigReplyKind::Frequency, RigReplyKind::Mode};
const std::vector<RigReply> kTuneAndReadReplies = {status(0), status(0), frequency(14025000), mode("CW", 500)};

std::vector<RigReply> feedInPieces(RigReplyReader& reader, const std::vector<std::string>& pieces) {
    std::vector<RigReply> all;
    for (const std::string& piece : pieces)
        for (RigReply& reply : reader.feed(piece))
            all.push_back(std::move(reply));
    return all;
}

RigReplyReader expecting(const std::vector<RigReplyKind>& kinds) {
    RigReplyReader reader;
    for (const RigReplyKind kind : kinds)
        reader.expect(kind);
    return reader;
}

TEST(RigReplyReader, SameRepliesWhereverTheBytesAreCut) {
    for (std::size_t first = 0; first <= kTuneAndReadBytes.size(); ++first) {
        for (std::size_t second = first; second <= kTuneAndReadBytes.size(); ++second) {
            RigReplyReader reader = expecting(kTuneAndReadKinds);
            const std::vector<RigReply> replies = feedInPieces(
                reader, {kTuneAndReadBytes.substr(0, first), kTuneAndReadBytes.substr(first, second - first),
                         kTuneAndReadBytes.substr(second)});
            ASSERT_EQ(replies, kTuneAndReadReplies) << "cut at " << first << " and " << second;
            EXPECT_EQ(reader.expectedCount(), 0u);
            EXPECT_EQ(reader.skippedLines(), 0u);
        }
    }
}

struct ReplyCase {
    const char* name;
    std::vector<RigReplyKind> kinds;
    std::string bytes;
    std::vector<RigReply> replies;
    std::size_t skipped;
};

class RigReplyReaderCases : public testing::TestWithParam<ReplyCase> {};

TEST_P(RigReplyReaderCases, ReadsWhatEachCommandExpects) {
    RigReplyReader reader = expecting(GetParam().kinds);
    EXPECT_EQ(reader.feed(GetParam().bytes), GetParam().replies);
    EXPECT_EQ(reader.skippedLines(), GetParam().skipped);
}

const std::string kOverlong(RigReplyReader::kMaxLineLength + 5000, '7');

INSTANTIATE_TEST_SUITE_P(
    Table, RigReplyReaderCases,
    testing::Values(
        ReplyCase{"ErrorToSet", {RigReplyKind::Status}, "RPRT -1\n", {status(-1)}, 0},
        ReplyCase{"ErrorToReadEndsIt", {RigReplyKind::Frequency, RigReplyKind::Status}, "RPRT -11\nRPRT 0\n",
                  {failed(RigReplyKind::Frequency, -11), status(0)}, 0},
        ReplyCase{"ErrorBetweenModeLines", {RigReplyKind::Mode}, "USB\nRPRT -9\n",
                  {failed(RigReplyKind::Mode, -9)}, 0},
        ReplyCase{"CrLfAndEmptyLines", {RigReplyKind::Frequency}, "\r\n\n7001250\r\n", {frequency(7001250)}, 0},
        ReplyCase{"FrequencyWithDecimals", {RigReplyKind::Frequency}, "14025000.000000\n", {frequency(14025000)}, 0},
        ReplyCase{"GarbageLinesSkipped", {RigReplyKind::Status, RigReplyKind::Mode},
                  "login: hello\nRPRT\nRPRT x\n\x01\xff\nRPRT 0\n12\nPKTUSB\nwide\n0\n",
                  {status(0), mode("PKTUSB", 0)}, 6},
        ReplyCase{"PassbandBeforeModeIsNoMode", {RigReplyKind::Mode}, "500\nCW\n500\n", {mode("CW", 500)}, 1},
        ReplyCase{"RprtZeroIsNoFrequency", {RigReplyKind::Frequency}, "RPRT 0\n-5\n3525000\n", {frequency(3525000)}, 2},
        ReplyCase{"AbsurdFrequencySkipped", {RigReplyKind::Frequency}, "99999999999999\n1840000\n", {frequency(1840000)}, 1},
        ReplyCase{"NothingExpected", {}, "RPRT 0\n14025000\n", {}, 2},
        ReplyCase{"OverlongLineSkippedWhole", {RigReplyKind::Frequency}, kOverlong + "\n1840000\n", {frequency(1840000)}, 1},
        ReplyCase{"UnfinishedLineWaits", {RigReplyKind::Status}, "RPRT 0", {}, 0}),
    [](const testing::TestParamInfo<ReplyCase>& row) { return std::string(row.param.name); });

TEST(RigReplyReader, ExpectationsAreBoundedAndResetClearsThemAndTheTail) {
    RigReplyReader reader;
    for (std::size_t i = 0; i < RigReplyReader::kMaxExpected; ++i)
        ASSERT_TRUE(reader.expect(RigReplyKind::Status));
    EXPECT_FALSE(reader.expect(RigReplyKind::Status));
    EXPECT_TRUE(reader.feed("RPR").empty());
    reader.reset();
    EXPECT_EQ(reader.expectedCount(), 0u);
    reader.expect(RigReplyKind::Frequency);
    EXPECT_EQ(reader.feed("T 0\n14025000\n"), std::vector<RigReply>{frequency(14025000)});
}

TEST(RigCommands, LinesAsRigctldReadsThem) {
    EXPECT_EQ(setFrequencyCommand(14025000), "F 14025000\n");
    EXPECT_EQ(setModeCommand("CW"), "M CW 0\n");
    EXPECT_EQ(setModeCommand("pktusb"), "M PKTUSB 0\n");
    EXPECT_EQ(setModeCommand(""), std::nullopt);
    EXPECT_EQ(setModeCommand("CW 0\nF 1"), std::nullopt);
    EXPECT_EQ(setModeCommand("USB-D"), std::nullopt);
    EXPECT_EQ(setModeCommand(std::string(kMaxModeTokenLength + 1, 'A')), std::nullopt);
    EXPECT_EQ(kReadFrequencyCommand, "f\n");
    EXPECT_EQ(kReadModeCommand, "m\n");
}

}  // namespace
