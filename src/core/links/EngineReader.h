#pragma once

#include "links/FrameHeader.h"

#include <array>
#include <cstdint>
#include <span>

namespace quendra {

// Where the reader takes its bytes from: a count of bytes read (0 at the end of the stream), or
// -1 when nothing can be read at the moment.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int read(std::uint8_t* buffer, int maximum) = 0;
};

// Receives each complete frame. The data stays valid only during the call; a NUL follows it.
// Of a port-information reply ('G') too long to gather, only the leading kMaxGatheredLength bytes
// come, and the header's dataLength says so: its first field, the port count, is what matters.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void onFrame(const FrameHeader& header, std::span<const std::uint8_t> data) = 0;
};

// Cuts the engine's byte stream into frames. One call to receive() does one read (1400 bytes
// when nothing is pending, 500 when part of a frame is) and hands on every frame completed by it.
// All memory is fixed: a 3000-byte buffer and a 3000-byte data area, whatever the peer announces.
class EngineReader {
public:
    enum class State : std::uint8_t { ExpectHeader = 0, BodyPending = 1, HeaderPending = 2 };
    enum class Result { InStep, Desynchronised };

    static constexpr int kBufferSize = 3000;
    static constexpr int kFirstRead = 1400;
    static constexpr int kContinuationRead = 500;
    // With continuation reads of 500 bytes, the largest body the buffer can gather.
    static constexpr std::uint32_t kMaxGatheredLength = kBufferSize - kContinuationRead + 1;
    // Bodies between the two limits are skipped in step with the stream (a port-information
    // reply keeps its leading bytes). A length beyond this one is no engine frame at all: the
    // stream has lost its framing.
    static constexpr std::uint32_t kMaxPlausibleLength = 1u << 20;

    // Reads once from the source and hands complete frames to the sink. After Desynchronised the
    // reader is empty again and the connection should be closed.
    Result receive(ByteSource& source, FrameSink& sink);

    // Forgets everything buffered: the next byte read starts a header.
    void reset();

    State state() const { return state_; }
    // Bytes of an oversized body still to be read and dropped.
    std::uint32_t bytesToSkip() const { return skipRemaining_; }

private:
    bool readExpectingHeader(ByteSource& source);
    bool readContinuation(ByteSource& source);
    Result drain(FrameSink& sink);
    bool takeHeader();
    void startSkip(std::span<const std::uint8_t> available);
    void keepLeading(std::span<const std::uint8_t> bytes);
    void finishSkip(FrameSink& sink);
    int unconsumed() const { return fill_ - position_; }

    std::array<std::uint8_t, kBufferSize> buffer_{};
    std::array<std::uint8_t, kBufferSize + 1> data_{};
    int fill_ = 0;
    int position_ = 0;
    State state_ = State::ExpectHeader;
    FrameHeader current_{};
    std::uint32_t skipRemaining_ = 0;
    // While a port-information reply is skipped, its leading bytes gather in data_.
    bool keeping_ = false;
    std::uint32_t kept_ = 0;
    bool skipEnded_ = false;
};

}  // namespace quendra
