#include "bandmap/BandMapText.h"

#include <cmath>
#include <cstdint>

namespace quendra {

std::u16string bandMapFrequencyText(double kHz) {
    if (!std::isfinite(kHz))
        return u"0.0";
    const auto tenths = static_cast<std::int64_t>(std::llround(std::fabs(kHz) * 10.0));
    const std::string whole = std::to_string(tenths / 10);
    std::u16string text = kHz < 0 && tenths != 0 ? u"-" : u"";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += u',';
        text += static_cast<char16_t>(whole[i]);
    }
    text += u'.';
    text += static_cast<char16_t>(u'0' + tenths % 10);
    return text;
}

std::u16string bandMapItemText(double kHz, std::u16string_view call, std::u16string_view mode,
                               std::u16string_view status) {
    std::u16string text = bandMapFrequencyText(kHz);
    for (std::u16string_view part : {call, mode, status}) {
        if (!part.empty()) {
            text += u' ';
            text += part;
        }
    }
    return text;
}

}  // namespace quendra
