#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
class MonitorBuffer {
public:
    void setCapacity(std::int32_t capacity);
    void AddLine(std::u16string line);
    void SetPosition(int index);
    int count() const;
    std::int32_t capacity() const;
    int position() const;
    const std::u16string& line(int index) const;

    void setObserver(MonitorBufferObserver* observer);

private:
    // to be completed by the terminal work
};

}  // namespace quendra
