#include "links/EngineReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quendra {

void EngineReader::reset() {
    fill_ = 0;
    position_ = 0;
    state_ = State::ExpectHeader;
    current_ = FrameHeader{};
    skipRemaining_ = 0;
    keeping_ = false;
    kept_ = 0;
    skipEnded_ = false;
}

EngineReader::Result EngineReader::receive(ByteSource& source, FrameSink& sink) {
    const bool pending = state_ != State::ExpectHeader;
    const bool haveBytes = pending ? readContinuation(source) : readExpectingHeader(source);
    if (skipEnded_)
        finishSkip(sink);
    if (!haveBytes || fill_ == 0)
        return Result::InStep;
    return drain(sink);
}

bool EngineReader::readExpectingHeader(ByteSource& source) {
    const int count = source.read(buffer_.data(), kFirstRead);
    if (count < 0)
        return false;
    fill_ = std::min(count, kFirstRead);
    position_ = 0;
    return true;
}

bool EngineReader::readContinuation(ByteSource& source) {
    std::array<std::uint8_t, kContinuationRead> scratch;
    const int count = source.read(scratch.data(), kContinuationRead);
    if (count < 0)
        return false;
    std::span<const std::uint8_t> fresh(scratch.data(),
                                        static_cast<std::size_t>(std::min(count, kContinuationRead)));
    if (skipRemaining_ > 0) {
        const auto dropped = static_cast<std::size_t>(std::min<std::uint64_t>(skipRemaining_, fresh.size()));
        keepLeading(fresh.first(dropped));
        skipRemaining_ -= static_cast<std::uint32_t>(dropped);
        fresh = fresh.subspan(dropped);
        if (skipRemaining_ > 0)
            return false;
        // The skipped body has ended; what follows it starts a header.
        state_ = State::ExpectHeader;
        skipEnded_ = true;
    }
    // Pending bytes are either part of a header (< 36) or part of a body no longer than
    // kMaxGatheredLength - 1, so with the fresh bytes they always fit the buffer.
    const int kept = unconsumed();
    std::memmove(buffer_.data(), buffer_.data() + position_, static_cast<std::size_t>(kept));
    std::copy(fresh.begin(), fresh.end(), buffer_.begin() + kept);
    fill_ = kept + static_cast<int>(fresh.size());
    position_ = 0;
    return true;
}

EngineReader::Result EngineReader::drain(FrameSink& sink) {
    for (;;) {
        if (state_ != State::BodyPending) {
            if (unconsumed() == 0) {
                state_ = State::ExpectHeader;
                return Result::InStep;
            }
            if (unconsumed() < static_cast<int>(FrameHeader::kSize)) {
                state_ = State::HeaderPending;
                return Result::InStep;
            }
            if (!takeHeader()) {
                reset();
                return Result::Desynchronised;
            }
            if (current_.dataLength > kMaxGatheredLength) {
                const auto available = static_cast<std::uint32_t>(unconsumed());
                const std::uint32_t dropped = std::min(available, current_.dataLength);
                startSkip(std::span<const std::uint8_t>(buffer_.data() + position_, dropped));
                position_ += static_cast<int>(dropped);
                skipRemaining_ = current_.dataLength - dropped;
                state_ = skipRemaining_ > 0 ? State::BodyPending : State::ExpectHeader;
                if (skipRemaining_ > 0)
                    return Result::InStep;
                finishSkip(sink);
                continue;
            }
        }
        const auto length = static_cast<int>(current_.dataLength);
        if (unconsumed() < length) {
            state_ = State::BodyPending;
            return Result::InStep;
        }
        std::copy_n(buffer_.begin() + position_, length, data_.begin());
        data_[static_cast<std::size_t>(length)] = 0;
        position_ += length;
        state_ = State::ExpectHeader;
        sink.onFrame(current_, std::span<const std::uint8_t>(data_.data(), static_cast<std::size_t>(length)));
    }
}

void EngineReader::startSkip(std::span<const std::uint8_t> available) {
    // The port count stands at the start of the port-information reply: an engine with many
    // ports, or long port descriptions, must not keep monitoring from being switched on.
    keeping_ = current_.isKind('G');
    kept_ = 0;
    keepLeading(available);
}

void EngineReader::keepLeading(std::span<const std::uint8_t> bytes) {
    if (!keeping_ || kept_ >= kMaxGatheredLength)
        return;
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), kMaxGatheredLength - kept_));
    std::copy_n(bytes.begin(), count, data_.begin() + kept_);
    kept_ += count;
}

void EngineReader::finishSkip(FrameSink& sink) {
    skipEnded_ = false;
    if (!std::exchange(keeping_, false))
        return;
    FrameHeader header = current_;
    header.dataLength = kept_;
    data_[kept_] = 0;
    sink.onFrame(header, std::span<const std::uint8_t>(data_.data(), kept_));
}

bool EngineReader::takeHeader() {
    current_ = FrameHeader::decode(
        std::span<const std::uint8_t, FrameHeader::kSize>(buffer_.data() + position_, FrameHeader::kSize));
    position_ += static_cast<int>(FrameHeader::kSize);
    return current_.dataLength <= kMaxPlausibleLength;
}

}  // namespace quendra
