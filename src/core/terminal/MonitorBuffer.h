#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace quendra {

// What a buffer reports to the view that shows it.
class MonitorBufferObserver {
public:
    virtual ~MonitorBufferObserver() = default;
    virtual void scrollRangeChanged(int minimum, int maximum) = 0;  // always 0 .. count - 1
    virtual void positionChanged(int position) = 0;                 // set scroll position, repaint all
    virtual void repaintRequested() = 0;                            // repaint all, position unchanged
};

// A terminal's bounded scroll-back with a scroll position that follows the newest line while the
// user has not scrolled away from it.
// Invariants: count() <= capacity() taken as unsigned 32-bit, and -1 <= position() <= count() - 1.
class MonitorBuffer {
public:
    void setCapacity(std::int32_t capacity);
    void AddLine(std::u16string line);
    void SetPosition(int index);
    int count() const;
    std::int32_t capacity() const;
    int position() const;
    const std::u16string& line(int index) const;

    // Rewrites the newest line in place, for a line whose end arrives later than its start.
    // Does nothing on an empty buffer.
    void replaceNewest(std::u16string line);
    // How many lines have ever been added; tells a writer whether the newest line is still the
    // one it added last.
    std::uint64_t linesAdded() const { return linesAdded_; }

    void setObserver(MonitorBufferObserver* observer);

private:
    void dropOldestBeyondCapacity();

    // A deque, since operators keep tens of thousands of lines and the oldest goes on every add.
    std::deque<std::u16string> lines_;
    std::int32_t capacity_ = 50;
    int position_ = -1;
    std::uint64_t linesAdded_ = 0;
    MonitorBufferObserver* observer_ = nullptr;
};

}  // namespace quendra
