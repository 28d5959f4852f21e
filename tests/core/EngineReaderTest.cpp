#include "links/EngineReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace quendra {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Hands out a byte stream in pieces of the given sizes, never more than the reader asks for,
// and remembers how much each read asked for.
class ScriptedSource : public ByteSource {
public:
    ScriptedSource(Bytes stream, std::deque<int> pieces) : stream_(std::move(stream)), pieces_(std::move(pieces)) {}

    int read(std::uint8_t* buffer, int maximum) override {
        requests.push_back(maximum);
        if (offset_ == stream_.size())
            return -1;
        int want = pieces_.empty() ? maximum : pieces_.front();
        const int count = std::min({want, maximum, static_cast<int>(stream_.size() - offset_)});
        if (!pieces_.empty()) {
            pieces_.front() -= count;
            if (pieces_.front() <= 0)
                pieces_.pop_front();
        }
        std::copy_n(stream_.begin() + static_cast<std::ptrdiff_t>(offset_), count, buffer);
        offset_ += static_cast<std::size_t>(count);
        return count;
    }

    bool exhausted() const { return offset_ == stream_.size(); }
    std::vector<int> requests;

private:
    Bytes stream_;
    std::deque<int> pieces_;
    std::size_t offset_ = 0;
};

struct SeenFrame {
    char kind;
    std::uint32_t port;
    std::string data;
    bool operator==(const SeenFrame&) const = default;
};

class RecordingSink : public FrameSink {
public:
    void onFrame(const FrameHeader& header, std::span<const std::uint8_t> data) override {
        EXPECT_EQ(data.data()[data.size()], 0) << "data must be NUL-terminated";
        frames.push_back({static_cast<char>(header.kind), header.port, std::string(data.begin(), data.end())});
    }
    std::vector<SeenFrame> frames;
};

