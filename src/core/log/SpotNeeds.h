#pragma once

#include "log/LogChanges.h"
#include "log/NeedStatus.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace quendra {

class EntityNumbers;
class OperatorLog;
class SpotStore;

// The need status of every stored spot, worked out when the spot arrives and again, for the
// spots a change of the log concerns, when the log grows. Facts are kept by store serial, since
// indexes move as spots age out; serials grow by one per stored spot, so a fact is found by
// subtraction. Spots leave the front as they age out: the oldest arrival is gone after MAXTIME,
// so what is kept spans at most the arrivals of one spot lifetime.
class SpotNeeds {
public:
    // The store, numbers and log must outlive this; the log may be absent (no status at all).
    SpotNeeds(const SpotStore& store, const EntityNumbers& numbers);

    void setLog(const OperatorLog* log, NeedRule rule);
    const OperatorLog* log() const { return log_; }

    // The spot the store has just appended at this index.
    NeedStatus spotArrived(int storeIndex);
    // Every stored spot again, as after the log was read anew.
    void markAll();

    struct Remarked {
        std::vector<int> storeIndexes;  // spots whose status changed, in store order
        bool neededChanged = false;     // one of them entered or left the needed four
    };
    // The spots this change of the log concerns, marked again.
    Remarked remark(const LogChanges& changes);

    NeedStatus statusAt(int storeIndex) const;
    std::size_t keptSpots() const { return marks_.size(); }

private:
    struct Mark {
        std::uint16_t entity = 0;
        NeedStatus status = NeedStatus::None;
        bool known = false;  // false for a serial this was never told of
    };
    Mark resolve(int storeIndex) const;
    NeedStatus statusOf(int storeIndex, int entity) const;
    void forgetGone();
    Mark* markOf(std::uint64_t serial);
    const Mark* markOf(std::uint64_t serial) const;

    const SpotStore& store_;
    const EntityNumbers& numbers_;
    const OperatorLog* log_ = nullptr;
    NeedRule rule_;
    std::deque<Mark> marks_;          // marks_[i] is the spot of serial first_ + i
    std::uint64_t first_ = 0;
};

}  // namespace quendra
