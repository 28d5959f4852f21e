#include "filters/TextIds.h"

#include <functional>

namespace quendra {

int TextIds::idOf(std::u16string_view text) {
    const std::size_t hash = std::hash<std::u16string_view>{}(text);
    const auto [id, added] = table_.findOrInsert(hash, static_cast<int>(size()),
                                                 [&](int known) { return textOf(known) == text; });
    if (added) {
        buffer_.append(text);
        starts_.push_back(static_cast<std::uint32_t>(buffer_.size()));
    }
    return id;
}

std::u16string_view TextIds::textOf(int id) const {
    const auto at = static_cast<std::size_t>(id);
    return std::u16string_view(buffer_).substr(starts_[at], starts_[at + 1] - starts_[at]);
}

void TextIds::clear() {
    buffer_.clear();
    starts_.assign(1, 0);
    table_.clear();
}

void TextIds::release() {
    buffer_ = {};
    starts_ = {0};
    table_.release();
}

}  // namespace quendra
