#include "links/LinkRetry.h"

#include <random>

namespace quendra {
namespace {

double uniformRandom() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace

LinkRetry::LinkRetry(QObject* parent) : QObject(parent), schedule_(uniformRandom) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { emit attemptDue(nextAddress_); });
}

RetrySchedule::Retry LinkRetry::scheduleAfterFailure() {
    const RetrySchedule::Retry retry = schedule_.failed();
    nextAddress_ = retry.address;
    timer_.start(static_cast<int>(retry.pause.count()));
    return retry;
}

}  // namespace quendra
