#pragma once

#include <string>

namespace quendra {

// A word a feature has to say about a spot beside its need status ("verified", "busted: ZZ2CD?"),
// shown in the list's "Status" column and tooltip. Lent by the feature that judges the spots and
// read by the one that shows the column.
class StatusRemark {
public:
    virtual ~StatusRemark() = default;
    // Empty when there is nothing to say about the spot at this store index.
    virtual std::u16string remark(int storeIndex) const = 0;
};

}  // namespace quendra
