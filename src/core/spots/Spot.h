#pragma once

#include "spots/Clock.h"

#include <string>

namespace quendra {

// One DX spot as a node announced it. Author and station are stored case-folded to upper case.
struct Spot {
    std::u16string dxNode;
    std::u16string station;
    std::u16string author;
    std::u16string frequency;  // as received, in kHz by cluster convention
    std::u16string info;
    std::u16string gmt;        // hh:mm
    SystemTime received{};
};

}  // namespace quendra
