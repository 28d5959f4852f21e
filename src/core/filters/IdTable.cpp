#include "filters/IdTable.h"

#include <algorithm>

namespace quendra {

void IdTable::reserve(std::size_t ids) {
    std::size_t wanted = kFirstSize;
    while (wanted < 2 * ids)
        wanted *= 2;
    if (wanted > slots_.size())
        rehash(wanted);
}

void IdTable::clear() {
    std::fill(slots_.begin(), slots_.end(), Slot{});
    used_ = 0;
}

void IdTable::release() {
    slots_ = {};
    used_ = 0;
}

void IdTable::rehash(std::size_t slotCount) {
    std::vector<Slot> old(slotCount);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.id == kEmpty)
            continue;
        std::size_t at = slot.hash & mask();
        while (slots_[at].id != kEmpty)
            at = (at + 1) & mask();
        slots_[at] = slot;
    }
}

}  // namespace quendra
