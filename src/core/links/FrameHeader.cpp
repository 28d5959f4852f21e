#include "links/FrameHeader.h"

#include <algorithm>

namespace quendra {
namespace {

std::uint32_t readU32(std::span<const std::uint8_t, FrameHeader::kSize> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

void writeU32(std::span<std::uint8_t, FrameHeader::kSize> bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<char, FrameHeader::kCallField> FrameHeader::callField(std::string_view call) {
    std::array<char, kCallField> field{};
    call = call.substr(0, std::min(call.find('\0'), kMaxCallLength));
    std::copy(call.begin(), call.end(), field.begin());
    return field;
}

FrameHeader FrameHeader::decode(std::span<const std::uint8_t, kSize> bytes) {
    FrameHeader header;
    header.port = readU32(bytes, 0);
    header.kind = bytes[4];
    header.kindHigh = bytes[5];
    header.pid = bytes[6];
    header.spare = bytes[7];
    std::copy_n(bytes.begin() + 8, kCallField, header.fromCall.begin());
    std::copy_n(bytes.begin() + 18, kCallField, header.toCall.begin());
    header.dataLength = readU32(bytes, 28);
    header.reserved = readU32(bytes, 32);
    return header;
}

void FrameHeader::encodeTo(std::span<std::uint8_t, kSize> bytes) const {
    writeU32(bytes, 0, port);
    bytes[4] = kind;
    bytes[5] = kindHigh;
    bytes[6] = pid;
    bytes[7] = spare;
    std::copy(fromCall.begin(), fromCall.end(), bytes.begin() + 8);
    std::copy(toCall.begin(), toCall.end(), bytes.begin() + 18);
    writeU32(bytes, 28, dataLength);
    writeU32(bytes, 32, reserved);
}

std::vector<std::uint8_t> encodeFrame(FrameHeader header, std::span<const std::uint8_t> data) {
    header.dataLength = static_cast<std::uint32_t>(data.size());
    std::vector<std::uint8_t> frame(FrameHeader::kSize + data.size());
    header.encodeTo(std::span<std::uint8_t, FrameHeader::kSize>(frame.data(), FrameHeader::kSize));
    std::copy(data.begin(), data.end(), frame.begin() + FrameHeader::kSize);
    return frame;
}

}  // namespace quendra
