#include "autolink/RetrySchedule.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quendra;
using std::chrono::milliseconds;

namespace {

TEST(RetrySchedule, DoublesFromTwoSecondsToFiveMinutes) {
    RetrySchedule schedule([] { return 0.0; });
    std::vector<long long> pauses;
    for (int i = 0; i < 10; ++i)
        pauses.push_back(schedule.failed().pause.count());
    EXPECT_EQ(pauses, (std::vector<long long>{2'000, 4'000, 8'000, 16'000, 32'000, 64'000, 128'000, 256'000, 300'000,
                                              300'000}));
    schedule.succeeded();
    EXPECT_EQ(schedule.failed().pause, milliseconds(2'000));
}

TEST(RetrySchedule, JitterOnlyShortensAndStaysInBounds) {
    for (double draw : {0.5, 0.999, 7.0, -1.0}) {
        RetrySchedule schedule([draw] { return draw; });
        const milliseconds first = schedule.failed().pause;
        EXPECT_GE(first, milliseconds(1'500)) << draw;
        EXPECT_LE(first, milliseconds(2'000)) << draw;
    }
    RetrySchedule half([] { return 0.5; });
    EXPECT_EQ(half.failed().pause, milliseconds(1'750));
}

TEST(RetrySchedule, EveryThirdFailureMovesToTheNextAddressWrapping) {
    RetrySchedule schedule([] { return 0.0; });
    schedule.setAddresses(2, 1);
    std::vector<int> addresses;
    std::vector<bool> moves;
    for (int i = 0; i < 6; ++i) {
        const RetrySchedule::Retry retry = schedule.failed();
        addresses.push_back(retry.address);
        moves.push_back(retry.nextAddress);
    }
    EXPECT_EQ(addresses, (std::vector<int>{1, 1, 0, 0, 0, 1}));
    EXPECT_EQ(moves, (std::vector<bool>{false, false, true, false, false, true}));

    // A success in between starts the count of three again.
    schedule.failed();
    schedule.failed();
    schedule.succeeded();
    EXPECT_FALSE(schedule.failed().nextAddress);

    RetrySchedule single([] { return 0.0; });
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(single.failed().nextAddress);
}

}  // namespace
