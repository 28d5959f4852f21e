#pragma once

#include <chrono>
#include <functional>

namespace quendra {

// When an unattended link tries again after a failed or lost connection: a pause from 2 s,
// doubling up to 5 minutes, shortened by up to a quarter at random so that many clients cut off
// together do not return together. Every third failure in a row moves on to the next address of
// the history, wrapping to the first.
class RetrySchedule {
public:
    // Gives numbers uniform in [0, 1); tests pass a fixed one.
    using RandomSource = std::function<double()>;

    static constexpr std::chrono::milliseconds kFirstPause{2'000};
    static constexpr std::chrono::milliseconds kLongestPause{300'000};
    static constexpr int kFailuresPerAddress = 3;

    explicit RetrySchedule(RandomSource random);

    // `count` addresses to go round, starting at `current`; 0 or 1 address never moves.
    void setAddresses(int count, int current);

    struct Retry {
        std::chrono::milliseconds pause;
        int address;      // the address to try after the pause
        bool nextAddress;  // true when `address` differs from the one that failed
    };
    Retry failed();
    void succeeded();

    int failuresInARow() const { return failures_; }
    int address() const { return address_; }

private:
    RandomSource random_;
    int failures_ = 0;
    int addressCount_ = 1;
    int address_ = 0;
};

}  // namespace quendra
