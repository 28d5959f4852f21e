#pragma once

#include <string>

namespace quendra {

// What the operator's log says of a stored spot, for features that act on it (alerts for a
// needed spot). Lent by the feature that keeps the operator's log.
class NeedOfSpot {
public:
    virtual ~NeedOfSpot() = default;
    // "New DXCC", "New band", "New mode", "New slot", "Worked", or empty.
    virtual std::u16string needText(int storeIndex) const = 0;
    // The log still needs the spot: one of the four "New" statuses.
    virtual bool needed(int storeIndex) const = 0;
};

}  // namespace quendra
