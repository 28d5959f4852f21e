#include "autolink/RetrySchedule.h"

#include <algorithm>
#include <utility>

namespace quendra {

RetrySchedule::RetrySchedule(RandomSource random) : random_(std::move(random)) {}

void RetrySchedule::setAddresses(int count, int current) {
    addressCount_ = std::max(count, 1);
    address_ = current >= 0 && current < addressCount_ ? current : 0;
}

RetrySchedule::Retry RetrySchedule::failed() {
    ++failures_;
    std::chrono::milliseconds pause = kFirstPause;
    for (int i = 1; i < failures_ && pause < kLongestPause; ++i)
        pause *= 2;
    pause = std::min(pause, kLongestPause);
    // A broken source must not turn the pause negative or stretch it past the longest.
    const double draw = std::clamp(random_ ? random_() : 0.0, 0.0, 1.0);
    pause -= std::chrono::milliseconds(static_cast<long long>(static_cast<double>(pause.count()) * 0.25 * draw));

    bool moved = false;
    if (failures_ % kFailuresPerAddress == 0 && addressCount_ > 1) {
        address_ = (address_ + 1) % addressCount_;
        moved = true;
    }
    return {pause, address_, moved};
}

void RetrySchedule::succeeded() { failures_ = 0; }

}  // namespace quendra
