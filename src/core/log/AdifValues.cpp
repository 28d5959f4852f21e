#include "log/AdifValues.h"

#include "modes/BandPlan.h"
#include "modes/SpotMode.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace quendra {

namespace {

// No value these functions compare is longer; a longer one matches nothing.
constexpr std::size_t kLongestValue = 16;

struct UpperText {
    std::array<char, kLongestValue> chars{};
    std::size_t length = 0;
    bool tooLong = false;

    std::string_view view() const { return tooLong ? std::string_view() : std::string_view(chars.data(), length); }
};

UpperText upper(std::string_view text) {
    text = trimmedAdif(text);
    UpperText out;
    out.tooLong = text.size() > out.chars.size();
    out.length = std::min(text.size(), out.chars.size());
    for (std::size_t i = 0; i < out.length; ++i) {
        const char c = text[i];
        out.chars[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

int bandFromName(std::string_view name) {
    const auto bands = amateurBands();
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const std::string_view known = bands[i].name;
        if (known.size() != name.size())
            continue;
        if (std::equal(known.begin(), known.end(), name.begin(),
                       [](char a, char b) { return a == ((b >= 'A' && b <= 'Z') ? b - 'A' + 'a' : b); }))
            return static_cast<int>(i);
    }
    return -1;
}

int bandFromFrequency(std::string_view freqMHz) {
    // ADIF writes a point; a comma is a decimal mark some loggers write all the same.
    std::array<char, 24> digits{};
    if (freqMHz.empty() || freqMHz.size() > digits.size())
        return -1;
    std::replace_copy(freqMHz.begin(), freqMHz.end(), digits.begin(), ',', '.');
    double mhz = 0;
    const char* end = digits.data() + freqMHz.size();
    const auto result = std::from_chars(digits.data(), end, mhz, std::chars_format::fixed);
    if (result.ec != std::errc{} || result.ptr != end)
        return -1;
    const AmateurBand* band = amateurBandAt(mhz * 1000.0);
    return band == nullptr ? -1 : static_cast<int>(band - amateurBands().data());
}

// ADIF's modes beyond the words spots use that carry a voice or a picture.
constexpr std::array<std::string_view, 9> kPhoneModes{"DIGITALVOICE", "DSTAR", "C4FM", "DMR", "FREEDV",
                                                      "M17",          "SSTV",  "ATV",  "FAX"};

ModeGroup groupOf(std::string_view mode) {
    if (mode.empty())
        return ModeGroup::Unknown;
    const Mode spotWord = modeFromComment(mode);
    if (spotWord != Mode::Unknown)
        return modeGroup(spotWord);
    if (std::find(kPhoneModes.begin(), kPhoneModes.end(), mode) != kPhoneModes.end())
        return ModeGroup::Phone;
    return ModeGroup::Digital;
}

}  // namespace

std::string_view trimmedAdif(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}


int bandFromAdif(std::string_view band, std::string_view freqMHz) {
    const int named = bandFromName(trimmedAdif(band));
    return named >= 0 ? named : bandFromFrequency(trimmedAdif(freqMHz));
}

ModeGroup modeGroupFromAdif(std::string_view mode, std::string_view submode) {
    // No ADIF mode is as long as kLongestValue; a text that long is no mode and counts as none.
    const UpperText main = upper(mode);
    const UpperText sub = upper(submode);
    return groupOf(main.view().empty() ? sub.view() : main.view());
}

bool isQslConfirmation(std::string_view value) {
    const UpperText text = upper(value);
    return text.view() == "Y" || text.view() == "V";
}

bool isEqslConfirmation(std::string_view value) {
    const UpperText text = upper(value);
    return text.view() == "Y";
}

std::optional<int> entityNumberFromAdif(std::string_view dxcc) {
    dxcc = trimmedAdif(dxcc);
    int number = 0;
    const auto result = std::from_chars(dxcc.data(), dxcc.data() + dxcc.size(), number);
    if (dxcc.empty() || result.ec != std::errc{} || result.ptr != dxcc.data() + dxcc.size() ||
        number < 0 || number > kMaxEntityNumber)
        return std::nullopt;
    return number;
}

}  // namespace quendra
