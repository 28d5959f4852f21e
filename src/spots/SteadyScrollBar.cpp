#include "spots/SteadyScrollBar.h"

#include <QStyleOptionSlider>

#include <utility>

namespace quendra {

SteadyScrollBar::SteadyScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

void SteadyScrollBar::sliderChange(SliderChange change) {
    if (held_ && change != SliderOrientationChange) {
        changedWhileHeld_ = true;
        return;
    }
    // A repaint already asked for shows the newest state whenever it comes.
    if (change != SliderOrientationChange && picture() == drawn_)
        return;
    QScrollBar::sliderChange(change);
}

void SteadyScrollBar::releaseRepaints() {
    held_ = false;
    if (std::exchange(changedWhileHeld_, false) && picture() != drawn_)
        update();
}

void SteadyScrollBar::paintEvent(QPaintEvent* event) {
    drawn_ = picture();
    QScrollBar::paintEvent(event);
}

SteadyScrollBar::Picture SteadyScrollBar::picture() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    Picture picture;
    picture.bar = option.rect;
    picture.handle = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    picture.state = option.state;
    picture.active = option.activeSubControls;
    picture.atStart = option.sliderPosition == option.minimum;
    picture.atEnd = option.sliderPosition == option.maximum;
    picture.palette = option.palette.cacheKey();
    return picture;
}

}  // namespace quendra
