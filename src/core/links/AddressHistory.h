#pragma once

#include "settings/Settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// The cluster node addresses confirmed in the Connect dialog, kept in section STATUS: TELNET holds
// the last confirmed text, TELENETADR0, TELENETADR1, ... the history. The history ends at the first
// missing or empty index; entries are never removed or reordered, and duplicates are kept.
class AddressHistory {
public:
    explicit AddressHistory(Settings& settings) : settings_(settings) {}

    // The entries from index 0 up to (not including) the first missing or empty one.
    std::vector<std::u16string> entries();
    // The first index whose value is missing or empty: where the next confirmed text goes.
    int firstFreeIndex();
    // The text last confirmed, or empty.
    std::u16string lastConfirmed();
    // Saves a confirmed text as the last one, then appends it at the first free index.
    void record(std::u16string_view text);

    static std::u16string entryName(int index);  // "TELENETADR<index>"

private:
    Settings& settings_;
};

}  // namespace quendra
