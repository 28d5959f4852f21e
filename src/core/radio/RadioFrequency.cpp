#include "radio/RadioFrequency.h"

namespace quendra {
namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string_view trimBlanks(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::int64_t> hertzFromKilohertzText(std::u16string_view text) {
    text = trimBlanks(text);
    const std::size_t separator = text.find_first_of(u".,");
    const std::u16string_view whole = text.substr(0, separator);
    const std::u16string_view fraction =
        separator == std::u16string_view::npos ? std::u16string_view{} : text.substr(separator + 1);
    if (whole.empty() || (separator != std::u16string_view::npos && fraction.empty()))
        return std::nullopt;

    constexpr std::int64_t kMaxKilohertz = kMaxRadioHertz / 1000;
    std::int64_t kilohertz = 0;
    for (const char16_t c : whole) {
        if (!isDigit(c))
            return std::nullopt;
        kilohertz = kilohertz * 10 + (c - u'0');
        // Checked on every digit so that a long run of digits cannot overflow.
        if (kilohertz > kMaxKilohertz)
            return std::nullopt;
    }
    std::int64_t hertz = 0;
    bool roundUp = false;
    for (std::size_t i = 0; i < fraction.size(); ++i) {
        const char16_t c = fraction[i];
        if (!isDigit(c))
            return std::nullopt;
        if (i < 3)
            hertz = hertz * 10 + (c - u'0');
        else if (i == 3)
            roundUp = c >= u'5';
    }
    for (std::size_t i = fraction.size(); i < 3; ++i)
        hertz *= 10;

    const std::int64_t total = kilohertz * 1000 + hertz + (roundUp ? 1 : 0);
    if (total <= 0 || total > kMaxRadioHertz)
        return std::nullopt;
    return total;
}

std::string kilohertzDisplayText(std::int64_t hertz) {
    const bool negative = hertz < 0;
    // Magnitude as unsigned, so that even the most negative value has one.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hertz) : static_cast<std::uint64_t>(hertz);
    const std::uint64_t decimals = magnitude % 1000;
    magnitude /= 1000;

    std::string whole = std::to_string(magnitude);
    for (std::size_t at = whole.size(); at > 3; at -= 3)
        whole.insert(at - 3, 1, ',');
    std::string fraction = std::to_string(decimals);
    fraction.insert(0, 3 - fraction.size(), '0');
    return (negative ? "-" : "") + whole + "." + fraction;
}

}  // namespace quendra
