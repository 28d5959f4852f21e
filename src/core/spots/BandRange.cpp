#include "spots/BandRange.h"

namespace quendra {

std::optional<BandRange> bandByName(std::u16string_view name) {
    if (name == u"All")
        return kBandAll;
    if (name == u"HF")
        return kBandHF;
    if (name == u"VHF")
        return kBandVHF;
    if (name == u"UHF")
        return kBandUHF;
    return std::nullopt;
}

}  // namespace quendra
