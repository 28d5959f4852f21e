#include "links/EngineReader.h"

#include <algorithm>
#include <cstring>

namespace quendra {

void EngineReader::reset() {
    fill_ = 0;
    position_ = 0;
    state_ = State::ExpectHeader;
    current_ = FrameHeader{};
    skipRemaining_ = 0;
}

EngineReader::Result EngineReader::receive(ByteSource& source, FrameSink& sink) {
    const bool pending = state_ != State::ExpectHeader;
    const bool haveBytes = pending ? readContinuation(source) : readExpectingHeader(source);
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
        skipRemaining_ -= static_cast<std::uint32_t>(dropped);
        fresh = fresh.subspan(dropped);
        if (skipRemaining_ > 0)
            return false;
        // The skipped body has ended; what follows it starts a header.
        state_ = State::ExpectHeader;
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
                position_ += static_cast<int>(dropped);
                skipRemaining_ = current_.dataLength - dropped;
                state_ = skipRemaining_ > 0 ? State::BodyPending : State::ExpectHeader;
                if (skipRemaining_ > 0)
                    return Result::InStep;
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

bool EngineReader::takeHeader() {
    current_ = FrameHeader::decode(
        std::span<const std::uint8_t, FrameHeader::kSize>(buffer_.data() + position_, FrameHeader::kSize));
    position_ += static_cast<int>(FrameHeader::kSize);
    return current_.dataLength <= kMaxPlausibleLength;
}

}  // namespace quendra
