#pragma once

#include "filters/IdTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// Gives each distinct text a dense id (0, 1, 2, ... in order of first sight) and keeps every
// text once, end to end in one buffer: naming a text already seen costs one hash and one probe
// and no allocation.
class TextIds {
public:
    int idOf(std::u16string_view text);
    std::u16string_view textOf(int id) const;
    std::size_t size() const { return starts_.size() - 1; }

    void clear();
    void release();

private:
    std::u16string buffer_;
    std::vector<std::uint32_t> starts_{0};  // text i is buffer_[starts_[i], starts_[i + 1])
    IdTable table_;
};

}  // namespace quendra
