#include "app/SpotDetection.h"

#include "text/Numbers.h"

#include <algorithm>

namespace quendra {

SpotForm detectSpotForm(std::u16string_view line) {
    if (line.starts_with(u"DX"))
        return SpotForm::Column;
    if (line.size() >= 5 && line[4] == u'Z' &&
        std::all_of(line.begin(), line.begin() + 4, [](char16_t ch) { return isDecimalDigit(ch); }))
        return SpotForm::Timed;
    return SpotForm::None;
}

}  // namespace quendra
