// The band map's mouse and keys: the wheel zooms, dragging scrolls, a click selects the spot's row
// in the list and a double click acts on it; the arrow keys move from spot to spot.
#include "bandmap/BandMapCanvas.h"

#include "spots/SpotListModel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace quendra {

void BandMapCanvas::zoomBy(double factor, double aroundKHz) {
    window_.zoom(factor, aroundKHz);
    placeAndRepaintAll();
}

void BandMapCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    zoomBy(std::pow(1.25, notches), window_.kHzAt(event->position().y()));
    event->accept();
}

void BandMapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressed_ = true;
    dragging_ = false;
    pressedAt_ = event->position().toPoint();
    pressedLow_ = window_.low();
}

void BandMapCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_)
        return;
    const QPoint at = event->position().toPoint();
    if (!dragging_ && (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    dragging_ = true;
    window_.scrollBy(pressedLow_ - window_.low() - (at.y() - pressedAt_.y()) / window_.pixelsPerKHz());
    placeAndRepaintAll();
}

void BandMapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return QWidget::mouseReleaseEvent(event);
    pressed_ = false;
    if (dragging_)
        return;
    const int position = positionAt(event->position().toPoint());
    if (position < 0)
        return;
    setCurrentPosition(position);
    const int storeIndex = storeIndexAt(position);
    if (storeIndex >= 0 && parts_.select)
        parts_.select(storeIndex);
}

void BandMapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    const int position = positionAt(event->position().toPoint());
    if (position >= 0)
        activatePosition(position);
}

void BandMapCanvas::keyPressEvent(QKeyEvent* event) {
    const int current = currentPosition();
    const int last = spots_.size() - 1;
    auto moveTo = [&](int position) {
        if (last < 0)
            return;
        setCurrentPosition(std::clamp(position, 0, last));
        if (const int storeIndex = storeIndexAt(currentPosition()); storeIndex >= 0 && parts_.select)
            parts_.select(storeIndex);
    };
    const double centre = current >= 0 ? spots_.spots()[static_cast<std::size_t>(current)].kHz
                                       : (window_.low() + window_.high()) / 2;
    switch (event->key()) {
    case Qt::Key_Down: moveTo(current < 0 ? 0 : current + 1); break;
    case Qt::Key_Up: moveTo(current < 0 ? last : current - 1); break;
    case Qt::Key_Home: moveTo(0); break;
    case Qt::Key_End: moveTo(last); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: activatePosition(current); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomBy(2, centre); break;
    case Qt::Key_Minus: zoomBy(0.5, centre); break;
    case Qt::Key_PageDown: window_.scrollBy(window_.span() / 2); placeAndRepaintAll(); break;
    case Qt::Key_PageUp: window_.scrollBy(-window_.span() / 2); placeAndRepaintAll(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

bool BandMapCanvas::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int position = positionAt(help->pos());
        if (position < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const BandMapSpot& spot = spots_.spots()[static_cast<std::size_t>(position)];
        const int row = spots_.rowOf(spot);
        const QString tip =
            row >= 0 ? parts_.model.data(parts_.model.index(row, SpotListModel::Station), Qt::ToolTipRole).toString() : QString();
        QToolTip::showText(help->globalPos(), tip.isEmpty() ? spots_.textOf(spot) : tip, this, spotRect(position));
        return true;
    }
    if (event->type() == QEvent::Hide)
        fadeTimer_->stop();
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (const int current = currentPosition(); current >= 0)
            update(spotRect(current));
    }
    return QWidget::event(event);
}

}  // namespace quendra
