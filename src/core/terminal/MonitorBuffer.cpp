#include "terminal/MonitorBuffer.h"

#include <algorithm>

namespace quendra {

void MonitorBuffer::setCapacity(std::int32_t capacity) { capacity_ = capacity; }

void MonitorBuffer::AddLine(std::u16string line) {
    lines_.push_back(std::move(line));
    ++linesAdded_;
    dropOldestBeyondCapacity();
    if (observer_)
        observer_->scrollRangeChanged(0, count() - 1);
    // Only a view that showed the newest line (or an empty buffer) moves on; a view scrolled back
    // keeps its text in place.
    if (position_ == count() - 2 || position_ == -1)
        SetPosition(position_ + 1);
    else if (observer_)
        observer_->repaintRequested();
}

void MonitorBuffer::dropOldestBeyondCapacity() {
    // A negative capacity reads as a huge unsigned number and so never drops a line.
    if (static_cast<std::uint32_t>(lines_.size()) <= static_cast<std::uint32_t>(capacity_))
        return;
    lines_.pop_front();
    --position_;
}

void MonitorBuffer::SetPosition(int index) {
    index = std::max(index, -1);
    index = std::min(index, count() - 1);
    position_ = index;
    if (observer_)
        observer_->positionChanged(position_);
}

void MonitorBuffer::replaceNewest(std::u16string line) {
    if (lines_.empty())
        return;
    lines_.back() = std::move(line);
    if (observer_)
        observer_->repaintRequested();
}

int MonitorBuffer::count() const { return static_cast<int>(lines_.size()); }
std::int32_t MonitorBuffer::capacity() const { return capacity_; }
int MonitorBuffer::position() const { return position_; }
const std::u16string& MonitorBuffer::line(int index) const {
    return lines_.at(static_cast<std::size_t>(index));
}

void MonitorBuffer::setObserver(MonitorBufferObserver* observer) { observer_ = observer; }

}  // namespace quendra
