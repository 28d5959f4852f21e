#include "wsjtx/WsjtxMessages.h"

#include "wsjtx/DataStream.h"

namespace quendra::wsjtx {
namespace {

constexpr std::uint8_t kLocalTime = 0;
constexpr std::uint8_t kUtc = 1;
constexpr std::uint8_t kOffsetFromUtc = 2;
constexpr std::int64_t kMsPerDay = 86'400'000;

// A date and time of a zone other than a fixed offset carries the zone's definition; WSJT-X
// sends UTC, so such a value is refused rather than guessed at. Local time is taken as UTC.
bool readDateTime(DataStreamReader& in, DateTime& out) {
    out.julianDay = in.i64();
    out.msOfDay = in.u32();
    const std::uint8_t spec = in.u8();
    if (!in.ok() || spec > kOffsetFromUtc || out.msOfDay >= kMsPerDay)
        return false;
    if (spec == kOffsetFromUtc) {
        const std::int32_t offsetSeconds = in.i32();
        if (!in.ok() || offsetSeconds < -86'400 || offsetSeconds > 86'400)
            return false;
        std::int64_t ms = static_cast<std::int64_t>(out.msOfDay) - static_cast<std::int64_t>(offsetSeconds) * 1000;
        if (ms < 0) {
            ms += kMsPerDay;
            --out.julianDay;
        } else if (ms >= kMsPerDay) {
            ms -= kMsPerDay;
            ++out.julianDay;
        }
        out.msOfDay = static_cast<std::uint32_t>(ms);
    }
    static_assert(kLocalTime == 0 && kUtc == 1);
    return true;
}

// Reads the fields that newer versions add, one by one, while the datagram holds more: false
// when one of them is cut short.
template <class... Fields>
bool readLaterFields(DataStreamReader& in, Fields&&... fields) {
    bool ok = true;
    const auto one = [&](auto&& read) {
        if (!ok || in.atEnd())
            return;
        read();
        ok = in.ok();
    };
    (one(fields), ...);
    return ok;
}

std::optional<Body> readStatus(DataStreamReader& in) {
    Status s;
    s.dialHz = in.u64();
    s.mode = in.utf8();
    s.dxCall = in.utf8();
    s.report = in.utf8();
    s.txMode = in.utf8();
    s.txEnabled = in.boolean();
    s.transmitting = in.boolean();
    if (!in.ok())
        return std::nullopt;
    const bool ok = readLaterFields(
        in, [&] { s.decoding = in.boolean(); }, [&] { s.rxDf = in.u32(); }, [&] { s.txDf = in.u32(); },
        [&] { s.deCall = in.utf8(); }, [&] { s.deGrid = in.utf8(); }, [&] { s.dxGrid = in.utf8(); },
        [&] { s.txWatchdog = in.boolean(); }, [&] { s.subMode = in.utf8(); }, [&] { s.fastMode = in.boolean(); },
        [&] { s.specialOperation = in.u8(); }, [&] { s.frequencyTolerance = in.u32(); },
        [&] { s.trPeriod = in.u32(); }, [&] { s.configuration = in.utf8(); }, [&] { s.txMessage = in.utf8(); });
    if (!ok)
        return std::nullopt;
    return s;
}

std::optional<Body> readDecode(DataStreamReader& in) {
    Decode d;
    d.isNew = in.boolean();
    d.msOfDay = in.u32();
    d.snr = in.i32();
    d.deltaTime = in.f64();
    d.deltaFrequency = in.u32();
    d.mode = in.utf8();
    d.message = in.utf8();
    if (!in.ok() || d.msOfDay >= kMsPerDay)
        return std::nullopt;
    if (!readLaterFields(in, [&] { d.lowConfidence = in.boolean(); }, [&] { d.offAir = in.boolean(); }))
        return std::nullopt;
    return d;
}

std::optional<Body> readQsoLogged(DataStreamReader& in) {
    QsoLogged q;
    if (!readDateTime(in, q.off))
        return std::nullopt;
    q.dxCall = in.utf8();
    q.dxGrid = in.utf8();
    q.txHz = in.u64();
    q.mode = in.utf8();
    q.reportSent = in.utf8();
    q.reportReceived = in.utf8();
    q.txPower = in.utf8();
    q.comments = in.utf8();
    q.name = in.utf8();
    if (!in.ok())
        return std::nullopt;
    bool dateOk = true;
    const bool ok = readLaterFields(
        in, [&] { dateOk = readDateTime(in, q.on); }, [&] { q.operatorCall = in.utf8(); },
        [&] { q.myCall = in.utf8(); }, [&] { q.myGrid = in.utf8(); }, [&] { q.exchangeSent = in.utf8(); },
        [&] { q.exchangeReceived = in.utf8(); }, [&] { q.propagationMode = in.utf8(); });
    if (!ok || !dateOk)
        return std::nullopt;
    return q;
}

std::optional<Body> readBody(std::uint32_t type, DataStreamReader& in) {
    switch (static_cast<MessageType>(type)) {
    case MessageType::Heartbeat: {
        Heartbeat h;
        h.maxSchema = in.u32();
        if (!in.ok())
            return std::nullopt;
        if (!readLaterFields(in, [&] { h.version = in.utf8(); }, [&] { h.revision = in.utf8(); }))
            return std::nullopt;
        return h;
    }
    case MessageType::Status: return readStatus(in);
    case MessageType::Decode: return readDecode(in);
    case MessageType::Clear: {
        Clear c;
        if (!readLaterFields(in, [&] { c.window = in.u8(); }))
            return std::nullopt;
        return c;
    }
    case MessageType::QsoLogged: return readQsoLogged(in);
    case MessageType::LoggedAdif: {
        LoggedAdif a{in.utf8()};
        if (!in.ok())
            return std::nullopt;
        return a;
    }
    default: return OtherMessage{type};
    }
}

}  // namespace

std::optional<Message> readMessage(std::string_view datagram) {
    DataStreamReader in(datagram);
    const std::uint32_t magic = in.u32();
    Message message;
    message.schema = in.u32();
    const std::uint32_t type = in.u32();
    message.id = in.utf8();
    if (!in.ok() || magic != kMagic || message.schema < kOldestSchema || message.schema > kNewestSchema)
        return std::nullopt;
    std::optional<Body> body = readBody(type, in);
    if (!body)
        return std::nullopt;
    message.body = std::move(*body);
    return message;
}

std::string encodeReply(std::uint32_t schema, std::string_view id, const Decode& decode, std::uint8_t modifiers) {
    DataStreamWriter out;
    out.u32(kMagic);
    out.u32(schema);
    out.u32(static_cast<std::uint32_t>(MessageType::Reply));
    out.utf8(id);
    out.u32(decode.msOfDay);
    out.i32(decode.snr);
    out.f64(decode.deltaTime);
    out.u32(decode.deltaFrequency);
    out.utf8(decode.mode);
    out.utf8(decode.message);
    out.boolean(decode.lowConfidence);
    out.u8(modifiers);
    return out.bytes();
}

}  // namespace quendra::wsjtx
