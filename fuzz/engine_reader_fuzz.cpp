// The engine reader on an arbitrary byte stream handed over in arbitrary pieces. Whatever the
// pieces, it must hand on exactly the frames that a plain cut of the whole stream finds, and
// give up at the same header.
#include "FuzzCheck.h"
#include "links/EngineReader.h"

#include <algorithm>
#include <vector>

using quendra::EngineReader;
using quendra::FrameHeader;

namespace {

struct Frame {
    FrameHeader header;
    std::vector<std::uint8_t> data;
};

bool sameFrame(const Frame& a, const Frame& b) {
    return a.header.port == b.header.port && a.header.kind == b.header.kind &&
           a.header.kindHigh == b.header.kindHigh && a.header.pid == b.header.pid &&
           a.header.fromCall == b.header.fromCall && a.header.toCall == b.header.toCall &&
           a.header.dataLength == b.header.dataLength && a.data == b.data;
}

struct Cut {
    std::vector<Frame> frames;
    bool desynchronised = false;
};

// The stream cut in one go, the slow and obvious way.
Cut cutWhole(const std::vector<std::uint8_t>& stream) {
    Cut cut;
    std::size_t at = 0;
    while (stream.size() - at >= FrameHeader::kSize) {
        const auto header = FrameHeader::decode(
            std::span<const std::uint8_t, FrameHeader::kSize>(stream.data() + at, FrameHeader::kSize));
        at += FrameHeader::kSize;
        if (header.dataLength > EngineReader::kMaxPlausibleLength) {
            cut.desynchronised = true;
            break;
        }
        if (stream.size() - at < header.dataLength)
            break;
        const auto body = stream.begin() + static_cast<std::ptrdiff_t>(at);
        if (header.dataLength <= EngineReader::kMaxGatheredLength) {
            cut.frames.push_back({header, {body, body + static_cast<std::ptrdiff_t>(header.dataLength)}});
        } else if (header.isKind('G')) {
            // A port-information reply too long to gather comes with its leading bytes only.
            FrameHeader leading = header;
            leading.dataLength = EngineReader::kMaxGatheredLength;
            cut.frames.push_back({leading, {body, body + EngineReader::kMaxGatheredLength}});
        }
        at += header.dataLength;
    }
    return cut;
}

// Serves the stream in the chosen piece sizes, in turn; 0 stands for "nothing to read now".
class PieceSource : public quendra::ByteSource {
public:
    PieceSource(const std::vector<std::uint8_t>& stream, std::vector<int> pieces)
        : stream_(stream), pieces_(std::move(pieces)) {
        if (std::all_of(pieces_.begin(), pieces_.end(), [](int p) { return p == 0; }))
            pieces_.push_back(1);
    }

    int read(std::uint8_t* buffer, int maximum) override {
        FUZZ_CHECK(maximum > 0);
        const int piece = pieces_[next_++ % pieces_.size()];
        if (at_ == stream_.size())
            return 0;
        if (piece == 0)
            return -1;
        const auto count = std::min({static_cast<std::size_t>(piece), static_cast<std::size_t>(maximum),
                                     stream_.size() - at_});
        std::copy_n(stream_.begin() + static_cast<std::ptrdiff_t>(at_), count, buffer);
        at_ += count;
        return static_cast<int>(count);
    }

    bool exhausted() const { return at_ == stream_.size(); }

private:
    const std::vector<std::uint8_t>& stream_;
    std::vector<int> pieces_;
    std::size_t next_ = 0;
    std::size_t at_ = 0;
};

class CollectingSink : public quendra::FrameSink {
public:
    void onFrame(const FrameHeader& header, std::span<const std::uint8_t> data) override {
        FUZZ_CHECK(data.size() == header.dataLength);
        FUZZ_CHECK(data.size() <= EngineReader::kMaxGatheredLength);
        FUZZ_CHECK(data.data()[data.size()] == 0);
        frames.push_back({header, {data.begin(), data.end()}});
    }
    std::vector<Frame> frames;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // Piece sizes come from the end of the input, the stream from its front.
    std::vector<int> pieces(input.ConsumeIntegralInRange<std::size_t>(1, 16));
    for (int& piece : pieces)
        piece = input.ConsumeIntegralInRange<int>(0, 1500);
    const std::vector<std::uint8_t> stream = input.ConsumeRemainingBytes<std::uint8_t>();

    PieceSource source(stream, pieces);
    CollectingSink sink;
    EngineReader reader;
    bool desynchronised = false;
    // Every read that is not "nothing now" takes at least one byte, so this ends.
    while (!source.exhausted() && !desynchronised)
        desynchronised = reader.receive(source, sink) == EngineReader::Result::Desynchronised;
    if (!desynchronised) {
        // At the end of the stream nothing more may appear.
        const auto framesAtEnd = sink.frames.size();
        FUZZ_CHECK(reader.receive(source, sink) == EngineReader::Result::InStep);
        FUZZ_CHECK(sink.frames.size() == framesAtEnd);
    }

    const Cut expected = cutWhole(stream);
    FUZZ_CHECK(desynchronised == expected.desynchronised);
    FUZZ_CHECK(sink.frames.size() == expected.frames.size());
    for (std::size_t i = 0; i < sink.frames.size(); ++i)
        FUZZ_CHECK(sameFrame(sink.frames[i], expected.frames[i]));
    if (desynchronised)
        FUZZ_CHECK(reader.state() == EngineReader::State::ExpectHeader && reader.bytesToSkip() == 0);
    return 0;
}
