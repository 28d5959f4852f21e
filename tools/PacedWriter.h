#pragma once

#include "StandinRuntime.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

namespace standin {

// Writes a client's output as separate pieces, each flushed on its own and, when a gap is set,
// a few milliseconds after the one before, so that the reader sees the cuts as separate reads.
// Refuses more output once the client's backlog passes the limit.
class PacedWriter {
public:
    PacedWriter(QTcpSocket& socket, int gapMs) : socket_(socket), gapMs_(gapMs) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &socket_, [this] { drain(); });
    }

    // False when the client is too far behind to take more.
    bool write(std::vector<QByteArray> pieces) {
        for (auto& piece : pieces) {
            if (piece.isEmpty())
                continue;
            queuedBytes_ += piece.size();
            queue_.push_back(std::move(piece));
        }
        drain();
        return backlog() <= kMaxClientBacklog;
    }
    bool write(QByteArray bytes) { return write(std::vector<QByteArray>{std::move(bytes)}); }

    qint64 backlog() const { return queuedBytes_ + socket_.bytesToWrite(); }

    // Ends the connection once everything queued so far has gone out.
    void closeWhenDrained() {
        closing_ = true;
        drain();
    }

private:
    void drain() {
        while (!queue_.empty()) {
            if (gapMs_ > 0 && lastWrite_.isValid() && lastWrite_.elapsed() < gapMs_) {
                if (!timer_.isActive())
                    timer_.start(static_cast<int>(gapMs_ - lastWrite_.elapsed()));
                return;
            }
            const QByteArray piece = std::move(queue_.front());
            queue_.pop_front();
            queuedBytes_ -= piece.size();
            socket_.write(piece);
            socket_.flush();
            lastWrite_.start();
        }
        if (closing_)
            socket_.disconnectFromHost();
    }

    QTcpSocket& socket_;
    const int gapMs_;
    std::deque<QByteArray> queue_;
    qint64 queuedBytes_ = 0;
    QElapsedTimer lastWrite_;
    QTimer timer_;
    bool closing_ = false;
};

// Calls a step at a steady rate per second, catching up after a late timer, until a count is
// reached (count 0: no end). Rate 0 never calls it.
class RateTicker {
public:
    RateTicker(double perSecond, quint64 count, std::function<void()> step)
        : perSecond_(perSecond), count_(count), step_(std::move(step)) {
        const double interval = perSecond > 0.0 ? 1000.0 / perSecond : 1000.0;
        timer_.setInterval(static_cast<int>(std::clamp(interval, 1.0, 250.0)));
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tick(); });
    }

    void start() {
        if (perSecond_ <= 0.0)
            return;
        clock_.start();
        tick();
        if (!finished())
            timer_.start();
    }

    // Safe to call from inside the step.
    void stop() {
        stopped_ = true;
        timer_.stop();
    }

    bool finished() const { return stopped_ || (count_ != 0 && done_ >= count_); }

private:
    void tick() {
        auto due = static_cast<quint64>(static_cast<double>(clock_.elapsed()) * perSecond_ / 1000.0) + 1;
        if (count_ != 0)
            due = std::min(due, count_);
        while (done_ < due && !stopped_) {
            ++done_;
            step_();
        }
        if (finished())
            timer_.stop();
    }

    const double perSecond_;
    const quint64 count_;
    std::function<void()> step_;
    quint64 done_ = 0;
    bool stopped_ = false;
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace standin
