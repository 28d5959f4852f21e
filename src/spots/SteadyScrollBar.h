#pragma once

#include <QRect>
#include <QScrollBar>
#include <QStyle>

namespace quendra {

// A scroll bar that repaints only when its picture changes. Each refresh of a growing list sets
// a new range and moves to the newest row, and a plain scroll bar repaints for both; once the
// list is long, the handle and the ends it is drawn against stay as they were, and drawing them
// again was a good part of what a refresh cost.
class SteadyScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Between these, changes are only noted: a list that sets a new range and then moves to its
    // end passes through a picture it never shows.
    void holdRepaints() { held_ = true; }
    void releaseRepaints();

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Everything a style draws a scroll bar from: where the handle is, whether it stands at an
    // end, and the bar's state and size.
    struct Picture {
        QRect bar;
        QRect handle;
        QStyle::State state;
        QStyle::SubControls active;
        bool atStart = false;
        bool atEnd = false;
        qint64 palette = 0;
        bool operator==(const Picture&) const = default;
    };
    Picture picture() const;

    Picture drawn_;
    bool held_ = false;
    bool changedWhileHeld_ = false;
};

}  // namespace quendra
