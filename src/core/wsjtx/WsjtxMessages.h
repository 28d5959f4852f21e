#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace quendra::wsjtx {

// The UDP messages WSJT-X and its companions exchange: a Qt data stream, big-endian, that starts
// with a magic number, the schema, the message type and the sending instance's id. Texts are
// UTF-8 as sent. Later versions append fields; a reader takes what it knows and ignores the rest.

inline constexpr std::uint32_t kMagic = 0xadbccbda;
inline constexpr std::uint32_t kOldestSchema = 2;
inline constexpr std::uint32_t kNewestSchema = 3;

enum class MessageType : std::uint32_t {
    Heartbeat = 0,
    Status = 1,
    Decode = 2,
    Clear = 3,
    Reply = 4,
    QsoLogged = 5,
    Close = 6,
    LoggedAdif = 12,
};

// A moment as QDateTime sends it, brought to UTC.
struct DateTime {
    std::int64_t julianDay = 0;
    std::uint32_t msOfDay = 0;
    bool operator==(const DateTime&) const = default;
};

struct Heartbeat {
    std::uint32_t maxSchema = 0;
    std::string version;
    std::string revision;
    bool operator==(const Heartbeat&) const = default;
};

struct Status {
    std::uint64_t dialHz = 0;
    std::string mode;
    std::string dxCall;
    std::string report;
    std::string txMode;
    bool txEnabled = false;
    bool transmitting = false;
    bool decoding = false;
    std::uint32_t rxDf = 0;
    std::uint32_t txDf = 0;
    std::string deCall;
    std::string deGrid;
    std::string dxGrid;
    bool txWatchdog = false;
    std::string subMode;
    bool fastMode = false;
    std::uint8_t specialOperation = 0;
    std::uint32_t frequencyTolerance = 0;
    std::uint32_t trPeriod = 0;
    std::string configuration;
    std::string txMessage;
    bool operator==(const Status&) const = default;
};

// One decoded message; also what a Reply repeats back.
struct Decode {
    bool isNew = false;
    std::uint32_t msOfDay = 0;
    std::int32_t snr = 0;
    double deltaTime = 0;
    std::uint32_t deltaFrequency = 0;  // audio offset, Hz
    std::string mode;                  // a one-character code: "~" FT8, "+" FT4, ...
    std::string message;
    bool lowConfidence = false;
    bool offAir = false;
    bool operator==(const Decode&) const = default;
};

struct Clear {
    std::uint8_t window = 0;
    bool operator==(const Clear&) const = default;
};

struct QsoLogged {
    DateTime off;
    std::string dxCall;
    std::string dxGrid;
    std::uint64_t txHz = 0;
    std::string mode;
    std::string reportSent;
    std::string reportReceived;
    std::string txPower;
    std::string comments;
    std::string name;
    DateTime on;
    std::string operatorCall;
    std::string myCall;
    std::string myGrid;
    std::string exchangeSent;
    std::string exchangeReceived;
    std::string propagationMode;
    bool operator==(const QsoLogged&) const = default;
};

struct LoggedAdif {
    std::string adif;
    bool operator==(const LoggedAdif&) const = default;
};

// A type this program does not act on, read no further than its header.
struct OtherMessage {
    std::uint32_t type = 0;
    bool operator==(const OtherMessage&) const = default;
};

using Body = std::variant<Heartbeat, Status, Decode, Clear, QsoLogged, LoggedAdif, OtherMessage>;

struct Message {
    std::uint32_t schema = 0;
    std::string id;
    Body body;
    bool operator==(const Message&) const = default;
};

// The message in one datagram, or nothing when it is not one: a wrong magic number, a schema
// other than 2 or 3, or fields cut short.
std::optional<Message> readMessage(std::string_view datagram);

// A Reply asking the instance `id` to answer the decode, as if the operator had double-clicked
// it; `modifiers` are the keyboard modifiers of that click (Qt's bits shifted down by 24).
std::string encodeReply(std::uint32_t schema, std::string_view id, const Decode& decode, std::uint8_t modifiers);

}  // namespace quendra::wsjtx
