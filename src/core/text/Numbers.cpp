#include "text/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quendra {

bool isDecimalDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

bool isNumberSpace(char16_t ch) {
    return ch == u' ' || (ch >= u'\t' && ch <= u'\r');
}

namespace {

std::size_t skipSpace(std::u16string_view text, std::size_t pos) {
    while (pos < text.size() && isNumberSpace(text[pos]))
        ++pos;
    return pos;
}

std::size_t skipDigits(std::u16string_view text, std::size_t pos) {
    while (pos < text.size() && isDecimalDigit(text[pos]))
        ++pos;
    return pos;
}

}  // namespace

std::int32_t readLeadingInt(std::u16string_view text) {
    std::size_t pos = skipSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        negative = text[pos++] == u'-';
    // Accumulate in 64 bits and stop growing once past the 32-bit range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; pos < text.size() && isDecimalDigit(text[pos]); ++pos) {
        if (value <= kLimit)
            value = value * 10 + (text[pos] - u'0');
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

bool beginsWithInteger(std::u16string_view text) {
    std::size_t pos = skipSpace(text, 0);
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    return pos < text.size() && isDecimalDigit(text[pos]);
}

double readLeadingDouble(std::u16string_view text) {
    std::size_t start = skipSpace(text, 0);
    std::size_t pos = start;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    std::size_t integerEnd = skipDigits(text, pos);
    bool hasDigits = integerEnd > pos;
    pos = integerEnd;
    if (pos < text.size() && text[pos] == u'.') {
        std::size_t fractionEnd = skipDigits(text, pos + 1);
        hasDigits = hasDigits || fractionEnd > pos + 1;
        pos = fractionEnd;
    }
    if (!hasDigits)
        return 0.0;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            pos = exponentEnd;
    }
    // The span holds only ASCII sign, digits, point and exponent, so it narrows losslessly.
    // from_chars ignores the process locale (a GUI program runs under the user's, where the
    // decimal separator may be a comma) and rounds correctly; it takes no leading '+'.
    std::string ascii;
    ascii.reserve(pos - start);
    for (std::size_t i = start; i < pos; ++i)
        ascii.push_back(static_cast<char>(text[i]));
    std::string_view digits = ascii;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    double value = 0.0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Only an exponent underflows; a long mantissa or a positive exponent overflows.
        bool underflow = digits.find("e-") != std::string_view::npos ||
                         digits.find("E-") != std::string_view::npos;
        double magnitude = underflow ? 0.0 : HUGE_VAL;
        return digits.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

}  // namespace quendra
