#pragma once

// Engine frames as a test peer sends them. What the program is expected to send is written out
// byte by byte with rawBytes, never built here.

#include "links/FrameHeader.h"

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quendra::testing {

// Bytes of a literal as they stand on the wire, NULs included.
template <std::size_t N>
QByteArray rawBytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

struct FrameFields {
    char kind;
    std::uint32_t port = 0;
    std::string_view from = {};
    std::string_view to = {};
    std::uint8_t kindHigh = 0;
};

// The header, then the data; a hostile peer may announce a length other than the data's.
inline QByteArray frameBytes(const FrameFields& fields, const QByteArray& data = {},
                             std::optional<std::uint32_t> announcedLength = {}) {
    FrameHeader header;
    header.kind = static_cast<std::uint8_t>(fields.kind);
    header.kindHigh = fields.kindHigh;
    header.port = fields.port;
    header.fromCall = FrameHeader::callField(fields.from);
    header.toCall = FrameHeader::callField(fields.to);
    header.dataLength = announcedLength.value_or(static_cast<std::uint32_t>(data.size()));
    std::array<std::uint8_t, FrameHeader::kSize> bytes{};
    header.encodeTo(bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), FrameHeader::kSize) + data;
}

}  // namespace quendra::testing
