#pragma once

#include "spots/Clock.h"

#include <cstdint>

namespace quendra::testing {

// A clock that stands still until a test moves it, set in whole seconds since 1970.
class ManualClock : public Clock {
public:
    explicit ManualClock(std::int64_t secondsSince1970 = kStart) : seconds_(secondsSince1970) {}

    SystemTime now() const override { return fromSeconds(seconds_); }
    void set(std::int64_t secondsSince1970) { seconds_ = secondsSince1970; }
    void advance(std::int64_t seconds) { seconds_ += seconds; }
    std::int64_t seconds() const { return seconds_; }

    static constexpr std::int64_t kStart = 1'796'645'000;  // 2026-12-07 12:03:20 UTC

    static SystemTime fromSeconds(std::int64_t seconds) {
        const std::int64_t days = floorDiv(seconds, 86400);
        const std::int64_t inDay = seconds - days * 86400;
        // Civil date from days since 1970 (Howard Hinnant's algorithm).
        const std::int64_t z = days + 719468;
        const std::int64_t era = floorDiv(z, 146097);
        const std::int64_t dayOfEra = z - era * 146097;
        const std::int64_t yearOfEra =
            (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        const std::int64_t mp = (5 * dayOfYear + 2) / 153;
        const std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
        const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
        const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
        return SystemTime{u16(year), u16(month), u16(floorDiv(days + 4, 7) * -7 + days + 4),
                          u16(day), u16(inDay / 3600), u16(inDay / 60 % 60), u16(inDay % 60), 0};
    }

private:
    static std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
        return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
    }
    static std::uint16_t u16(std::int64_t value) { return static_cast<std::uint16_t>(value); }

    std::int64_t seconds_;
};

}  // namespace quendra::testing
