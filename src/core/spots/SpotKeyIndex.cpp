#include "spots/SpotKeyIndex.h"

#include <functional>
#include <string_view>

namespace quendra {

std::size_t SpotKeyIndex::KeyHash::operator()(const Spot* spot) const {
    const std::hash<std::u16string_view> hashText;
    std::size_t seed = hashText(spot->author);
    for (const std::u16string* text : {&spot->frequency, &spot->station})
        seed ^= hashText(*text) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    return seed;
}

void SpotKeyIndex::erase(const Spot& spot) {
    // Equal keys share a range; remove this very record's entry, not another with the same key.
    auto [first, last] = keys_.equal_range(&spot);
    for (auto it = first; it != last; ++it) {
        if (*it == &spot) {
            keys_.erase(it);
            return;
        }
    }
}

}  // namespace quendra
