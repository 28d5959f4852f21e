#pragma once

#include <cstdint>

namespace quendra {

// A calendar reading in UTC, field by field as the platform's system-time record has it.
struct SystemTime {
    std::uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual SystemTime now() const = 0;
};

// The wall clock in UTC.
class SystemClock : public Clock {
public:
    SystemTime now() const override;
};

// Whole seconds since 1970-01-01 00:00:00 UTC, reached through the file time (100 ns ticks since
// 1601-01-01): ticks / 10,000,000 - 11,644,473,600. The day of week takes no part. Fields out of
// their calendar range are not rejected; they simply carry into the next unit.
std::int64_t secondsSince1970(const SystemTime& time);

// The file time of a reading: 100 ns ticks since 1601-01-01 00:00:00 UTC.
std::int64_t fileTimeOf(const SystemTime& time);

}  // namespace quendra
