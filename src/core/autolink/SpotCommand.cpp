#include "autolink/SpotCommand.h"

#include "filters/NamedValues.h"
#include "text/CaseFold.h"
#include "text/Numbers.h"

#include <algorithm>

namespace quendra {
namespace {

constexpr std::size_t kShortestCall = 3;
constexpr std::size_t kLongestCall = 15;
constexpr std::size_t kLongestFrequency = 12;

bool isLetter(char16_t ch) { return ch >= u'A' && ch <= u'Z'; }

std::string callRefusal(std::u16string_view call) {
    if (call.empty())
        return "no call given";
    if (call.size() < kShortestCall || call.size() > kLongestCall)
        return "a call has 3 to 15 characters";
    if (!std::all_of(call.begin(), call.end(), [](char16_t ch) { return isLetter(ch) || isDecimalDigit(ch) || ch == u'/'; }))
        return "a call holds only letters, digits and '/'";
    if (!std::any_of(call.begin(), call.end(), isLetter) || !std::any_of(call.begin(), call.end(), isDecimalDigit))
        return "a call has both letters and digits";
    if (call.front() == u'/' || call.back() == u'/' || call.find(u"//") != std::u16string_view::npos)
        return "a '/' in a call stands between two parts";
    return {};
}

// The frequency with a decimal point, or empty when it is no positive number.
std::u16string normalFrequency(std::u16string_view kHz) {
    if (kHz.empty() || kHz.size() > kLongestFrequency)
        return {};
    std::u16string text(kHz);
    int separators = 0;
    int digits = 0;
    for (char16_t& ch : text) {
        if (ch == u',' || ch == u'.') {
            ch = u'.';
            ++separators;
        } else if (isDecimalDigit(ch)) {
            ++digits;
        } else {
            return {};
        }
    }
    if (separators > 1 || digits == 0 || readLeadingDouble(text) <= 0)
        return {};
    return text;
}

}  // namespace

SpotCommandResult buildSpotCommand(std::u16string_view kHz, std::u16string_view call, std::u16string_view comment) {
    std::u16string upperCall(trimBlanks(call));
    foldToUpper(upperCall);
    if (std::string refusal = callRefusal(upperCall); !refusal.empty())
        return {{}, std::move(refusal)};
    const std::u16string frequency = normalFrequency(trimBlanks(kHz));
    if (frequency.empty())
        return {{}, "the frequency is a positive number of kHz, such as 14025.5"};

    std::u16string text(comment);
    std::replace_if(text.begin(), text.end(), [](char16_t ch) { return ch < u' ' || ch == u'\x7f'; }, u' ');
    const std::u16string_view trimmed = trimBlanks(text);
    std::u16string command = u"DX " + frequency + u' ' + upperCall;
    if (!trimmed.empty())
        command += u' ' + std::u16string(trimmed);
    return {std::move(command), {}};
}

}  // namespace quendra
