#pragma once

#include "platform/RefreshPacing.h"
#include "terminal/MonitorBuffer.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <string>

namespace quendra {

// The terminal's output pane: shows its scroll-back in a fixed-width font. The line at the
// buffer's position is the lowest one drawn (or the lines start at the top while they do not fill
// the pane), so a following view shows the newest line at the bottom.
class MonitorView : public QAbstractScrollArea, private MonitorBufferObserver {
    Q_OBJECT
public:
    explicit MonitorView(QWidget* parent = nullptr);
    ~MonitorView() override;

    MonitorBuffer& buffer() { return buffer_; }
    const MonitorBuffer& buffer() const { return buffer_; }

    // The text of a stored line as shown, without a colour mark.
    static QString displayText(const std::u16string& stored);
    // The colour a stored line is drawn in when it carries a mark.
    static std::optional<QColor> markColour(const std::u16string& stored);

    int firstVisibleLine() const;
    int visibleRowCount() const;
    int lineHeight() const;
    // Where a line is drawn in viewport coordinates; empty when it is not on screen.
    QRect lineRect(int index) const;
    // Changes whenever the lines or the position change, so readers of the text can cache it.
    std::uint64_t revision() const { return revision_; }

    // The scroll bar and the repaint follow the buffer once per frame (see
    // platform/RefreshPacing.h), the announcement of new lines to assistive technology at most
    // once every kAnnounceEveryMs. This brings the scroll bar, the picture and the announcements
    // up to date now.
    void refreshNow();

    // Every announcement costs a screen reader's questions over the accessibility bus; the lines
    // of a second are still told together, whole, sooner than they could be read out.
    static constexpr int kAnnounceEveryMs = 1000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void scrollRangeChanged(int minimum, int maximum) override;
    void positionChanged(int position) override;
    void repaintRequested() override;
    void onScrollBarMoved(int value);
    void scheduleRefresh();
    void refresh(bool announceAtOnce);
    void announceNewLines(bool atOnce);

    MonitorBuffer buffer_;
    std::uint64_t revision_ = 0;
    // Set while the buffer drives the scroll bar, so its echo is not taken for the user's scrolling.
    bool followingBuffer_ = false;
    // Lines added to the buffer up to the last announcement.
    std::uint64_t announcedLines_ = 0;
    refresh_pacing::FramePacer pacer_{this, [this] { refresh(false); }};
    QElapsedTimer sinceAnnouncement_;  // invalid before the first
    QTimer announcementDue_;  // runs only while new lines wait to be told
};

}  // namespace quendra
