#include "share/SpotPacket.h"

#include <array>
#include <cstdio>

namespace quendra {
namespace {

void appendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

// Escaped for element text. Characters XML 1.0 cannot carry at all (most controls, a lone
// surrogate) become '?', so a reader never refuses the packet.
std::string escaped(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if ((ch >= 0xD800 && ch <= 0xDFFF) || ch == 0xFFFE || ch == 0xFFFF || (ch < 0x20 && ch != u'\t')) {
            ch = u'?';
        }
        switch (ch) {
        case u'&': out += "&amp;"; break;
        case u'<': out += "&lt;"; break;
        case u'>': out += "&gt;"; break;
        case u'"': out += "&quot;"; break;
        case u'\'': out += "&apos;"; break;
        default: appendUtf8(out, ch);
        }
    }
    return out;
}

std::u16string trimmed(std::u16string_view text) {
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    return std::u16string(text);
}

void element(std::string& out, const char* name, const std::string& text) {
    out += '<';
    out += name;
    out += '>';
    out += text;
    out += "</";
    out += name;
    out += '>';
}

}  // namespace

SpotPacketFields packetFieldsOf(const Spot& spot, double kHz, Mode mode) {
    return {spot.station, spot.author, trimmed(spot.info), kHz, mode, spot.received};
}

std::string spotPacket(const SpotPacketFields& fields, SpotAction action) {
    std::array<char, 40> number{};
    std::snprintf(number.data(), number.size(), "%.1f", fields.kHz > 0 && fields.kHz < 1e12 ? fields.kHz : 0.0);
    std::array<char, 40> time{};
    const SystemTime& t = fields.received;
    std::snprintf(time.data(), time.size(), "%04u/%02u/%02u %02u:%02u:%02u", t.year % 10000u, t.month % 100u,
                  t.day % 100u, t.hour % 100u, t.minute % 100u, t.second % 100u);
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?><spot>";
    element(out, "app", "Quendra");
    element(out, "dxcall", escaped(fields.dxCall));
    element(out, "frequency", number.data());
    element(out, "spottercall", escaped(fields.spotter));
    element(out, "comment", escaped(fields.comment));
    const std::string_view mode = modeName(fields.mode);
    element(out, "mode", std::string(mode));
    element(out, "timestamp", time.data());
    element(out, "action", action == SpotAction::Add ? "add" : "delete");
    return out + "</spot>";
}

bool parseUdpTarget(std::u16string_view text, UdpTarget& target) {
    const std::u16string clean = trimmed(text);
    const std::size_t colon = clean.rfind(u':');
    if (colon == std::u16string::npos || colon == 0 || colon + 1 >= clean.size() || colon + 6 < clean.size())
        return false;
    int port = 0;
    for (std::size_t i = colon + 1; i < clean.size(); ++i) {
        if (clean[i] < u'0' || clean[i] > u'9')
            return false;
        port = port * 10 + (clean[i] - u'0');
    }
    if (port < 1 || port > 65535)
        return false;
    std::u16string host = clean.substr(0, colon);
    if (host.size() > 2 && host.front() == u'[' && host.back() == u']')
        host = host.substr(1, host.size() - 2);
    target.host = host;
    target.port = port;
    return true;
}

}  // namespace quendra
