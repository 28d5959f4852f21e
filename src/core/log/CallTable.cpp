#include "log/CallTable.h"

namespace quendra {

namespace {

constexpr std::size_t kFirstSlots = 1024;

}  // namespace

std::uint64_t CallTable::hashOf(std::string_view call) {
    // FNV-1a: calls are short, and it spreads their few distinct bytes well enough.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : call) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The slot holding the call, or the empty slot where it belongs.
std::size_t CallTable::slotOf(std::string_view call, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = slots_[slot];
        if (held == 0 || text(held - 1) == call)
            return slot;
    }
}

std::uint32_t CallTable::intern(std::string_view call) {
    // Kept at most half full, so a probe ends soon and an empty slot always exists.
    if ((size() + 1) * 2 > slots_.size())
        grow();
    const std::size_t slot = slotOf(call, hashOf(call));
    if (slots_[slot] != 0)
        return slots_[slot] - 1;
    const auto id = static_cast<std::uint32_t>(size());
    texts_ += call;
    starts_.push_back(static_cast<std::uint32_t>(texts_.size()));
    slots_[slot] = id + 1;
    return id;
}

std::optional<std::uint32_t> CallTable::find(std::string_view call) const {
    if (slots_.empty())
        return std::nullopt;
    const std::uint32_t held = slots_[slotOf(call, hashOf(call))];
    if (held == 0)
        return std::nullopt;
    return held - 1;
}

std::string_view CallTable::text(std::uint32_t id) const {
    if (id >= size())
        return {};
    return std::string_view(texts_).substr(starts_[id], starts_[id + 1] - starts_[id]);
}

void CallTable::grow() {
    std::vector<std::uint32_t> old = std::move(slots_);
    slots_.assign(old.empty() ? kFirstSlots : old.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (const std::uint32_t held : old) {
        if (held == 0)
            continue;
        std::size_t slot = hashOf(text(held - 1)) & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = held;
    }
}

std::size_t CallTable::memoryBytes() const {
    return texts_.capacity() + starts_.capacity() * sizeof(std::uint32_t) +
           slots_.capacity() * sizeof(std::uint32_t);
}

}  // namespace quendra
