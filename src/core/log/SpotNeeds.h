#pragma once

#include "log/LogChanges.h"
#include "log/NeedStatus.h"

#include <cstddef>
#include <cstdint>
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
//
// Each fact holds what status needs (the entity, band and mode group, the call's number in the
// log and a key of its call), so re-marking walks these small facts alone and reads a stored
// spot only for a call the change names: with 200,000 spots stored, reading every spot would
// cost more than all the rest.
class SpotNeeds {
public:
    // The store, numbers and log must outlive this; without a log every status is None.
    SpotNeeds(const SpotStore& store, const EntityNumbers& numbers);

    // Call markAll after setting another log: the facts hold numbers of the log's calls.
    void setLog(const OperatorLog* log, NeedRule rule);

    // The spot the store has just appended at this index.
    NeedStatus spotArrived(int storeIndex);
    // Every stored spot again, as after the log was read anew.
    void markAll();

    struct Remarked {
        // Serials of the spots whose status changed, while there are few; past kListed, only
        // their count is kept and every row is to be drawn again.
        std::vector<std::uint64_t> serials;
        std::size_t changed = 0;
        bool neededChanged = false;  // one of them entered or left the needed four
    };
    static constexpr std::size_t kListed = 256;
    // The spots this change of the log concerns, marked again.
    Remarked remark(const LogChanges& changes);

    NeedStatus statusAt(int storeIndex) const;
    std::size_t keptSpots() const { return marks_.size() - head_; }

private:
    struct Mark {
        std::uint16_t entity = 0;
        std::int8_t band = -1;
        std::uint8_t group = 0;  // ModeGroup
        NeedStatus status = NeedStatus::None;
        bool known = false;         // false for a serial this was never told of
        std::uint32_t callKey = 0;  // a hash of the call; 0: no call the log can hold
        std::uint32_t logCall = 0;  // the call's number in the log + 1; 0: not in the log
    };
    Mark resolve(int storeIndex) const;
    void findCall(int storeIndex, Mark& mark) const;
    NeedStatus statusOf(const Mark& mark) const;
    void forgetGone();
    const Mark* markOf(std::uint64_t serial) const;

    const SpotStore& store_;
    const EntityNumbers& numbers_;
    const OperatorLog* log_ = nullptr;
    NeedRule rule_;
    // marks_[head_ + i] is the spot of serial first_ + i; the front is dropped in steps.
    std::vector<Mark> marks_;
    std::size_t head_ = 0;
    std::uint64_t first_ = 0;
};

}  // namespace quendra
