#include "spots/Clock.h"

#include <chrono>

namespace quendra {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::int64_t fileTimeOf(const SystemTime& time) {
    const std::int64_t days = daysFromCivil(time.year, time.month, time.day);
    const std::int64_t seconds = days * 86400 + std::int64_t{time.hour} * 3600 +
                                 std::int64_t{time.minute} * 60 + time.second;
    return (seconds + kSecondsFrom1601To1970) * kTicksPerSecond +
           std::int64_t{time.milliseconds} * 10'000;
}

std::int64_t secondsSince1970(const SystemTime& time) {
    return fileTimeOf(time) / kTicksPerSecond - kSecondsFrom1601To1970;
}

SystemTime SystemClock::now() const {
    using namespace std::chrono;
    const auto nowPoint = system_clock::now();
    const auto dayPoint = floor<days>(nowPoint);
    const year_month_day date{dayPoint};
    const hh_mm_ss clock{floor<milliseconds>(nowPoint - dayPoint)};
    const weekday weekDay{dayPoint};
    return SystemTime{
        static_cast<std::uint16_t>(static_cast<int>(date.year())),
        static_cast<std::uint16_t>(static_cast<unsigned>(date.month())),
        static_cast<std::uint16_t>(weekDay.c_encoding()),
        static_cast<std::uint16_t>(static_cast<unsigned>(date.day())),
        static_cast<std::uint16_t>(clock.hours().count()),
        static_cast<std::uint16_t>(clock.minutes().count()),
        static_cast<std::uint16_t>(clock.seconds().count()),
        static_cast<std::uint16_t>(clock.subseconds().count()),
    };
}

}  // namespace quendra
