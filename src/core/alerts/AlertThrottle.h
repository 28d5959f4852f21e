#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quendra {

// Lets a watched station on one band alert once per lifetime, however many spotters report it.
// Memory stays bounded by the alerts of one lifetime: keys older than that are forgotten as
// time moves on. Times are passed in, seconds since 1970, so tests need no clock.
class AlertThrottle {
public:
    // Whether to alert now; an alert that is let through starts a new lifetime for its key.
    bool shouldAlert(std::u16string_view station, int band, std::int64_t nowSeconds, int lifetimeSeconds);
    void clear();
    std::size_t remembered() const { return lastAlert_.size(); }

private:
    void forgetUpTo(std::int64_t oldest);

    struct Alerted {
        std::u16string key;
        std::int64_t seconds;
    };
    std::unordered_map<std::u16string, std::int64_t> lastAlert_;
    std::deque<Alerted> byTime_;  // in the order alerts were let through
};

}  // namespace quendra
