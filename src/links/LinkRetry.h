#pragma once

#include "autolink/RetrySchedule.h"

#include <QObject>
#include <QTimer>

namespace quendra {

// Waits the growing pause of a retry schedule after a link failed and then says that the next
// attempt is due. At most one attempt is ever pending: a new failure while one waits replaces it,
// and stop() forgets it.
class LinkRetry : public QObject {
    Q_OBJECT
public:
    explicit LinkRetry(QObject* parent = nullptr);

    void setAddresses(int count, int current) { schedule_.setAddresses(count, current); }
    RetrySchedule::Retry scheduleAfterFailure();
    void succeeded() { schedule_.succeeded(); }
    void stop() { timer_.stop(); }
    bool waiting() const { return timer_.isActive(); }
    // The pause still to wait, for tests and the status line.
    int remainingMs() const { return timer_.remainingTime(); }

signals:
    void attemptDue(int address);

private:
    RetrySchedule schedule_;
    QTimer timer_;
    int nextAddress_ = 0;
};

}  // namespace quendra
