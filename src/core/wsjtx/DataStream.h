#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::wsjtx {

// Reads the big-endian values of a Qt data stream as WSJT-X writes them. Reading past the end
// leaves the reader failed and every later read returns a zero value, so a message's fields can
// be read in a row and checked once.
class DataStreamReader {
public:
    explicit DataStreamReader(std::string_view bytes) : bytes_(bytes) {}

    bool ok() const { return !failed_; }
    bool atEnd() const { return at_ >= bytes_.size(); }

    std::uint8_t u8();
    bool boolean() { return u8() != 0; }
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint64_t u64();
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
    double f64();
    // A byte array: a length and the bytes; the length 0xffffffff is a null array, read as empty.
    std::string utf8();

private:
    bool take(std::size_t count);

    std::string_view bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

// Writes the same values, for the messages sent back to WSJT-X.
class DataStreamWriter {
public:
    void u8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void boolean(bool value) { u8(value ? 1 : 0); }
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void u64(std::uint64_t value);
    void f64(double value);
    void utf8(std::string_view text);

    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

}  // namespace quendra::wsjtx
