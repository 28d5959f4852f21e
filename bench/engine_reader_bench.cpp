// The engine's stream arrives in reads cut anywhere, inside headers and inside data. The reader
// must keep up with far more frames than any radio port can carry; a bare copy-and-split loop
// over the same cuts shows the least that framing can cost.
#include "links/EngineReader.h"
#include "links/FrameHeader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using quendra::ByteSource;
using quendra::EngineReader;
using quendra::FrameHeader;
using quendra::FrameSink;

constexpr int kFrames = 4096;
constexpr int kLargestPiece = 700;

// Monitored frames as the engine sends them: a header line, then one or two data lines.
std::string frameText(std::mt19937& random, int number) {
    std::string text = " 1:Fm ZZ1AB To DX <UI pid=F0 Len=70 >[12:34:56]\r";
    const int lines = 1 + static_cast<int>(random() % 2);
    for (int line = 0; line < lines; ++line)
        text += "DX de ZZ1AB:     14025.0  ST" + std::to_string(number) +
                "        CW 599                         1234Z\r";
    if (random() % 4 == 0)
        text += std::string(random() % 400, 'x') + "\r";
    return text;
}

struct CutStream {
    std::vector<std::uint8_t> bytes;
    std::vector<int> pieces;  // read sizes, summing to bytes.size()
};

CutStream makeStream() {
    std::mt19937 random(1);
    CutStream stream;
    for (int number = 0; number < kFrames; ++number) {
        const std::string text = frameText(random, number);
        FrameHeader header;
        header.kind = 'U';
        header.fromCall = FrameHeader::callField("ZZ1AB");
        header.toCall = FrameHeader::callField("DX");
        const auto frame = quendra::encodeFrame(
            header, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        stream.bytes.insert(stream.bytes.end(), frame.begin(), frame.end());
    }
    std::uniform_int_distribution<int> size(1, kLargestPiece);
    for (std::size_t left = stream.bytes.size(); left > 0;) {
        const auto piece = std::min<std::size_t>(left, static_cast<std::size_t>(size(random)));
        stream.pieces.push_back(static_cast<int>(piece));
        left -= piece;
    }
    return stream;
}

const CutStream& stream() {
    static const CutStream cut = makeStream();
    return cut;
}

// Hands out the stream one piece at a time, never more than a piece per read, like a socket
// whose segments arrive one by one.
class PieceSource : public ByteSource {
public:
    explicit PieceSource(const CutStream& cut) : cut_(cut) {}
    bool atEnd() const { return piece_ == cut_.pieces.size(); }
    int read(std::uint8_t* buffer, int maximum) override {
        if (atEnd())
            return -1;
        const int count = std::min(maximum, cut_.pieces[piece_] - usedOfPiece_);
        std::memcpy(buffer, cut_.bytes.data() + offset_, static_cast<std::size_t>(count));
        offset_ += static_cast<std::size_t>(count);
        usedOfPiece_ += count;
        if (usedOfPiece_ == cut_.pieces[piece_]) {
            ++piece_;
            usedOfPiece_ = 0;
        }
        return count;
    }

private:
    const CutStream& cut_;
    std::size_t piece_ = 0;
    int usedOfPiece_ = 0;
    std::size_t offset_ = 0;
};

class CountingSink : public FrameSink {
public:
    void onFrame(const FrameHeader&, std::span<const std::uint8_t> data) override {
        ++frames;
        bytes += data.size();
    }
    long long frames = 0;
    std::size_t bytes = 0;
};

void reportFrames(benchmark::State& state, long long framesPerPass) {
    state.SetItemsProcessed(state.iterations() * framesPerPass);
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(stream().bytes.size()));
}

void BM_EngineReaderRandomCuts(benchmark::State& state) {
    long long frames = 0;
    for (auto _ : state) {
        PieceSource source(stream());
        CountingSink sink;
        EngineReader reader;
        while (!source.atEnd())
            reader.receive(source, sink);
        frames = sink.frames;
        benchmark::DoNotOptimize(sink.bytes);
    }
    if (frames != kFrames)
        state.SkipWithError("the reader lost frames");
    reportFrames(state, frames);
}
BENCHMARK(BM_EngineReaderRandomCuts)->Unit(benchmark::kMicrosecond);

// Baseline: the same pieces appended to a buffer with memcpy and cut at each announced length,
// with no limits, no state machine and no copy of the data.
void BM_BaselineMemcpyFraming(benchmark::State& state) {
    const CutStream& cut = stream();
    std::vector<std::uint8_t> buffer(cut.bytes.size());
    long long frames = 0;
    for (auto _ : state) {
        std::size_t fill = 0;
        std::size_t start = 0;
        std::size_t offset = 0;
        std::size_t dataBytes = 0;
        frames = 0;
        for (const int piece : cut.pieces) {
            std::memcpy(buffer.data() + fill, cut.bytes.data() + offset, static_cast<std::size_t>(piece));
            fill += static_cast<std::size_t>(piece);
            offset += static_cast<std::size_t>(piece);
            while (fill - start >= FrameHeader::kSize) {
                std::uint32_t length = 0;
                std::memcpy(&length, buffer.data() + start + 28, sizeof length);
                if (fill - start < FrameHeader::kSize + length)
                    break;
                start += FrameHeader::kSize + length;
                dataBytes += length;
                ++frames;
            }
        }
        benchmark::DoNotOptimize(dataBytes);
    }
    if (frames != kFrames)
        state.SkipWithError("the baseline lost frames");
    reportFrames(state, frames);
}
BENCHMARK(BM_BaselineMemcpyFraming)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
