#include "alerts/AlertThrottle.h"

namespace quendra {

void AlertThrottle::forgetUpTo(std::int64_t oldest) {
    while (!byTime_.empty() && byTime_.front().seconds <= oldest) {
        const auto found = lastAlert_.find(byTime_.front().key);
        // A key alerted again later has a newer record further back in the queue.
        if (found != lastAlert_.end() && found->second == byTime_.front().seconds)
            lastAlert_.erase(found);
        byTime_.pop_front();
    }
}

bool AlertThrottle::shouldAlert(std::u16string_view station, int band, std::int64_t nowSeconds, int lifetimeSeconds) {
    // The clock may be set back; forget everything rather than stay silent for the jump.
    if (!byTime_.empty() && nowSeconds < byTime_.back().seconds)
        clear();
    forgetUpTo(nowSeconds - lifetimeSeconds);

    std::u16string key(station);
    key += u'\n';
    key += static_cast<char16_t>(band + 1);
    const auto [found, inserted] = lastAlert_.try_emplace(key, nowSeconds);
    if (!inserted)
        return false;
    byTime_.push_back({std::move(key), nowSeconds});
    return true;
}

void AlertThrottle::clear() {
    lastAlert_.clear();
    byTime_.clear();
}

}  // namespace quendra
