#include "wsjtx/DecodeSpot.h"

#include <vector>

namespace quendra::wsjtx {
namespace {

bool isUpper(char ch) { return ch >= 'A' && ch <= 'Z'; }
bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < text.size() && out.size() < 8) {
        while (at < text.size() && text[at] == ' ')
            ++at;
        const std::size_t start = at;
        while (at < text.size() && text[at] != ' ')
            ++at;
        if (at > start)
            out.push_back(text.substr(start, at - start));
    }
    return out;
}

// A call has letters and at least one digit, and may carry a portable part after a slash. The
// word after CQ may instead be a direction ("DX", "NA", "POTA": no digit) or a frequency ("290":
// no letter), which this tells apart.
bool looksLikeCall(std::string_view word) {
    if (word.size() < 3 || word.size() > 13)
        return false;
    bool letter = false;
    bool digit = false;
    for (char ch : word) {
        if (isUpper(ch))
            letter = true;
        else if (isDigit(ch))
            digit = true;
        else if (ch != '/')
            return false;
    }
    return letter && digit;
}

bool isModifier(std::string_view word) {
    if (word.size() == 3 && isDigit(word[0]) && isDigit(word[1]) && isDigit(word[2]))
        return true;
    if (word.empty() || word.size() > 4)
        return false;
    for (char ch : word) {
        if (!isUpper(ch))
            return false;
    }
    return true;
}

std::u16string widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::u16string twoDigits(unsigned value) {
    return {static_cast<char16_t>(u'0' + value / 10 % 10), static_cast<char16_t>(u'0' + value % 10)};
}

std::u16string decimalText(long long value) {
    std::u16string text;
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        text.insert(text.begin(), u'-');
    return text;
}

// Status names the mode in words; a decode has only its one-character code.
std::string_view modeOfCode(std::string_view code) {
    if (code == "~")
        return "FT8";
    if (code == "+")
        return "FT4";
    if (code == "#")
        return "JT65";
    if (code == "@")
        return "JT9";
    if (code == "&")
        return "MSK144";
    if (code == ":")
        return "Q65";
    return {};
}

bool printableAscii(std::string_view text) {
    for (char ch : text) {
        if (ch < ' ' || ch > '~')
            return false;
    }
    return true;
}

}  // namespace

std::optional<std::u16string> callingStation(std::string_view message) {
    const std::vector<std::string_view> w = words(message);
    if (w.size() < 2 || (w[0] != "CQ" && w[0] != "QRZ"))
        return std::nullopt;
    const auto unbracketed = [](std::string_view word) {
        return word.size() > 2 && word.front() == '<' && word.back() == '>' ? word.substr(1, word.size() - 2) : word;
    };
    if (looksLikeCall(unbracketed(w[1])))
        return widen(unbracketed(w[1]));
    // A locator after the call looks like a call too, so the second word counts only after a
    // direction or a frequency.
    if (w.size() > 2 && isModifier(w[1]) && looksLikeCall(unbracketed(w[2])))
        return widen(unbracketed(w[2]));
    return std::nullopt;
}

std::u16string kHzText(std::uint64_t hz) {
    const std::uint64_t tenths = (hz + 50) / 100;
    return decimalText(static_cast<long long>(tenths / 10)) + u"." + static_cast<char16_t>(u'0' + tenths % 10);
}

std::optional<ParsedSpot> spotFromDecode(const Status& status, const Decode& decode, std::u16string_view myCall) {
    if (decode.offAir || status.dialHz == 0)
        return std::nullopt;
    std::optional<std::u16string> station = callingStation(decode.message);
    if (!station)
        return std::nullopt;
    std::string_view mode = status.mode;
    if (mode.empty() || mode.size() > 12 || !printableAscii(mode))
        mode = modeOfCode(decode.mode);
    ParsedSpot spot;
    spot.station = std::move(*station);
    spot.author = std::u16string(myCall);
    spot.frequency = kHzText(status.dialHz + decode.deltaFrequency);
    spot.info = mode.empty() ? std::u16string() : widen(mode) + u" ";
    spot.info += decimalText(decode.snr) + u" dB";
    const unsigned minutes = decode.msOfDay / 60'000;
    spot.gmt = twoDigits(minutes / 60 % 24) + u":" + twoDigits(minutes % 60);
    return spot;
}

}  // namespace quendra::wsjtx
