#include "log/KeySet.h"

#include <bit>

namespace quendra {

namespace {

constexpr std::size_t kFirstSlots = 1024;

}  // namespace

// The slot holding the key, or the empty slot where it belongs.
std::size_t KeySet::slotOf(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    // Fibonacci hashing: the keys' low bits say little, the product's high bits mix them all.
    const int shift = 64 - std::countr_zero(slots_.size());
    for (std::size_t slot = static_cast<std::size_t>((key * 11400714819323198485ull) >> shift);;
         slot = (slot + 1) & mask) {
        if (slots_[slot] == 0 || slots_[slot] == key)
            return slot;
    }
}

bool KeySet::insert(std::uint64_t key) {
    if (key == 0)
        return false;
    if ((size_ + 1) * 2 > slots_.size())
        grow();
    const std::size_t slot = slotOf(key);
    if (slots_[slot] == key)
        return false;
    slots_[slot] = key;
    ++size_;
    return true;
}

bool KeySet::contains(std::uint64_t key) const {
    return key != 0 && !slots_.empty() && slots_[slotOf(key)] == key;
}

void KeySet::grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? kFirstSlots : old.size() * 2, 0);
    for (const std::uint64_t key : old) {
        if (key != 0)
            slots_[slotOf(key)] = key;
    }
}

}  // namespace quendra
