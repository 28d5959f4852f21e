#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quendra {

// The 36-byte little-endian header that starts every message of the packet engine's API.
//   0 port (u32) | 4 kind (u8) | 5 zero (u8) | 6 pid (u8) | 7 zero (u8) | 8 from call (10 bytes,
//   NUL-terminated) | 18 to call (10 bytes) | 28 data length (u32) | 32 reserved (u32)
struct FrameHeader {
    static constexpr std::size_t kSize = 36;
    static constexpr std::size_t kCallField = 10;
    static constexpr std::size_t kMaxCallLength = kCallField - 1;

    std::uint32_t port = 0;
    std::uint8_t kind = 0;
    std::uint8_t kindHigh = 0;  // must be 0 for the kind letter to count
    std::uint8_t pid = 0;
    std::uint8_t spare = 0;
    std::array<char, kCallField> fromCall{};
    std::array<char, kCallField> toCall{};
    std::uint32_t dataLength = 0;
    std::uint32_t reserved = 0;

    // Whether the header carries this kind letter: the kind byte and the byte after it read as
    // one 16-bit little-endian value equal to the letter.
    bool isKind(char letter) const {
        return kindHigh == 0 && kind == static_cast<std::uint8_t>(letter);
    }

    // Copies a call sign into a call field. A call longer than 9 characters is cut to 9 so that
    // the field always keeps its terminating NUL; the rest of the field is zero.
    static std::array<char, kCallField> callField(std::string_view call);

    static FrameHeader decode(std::span<const std::uint8_t, kSize> bytes);
    void encodeTo(std::span<std::uint8_t, kSize> bytes) const;
};

// A whole frame for sending: header (with dataLength set from data) followed by the data.
std::vector<std::uint8_t> encodeFrame(FrameHeader header, std::span<const std::uint8_t> data);

}  // namespace quendra
