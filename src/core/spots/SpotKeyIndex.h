#pragma once

#include "spots/Spot.h"

#include <cstddef>
#include <unordered_set>

namespace quendra {

// The stored spots by their duplicate key (author, frequency, station), so that the duplicate
// test costs the same whatever the number of spots. It holds pointers to records owned elsewhere,
// never copies of their texts; a key may be held more than once when a duplicate was appended
// directly.
class SpotKeyIndex {
public:
    void insert(const Spot& spot) { keys_.insert(&spot); }
    void erase(const Spot& spot);
    bool contains(const Spot& spot) const { return keys_.find(&spot) != keys_.end(); }
    void clear() { keys_.clear(); }
    std::size_t size() const { return keys_.size(); }

private:
    struct KeyHash {
        std::size_t operator()(const Spot* spot) const;
    };
    struct KeyEqual {
        bool operator()(const Spot* a, const Spot* b) const {
            return a->author == b->author && a->frequency == b->frequency &&
                   a->station == b->station;
        }
    };
    std::unordered_multiset<const Spot*, KeyHash, KeyEqual> keys_;
};

}  // namespace quendra
