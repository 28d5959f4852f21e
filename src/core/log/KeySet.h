#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quendra {

// A set of non-zero 64-bit keys in one array (open addressing, at most half full): 16 bytes or
// fewer a key, and a lookup is a multiplication and, mostly, one memory read.
class KeySet {
public:
    // True when the key was not there yet. Zero is never a key.
    bool insert(std::uint64_t key);
    bool contains(std::uint64_t key) const;

    std::size_t size() const { return size_; }
    std::size_t memoryBytes() const { return slots_.capacity() * sizeof(std::uint64_t); }
    void clear() { *this = KeySet(); }

private:
    std::size_t slotOf(std::uint64_t key) const;
    void grow();

    std::vector<std::uint64_t> slots_;  // 0: empty; a power of two long
    std::size_t size_ = 0;
};

}  // namespace quendra