Bytes frame(char kind, std::uint32_t port, const std::string& data, std::uint8_t kindHigh = 0) {
    FrameHeader header;
    header.kind = static_cast<std::uint8_t>(kind);
    header.kindHigh = kindHigh;
    header.port = port;
    return encodeFrame(header, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

Bytes headerAnnouncing(std::uint32_t length) {
    Bytes bytes = frame('I', 0, "");
    for (int i = 0; i < 4; ++i)
        bytes[28 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    return bytes;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes firstBytes(Bytes bytes, std::size_t count) {
    bytes.resize(count);
    return bytes;
}

// Feeds the whole stream; returns the frames seen.
std::vector<SeenFrame> readAll(EngineReader& reader, ScriptedSource& source, RecordingSink& sink) {
    for (int guard = 0; guard < 100000 && !source.exhausted(); ++guard)
        EXPECT_EQ(reader.receive(source, sink), EngineReader::Result::InStep);
    return sink.frames;
}

const std::vector<SeenFrame> kThreeFrames = {
    {'U', 0, " 1:Fm ZZ1AB To CQ <UI pid=F0 Len=20 >\rDX de ZZ1AB: 14025.0 ZZ9ZZ\r"},
    {'G', 0, "2;Port one;Port two"},
    {'T', 1, std::string(700, 'x')},
};

Bytes threeFramesStream() {
    return join({frame('U', 0, kThreeFrames[0].data), frame('G', 0, kThreeFrames[1].data),
                 frame('T', 1, kThreeFrames[2].data)});
}

TEST(EngineReader, EverySplitPositionGivesExactlyTheFrames) {
    const Bytes stream = threeFramesStream();
    for (int split = 1; split < static_cast<int>(stream.size()); ++split) {
        EngineReader reader;
        ScriptedSource source(stream, {split});
        RecordingSink sink;
        ASSERT_EQ(readAll(reader, source, sink), kThreeFrames) << "split at " << split;
        EXPECT_EQ(reader.state(), EngineReader::State::ExpectHeader);
    }
}

TEST(EngineReader, SmallPiecesGiveExactlyTheFrames) {
    for (int piece : {1, 7, 35, 36, 37, 499}) {
        std::deque<int> pieces(2000, piece);
        EngineReader reader;
        ScriptedSource source(threeFramesStream(), pieces);
        RecordingSink sink;
        EXPECT_EQ(readAll(reader, source, sink), kThreeFrames) << "pieces of " << piece;
    }
}

TEST(EngineReader, HeaderInTwoPiecesIsHandledOnceWhenComplete) {
    EngineReader reader;
    ScriptedSource source(frame('I', 2, "hello"), {20, 21});
    RecordingSink sink;
    reader.receive(source, sink);
    EXPECT_EQ(reader.state(), EngineReader::State::HeaderPending);
    EXPECT_TRUE(sink.frames.empty());
    reader.receive(source, sink);
    EXPECT_EQ(sink.frames, (std::vector<SeenFrame>{{'I', 2, "hello"}}));
    EXPECT_EQ(source.requests, (std::vector<int>{1400, 500}));
}

TEST(EngineReader, BodyOverSeveralReadsIsHandledWhenTheLastByteArrives) {
    const std::string body(2501, 'b');
    EngineReader reader;
    ScriptedSource source(frame('S', 0, body), {1400, 500, 500, 500, 500});
    RecordingSink sink;
    for (int i = 0; i < 3; ++i) {
        reader.receive(source, sink);
        EXPECT_EQ(reader.state(), EngineReader::State::BodyPending);
    }
    EXPECT_TRUE(sink.frames.empty());
    reader.receive(source, sink);
    EXPECT_EQ(sink.frames, (std::vector<SeenFrame>{{'S', 0, body}}));
    EXPECT_EQ(source.requests, (std::vector<int>{1400, 500, 500, 500}));
}

TEST(EngineReader, FramesOfLengthZeroAndUnusualKindsAreDeliveredAsTheyCame) {
    EngineReader reader;
    ScriptedSource source(join({frame('I', 0, ""), frame('I', 0, "x", 1), frame('H', 3, "h")}), {});
    RecordingSink sink;
    reader.receive(source, sink);
    ASSERT_EQ(sink.frames.size(), 3u);
    EXPECT_EQ(sink.frames[0], (SeenFrame{'I', 0, ""}));
    EXPECT_EQ(sink.frames[2], (SeenFrame{'H', 3, "h"}));
}

TEST(EngineReader, ReadErrorLeavesStateAsItWas) {
    EngineReader reader;
    ScriptedSource source(firstBytes(frame('I', 0, "abc"), 10), {});
    RecordingSink sink;
    reader.receive(source, sink);
    EXPECT_EQ(reader.state(), EngineReader::State::HeaderPending);
    reader.receive(source, sink);  // the source has nothing more: -1
    EXPECT_EQ(reader.state(), EngineReader::State::HeaderPending);
}

TEST(EngineReader, OversizedBodyIsSkippedAndTheStreamStaysInStep) {
    for (std::uint32_t length : {2502u, 2999u, 3000u, 100000u}) {
        for (int piece : {1400, 500, 37, 3}) {
            const Bytes stream = join({frame('I', 0, "before"), frame('U', 0, std::string(length, 'z')),
                                       frame('U', 4, "after")});
            EngineReader reader;
            ScriptedSource source(stream, std::deque<int>(stream.size(), piece));
            RecordingSink sink;
            EXPECT_EQ(readAll(reader, source, sink), (std::vector<SeenFrame>{{'I', 0, "before"}, {'U', 4, "after"}}))
                << "length " << length << " pieces of " << piece;
            EXPECT_EQ(reader.bytesToSkip(), 0u);
        }
    }
}

// A port-information reply too long to gather still reaches the sink with its leading bytes,
// where the port count stands: without it monitoring is never switched on.
TEST(EngineReader, OversizedPortReplyKeepsItsLeadingBytesAndTheStreamStaysInStep) {
    for (std::uint32_t length : {2502u, 5000u, 100000u}) {
        std::string reply = "12;Port one;Port two;";
        reply += std::string(length - reply.size(), 'p');
        const std::string leading = reply.substr(0, EngineReader::kMaxGatheredLength);
        for (int piece : {1400, 500, 37, 3}) {
            const Bytes stream = join({frame('I', 0, "before"), frame('G', 0, reply), frame('U', 4, "after")});
            EngineReader reader;
            ScriptedSource source(stream, std::deque<int>(stream.size(), piece));
            RecordingSink sink;
            EXPECT_EQ(readAll(reader, source, sink),
                      (std::vector<SeenFrame>{{'I', 0, "before"}, {'G', 0, leading}, {'U', 4, "after"}}))
                << "length " << length << " pieces of " << piece;
            EXPECT_EQ(reader.bytesToSkip(), 0u);
        }
    }
}

TEST(EngineReader, OversizedPortReplyIsHandedOnWhenItsLastByteArrives) {
    const std::string reply = "2;" + std::string(4998, 'p');
    EngineReader reader;
    // The reply's last byte is the only one in the final read.
    ScriptedSource source(frame('G', 0, reply), {1400, 500, 500, 500, 500, 500, 500, 500, 135, 1});
    RecordingSink sink;
    for (int i = 0; i < 9; ++i)
        reader.receive(source, sink);
    EXPECT_TRUE(sink.frames.empty());
    reader.receive(source, sink);
    ASSERT_EQ(sink.frames.size(), 1u);
    EXPECT_EQ(sink.frames[0].data, reply.substr(0, EngineReader::kMaxGatheredLength));
    EXPECT_EQ(reader.state(), EngineReader::State::ExpectHeader);
    EXPECT_TRUE(source.exhausted());
}

TEST(EngineReader, AbsurdLengthReportsDesynchronisedAndEmptiesTheReader) {
    for (std::uint32_t length : {EngineReader::kMaxPlausibleLength + 1, 0xFFFFFFFFu}) {
        EngineReader reader;
        ScriptedSource source(join({frame('I', 0, "ok"), headerAnnouncing(length), Bytes(100, 'q')}), {});
        RecordingSink sink;
        EXPECT_EQ(reader.receive(source, sink), EngineReader::Result::Desynchronised);
        EXPECT_EQ(sink.frames, (std::vector<SeenFrame>{{'I', 0, "ok"}}));
        EXPECT_EQ(reader.state(), EngineReader::State::ExpectHeader);
    }
}

TEST(EngineReader, ResetStartsTheNextStreamFromAnEmptyReader) {
    EngineReader reader;
    RecordingSink sink;
    ScriptedSource oldStream(firstBytes(frame('I', 0, "old frame cut short"), 40), {});
    reader.receive(oldStream, sink);
    ASSERT_EQ(reader.state(), EngineReader::State::BodyPending);
    reader.reset();
    ScriptedSource newStream(frame('T', 0, "new"), {});
    reader.receive(newStream, sink);
    EXPECT_EQ(sink.frames, (std::vector<SeenFrame>{{'T', 0, "new"}}));
    EXPECT_EQ(newStream.requests, (std::vector<int>{1400}));
}

TEST(EngineReader, ResetAlsoForgetsASkipInProgress) {
    EngineReader reader;
    RecordingSink sink;
    ScriptedSource oldStream(headerAnnouncing(9000), {});
    reader.receive(oldStream, sink);
    ASSERT_GT(reader.bytesToSkip(), 0u);
    reader.reset();
    ScriptedSource newStream(frame('U', 0, "fresh"), {});
    reader.receive(newStream, sink);
    EXPECT_EQ(sink.frames, (std::vector<SeenFrame>{{'U', 0, "fresh"}}));
}

TEST(EngineReader, GarbageNeverOverrunsAndNeverStalls) {
    // Random headers with lengths drawn near the limits, random bytes between them.
    std::mt19937 random(7);
    const std::uint32_t lengths[] = {0, 1, 35, 36, 2500, 2501, 2502, 3000, 70000,
                                     EngineReader::kMaxPlausibleLength, EngineReader::kMaxPlausibleLength + 1};
    for (int round = 0; round < 200; ++round) {
        Bytes stream;
        for (int part = 0; part < 6; ++part) {
            Bytes header = headerAnnouncing(lengths[random() % std::size(lengths)]);
            header[4] = static_cast<std::uint8_t>(random());
            stream.insert(stream.end(), header.begin(), header.end());
            stream.resize(stream.size() + random() % 3000, static_cast<std::uint8_t>(random()));
        }
        std::deque<int> pieces;
        for (std::size_t i = 0; i < stream.size(); ++i)
            pieces.push_back(1 + static_cast<int>(random() % 1500));
        EngineReader reader;
        ScriptedSource source(stream, pieces);
        RecordingSink sink;
        for (int reads = 0; !source.exhausted(); ++reads) {
            ASSERT_LT(reads, 100000);
            if (reader.receive(source, sink) == EngineReader::Result::Desynchronised) {
                EXPECT_EQ(reader.state(), EngineReader::State::ExpectHeader);
            }
        }
        for (const auto& seen : sink.frames)
            EXPECT_LE(seen.data.size(), EngineReader::kMaxGatheredLength);
    }
}

}  // namespace
}  // namespace quendra
