#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// Gives every distinct call a small number, so that a QSO carries four bytes instead of its text.
// The texts lie back to back in one buffer and an open-addressing table finds them: about 20 bytes
// a call. It grows with the number of distinct calls in the operator's log, which the log's own
// size bounds.
class CallTable {
public:
    // The call's number, giving it the next one when it is new. Calls are compared as given.
    std::uint32_t intern(std::string_view call);
    std::optional<std::uint32_t> find(std::string_view call) const;
    std::string_view text(std::uint32_t id) const;

    std::size_t size() const { return starts_.size() - 1; }
    std::size_t memoryBytes() const;
    void clear() { *this = CallTable(); }

private:
    static std::uint64_t hashOf(std::string_view call);
    std::size_t slotOf(std::string_view call, std::uint64_t hash) const;
    void grow();

    std::string texts_;
    std::vector<std::uint32_t> starts_{0};  // call i is texts_[starts_[i], starts_[i + 1])
    std::vector<std::uint32_t> slots_;      // call number + 1; 0 is an empty slot; a power of two long
};

}  // namespace quendra
