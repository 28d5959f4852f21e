#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace quendra {

// A hash index over dense ids 0, 1, 2, ...: the table holds ids and their keys' hashes, the keys
// themselves stay with the caller. Open addressing in one flat array, so indexing a few hundred
// thousand keys costs no allocation per key and few cache misses, which a node-based map cannot
// offer.
class IdTable {
public:
    // Finds the id whose key `isKey` accepts among those stored with this hash, or stores
    // `newId` under the hash. Returns the id and whether it was stored now.
    template <class IsKey>
    std::pair<int, bool> findOrInsert(std::size_t hash, int newId, IsKey isKey) {
        if (2 * (used_ + 1) > slots_.size())
            rehash(slots_.empty() ? kFirstSize : 2 * slots_.size());
        for (std::size_t at = hash & mask();; at = (at + 1) & mask()) {
            Slot& slot = slots_[at];
            if (slot.id == kEmpty) {
                slot = {hash, newId};
                ++used_;
                return {newId, true};
            }
            if (slot.hash == hash && isKey(slot.id))
                return {slot.id, false};
        }
    }

    // The id whose key `isKey` accepts among those stored with this hash, or -1.
    template <class IsKey>
    int find(std::size_t hash, IsKey isKey) const {
        if (slots_.empty())
            return -1;
        for (std::size_t at = hash & mask();; at = (at + 1) & mask()) {
            const Slot& slot = slots_[at];
            if (slot.id == kEmpty)
                return -1;
            if (slot.hash == hash && isKey(slot.id))
                return slot.id;
        }
    }

    // Room for this many ids without growing.
    void reserve(std::size_t ids);
    // Forgets every id and keeps the room.
    void clear();
    // Forgets every id and gives the room back.
    void release();

private:
    static constexpr std::int32_t kEmpty = -1;
    static constexpr std::size_t kFirstSize = 16;

    struct Slot {
        std::size_t hash = 0;
        std::int32_t id = kEmpty;
    };

    std::size_t mask() const { return slots_.size() - 1; }
    void rehash(std::size_t slotCount);

    std::vector<Slot> slots_;  // a power of two in size, at most half used
    std::size_t used_ = 0;
};

}  // namespace quendra
