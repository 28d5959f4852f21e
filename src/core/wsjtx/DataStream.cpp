#include "wsjtx/DataStream.h"

#include <bit>
#include <cstring>

namespace quendra::wsjtx {

bool DataStreamReader::take(std::size_t count) {
    if (failed_ || bytes_.size() - at_ < count) {
        failed_ = true;
        return false;
    }
    return true;
}

std::uint8_t DataStreamReader::u8() {
    if (!take(1))
        return 0;
    return static_cast<std::uint8_t>(bytes_[at_++]);
}

std::uint32_t DataStreamReader::u32() {
    if (!take(4))
        return 0;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes_[at_++]);
    return value;
}

std::uint64_t DataStreamReader::u64() {
    const std::uint64_t high = u32();
    return (high << 32) | u32();
}

double DataStreamReader::f64() { return std::bit_cast<double>(u64()); }

std::string DataStreamReader::utf8() {
    const std::uint32_t length = u32();
    if (length == 0xffffffffu || !take(length))
        return {};
    std::string text(bytes_.substr(at_, length));
    at_ += length;
    return text;
}

void DataStreamWriter::u32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        u8(static_cast<std::uint8_t>(value >> shift));
}

void DataStreamWriter::u64(std::uint64_t value) {
    u32(static_cast<std::uint32_t>(value >> 32));
    u32(static_cast<std::uint32_t>(value));
}

void DataStreamWriter::f64(double value) { u64(std::bit_cast<std::uint64_t>(value)); }

void DataStreamWriter::utf8(std::string_view text) {
    u32(static_cast<std::uint32_t>(text.size()));
    bytes_.append(text);
}

}  // namespace quendra::wsjtx
