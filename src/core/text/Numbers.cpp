#include "text/Numbers.h"

#include <algorithm>
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

// The power of ten of the first non-zero digit of a number already checked to have the form
// [-]digits[.digits][(e|E)[sign]digits]: 2 for "123.4", -3 for "0.00123", 0 for "9e0". An exponent
// too long for 64 bits is held near the limit; only the sign of the result matters to the caller.
std::int64_t powerOfTenOfLeadingDigit(std::string_view number) {
    constexpr std::int64_t kHeld = std::int64_t{1} << 40;
    std::size_t pos = number.starts_with('-') ? 1 : 0;
    std::int64_t power = 0;
    bool seenNonZero = false;
    for (; pos < number.size() && number[pos] >= '0' && number[pos] <= '9'; ++pos) {
        if (seenNonZero)
            ++power;
        else
            seenNonZero = number[pos] != '0';
    }
    if (pos < number.size() && number[pos] == '.') {
        for (++pos; pos < number.size() && number[pos] >= '0' && number[pos] <= '9'; ++pos) {
            if (!seenNonZero) {
                --power;
                seenNonZero = number[pos] != '0';
            }
        }
    }
    std::int64_t exponent = 0;
    if (pos < number.size() && (number[pos] == 'e' || number[pos] == 'E')) {
        ++pos;
        bool negative = false;
        if (pos < number.size() && (number[pos] == '+' || number[pos] == '-'))
            negative = number[pos++] == '-';
        for (; pos < number.size() && number[pos] >= '0' && number[pos] <= '9'; ++pos)
            exponent = std::min<std::int64_t>(exponent * 10 + (number[pos] - '0'), kHeld);
        if (negative)
            exponent = -exponent;
    }
    return power + exponent;
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
        // from_chars leaves the value alone here. Out of range means either beyond the largest
        // double (about 1e308) or below the smallest (about 5e-324), so the power of ten of the
        // leading digit tells which, however the text spreads its digits and exponent.
        double magnitude = powerOfTenOfLeadingDigit(digits) < 0 ? 0.0 : HUGE_VAL;
        return digits.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

}  // namespace quendra
