#include "bandmap/BandMapCanvas.h"

#include "bandmap/BandMapAccessible.h"
#include "bandmap/BandMapText.h"
#include "bandmap/BandPlanSegments.h"
#include "platform/QtText.h"
#include "platform/RefreshPacing.h"
#include "spots/Clock.h"
#include "spots/SpotListModel.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace quendra {
namespace {

constexpr int kStripWidth = 8;
constexpr int kMarkLength = 8;
constexpr int kLeaderWidth = 14;
constexpr int kMargin = 4;
// More moved calls than this and the whole pane is drawn again, which is then cheaper.
constexpr int kMostRectsRepainted = 64;
// An old spot is drawn at this share of a new one's strength.
constexpr double kFaintest = 0.35;

QColor tintOf(SegmentUse use) {
    switch (use) {
    case SegmentUse::CW: return {70, 130, 220, 150};
    case SegmentUse::Digital: return {60, 170, 90, 150};
    case SegmentUse::Phone: return {230, 150, 50, 150};
    }
    return {};
}

// A scale label: thousands grouped by commas, as many decimals as the tick step needs.
QString scaleText(double kHz, int decimals) {
    QString digits = QString::number(kHz, 'f', decimals);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    for (qsizetype at = (point < 0 ? digits.size() : point) - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QColor faded(QColor colour, double strength) {
    colour.setAlphaF(static_cast<float>(colour.alphaF() * strength));
    return colour;
}

}  // namespace

BandMapCanvas::BandMapCanvas(Parts parts, QWidget* parent)
    : QWidget(parent), parts_(std::move(parts)), spots_(parts_.store, parts_.model) {
    installBandMapAccessibleFactory();
    setObjectName(QStringLiteral("bandMapCanvas"));
    setAccessibleName(tr("Band map"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QAbstractItemModel* model = &parts_.model;
    connect(model, &QAbstractItemModel::modelReset, this, &BandMapCanvas::listReset);
    connect(model, &QAbstractItemModel::layoutChanged, this, &BandMapCanvas::listReset);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &BandMapCanvas::listReset);
    connect(model, &QAbstractItemModel::columnsInserted, this, &BandMapCanvas::listReset);
    connect(model, &QAbstractItemModel::columnsRemoved, this, &BandMapCanvas::listReset);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { rowsAdded(first, last); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                rowsChanged(from.row(), to.row(), roles);
            });
    // Spots fade as they age; a minute is finer than anyone sees them fade.
    fadeTimer_ = new QTimer(this);
    fadeTimer_->setInterval(60'000);
    connect(fadeTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

BandMapCanvas::~BandMapCanvas() = default;

QSize BandMapCanvas::sizeHint() const { return {fontMetrics().horizontalAdvance(QLatin1Char('0')) * 28, 480}; }

int BandMapCanvas::labelHeight() const { return fontMetrics().height() + 2; }

int BandMapCanvas::labelLeft() const {
    const int scale = fontMetrics().horizontalAdvance(toQString(bandMapFrequencyText(window_.bandHigh()))) + 2 * kMargin;
    return scale + kStripWidth + kMarkLength + kLeaderWidth;
}

// --- What is shown -----------------------------------------------------------------------------

void BandMapCanvas::setBand(BandRange band, int region) {
    if (band.low == spots_.band().low && band.high == spots_.band().high && region == region_)
        return;
    region_ = region;
    const bool sameBand = band.low == spots_.band().low && band.high == spots_.band().high;
    spots_.setBand(band);
    if (!sameBand) {
        window_ = BandWindow(band.low, band.high);
        window_.setPixels(labelHeight() / 2, height() - labelHeight());
        if (radioKHz_ > 0 && window_.shows(radioKHz_))
            window_.centreOn(radioKHz_);
    }
    listReset();
    update();
}

void BandMapCanvas::setRadioKHz(double kHz) {
    if (kHz == radioKHz_)
        return;
    const QRect before = radioLineRect();
    radioKHz_ = kHz;
    if (!isVisible())
        return;
    // The map follows the radio: turned off the stretch shown, the stretch moves to it.
    if (kHz > 0 && band().contains(kHz) && !window_.shows(kHz)) {
        window_.centreOn(kHz);
        placeAndRepaintAll();
        return;
    }
    update(before);
    update(radioLineRect());
}

QRect BandMapCanvas::radioLineRect() const {
    if (!(radioKHz_ > 0) || !window_.shows(radioKHz_))
        return {};
    const int y = static_cast<int>(std::lround(window_.yOf(radioKHz_)));
    const int half = labelHeight() / 2 + 2;
    return {0, y - half, width(), 2 * half + 1};
}

void BandMapCanvas::listReset() {
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    // The list is refilled whenever spots age out, which may be every read, and may add rows
    // twice in a frame: the map reads what changed once a frame at most.
    resetPending_ = true;
    pacer_.request();
}

void BandMapCanvas::catchUp() {
    pacer_.refreshed();
    if (resetPending_) {
        readAgain();
    } else if (pendingFirst_ >= 0) {
        const int before = spots_.size();
        spots_.readRows(pendingFirst_, pendingLast_);
        pendingFirst_ = pendingLast_ = -1;
        if (spots_.size() != before) {
            place(false);
            tellAssistiveTools(true);
        }
    }
}

void BandMapCanvas::readAgain() {
    stale_ = false;
    resetPending_ = false;
    pendingFirst_ = pendingLast_ = -1;
    ++marksVersion_;
    newMarks_.clear();
    spots_.readAll();
    placeAndRepaintAll();
    tellAssistiveTools(true);
}

void BandMapCanvas::rowsAdded(int first, int last) {
    if (stale_ || !isVisible()) {
        stale_ = true;
        return;
    }
    if (resetPending_)
        return;
    pendingFirst_ = pendingFirst_ < 0 ? first : std::min(pendingFirst_, first);
    pendingLast_ = std::max(pendingLast_, last);
    pacer_.request();
}

void BandMapCanvas::rowsChanged(int first, int last, const QList<int>& roles) {
    // A row whose roles all changed may show another spot now (repeats collapsed).
    if (roles.isEmpty())
        return listReset();
    if (!roles.contains(Qt::DisplayRole) && !roles.contains(Qt::BackgroundRole) && !roles.contains(Qt::ForegroundRole))
        return;
    if (stale_ || !isVisible()) {
        stale_ = true;
        return;
    }
    spots_.forgetLooks(first, last);
    update();
}

void BandMapCanvas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fadeTimer_->start();
    if (stale_)
        readAgain();
}

void BandMapCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Half a call's height at each end, so the labels of the band edges stay whole.
    window_.setPixels(labelHeight() / 2, height() - labelHeight());
    placeAndRepaintAll();
}

void BandMapCanvas::place(bool everything) {
    std::vector<BandMapSpot>& spots = spots_.spots();
    std::vector<LabelWish> wishes;
    std::vector<std::size_t> shown;
    wishes.reserve(spots.size());
    shown.reserve(spots.size());
    for (std::size_t i = 0; i < spots.size(); ++i) {
        if (window_.shows(spots[i].kHz)) {
            wishes.push_back({window_.yOf(spots[i].kHz), spots[i].serial});
            shown.push_back(i);
        }
    }
    const double lh = labelHeight();
    // Without room for every call, the count of those left out takes the bottom line.
    const bool crowded = static_cast<double>(wishes.size()) * lh > height();
    const std::vector<double> placed = placeLabels(wishes, lh, 0, height() - (crowded ? lh : 0));
    const int unplaced = static_cast<int>(std::count(placed.begin(), placed.end(), kLabelNotPlaced));
    QRegion dirty;
    int moved = 0;
    const int markLeft = labelLeft() - kMarkLength - kLeaderWidth;
    auto spanOf = [&](double markY, double labelY) {
        const double shownAt = labelY >= 0 ? labelY : markY;
        const double top = std::min(markY, shownAt) - lh / 2 - 1;
        const double bottom = std::max(markY, shownAt) + lh / 2 + 1;
        return QRect(markLeft, static_cast<int>(std::floor(top)), width() - markLeft,
                     static_cast<int>(std::ceil(bottom - top)) + 1);
    };
    std::size_t next = 0;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const bool onScreen = next < shown.size() && shown[next] == i;
        const double y = onScreen ? placed[next++] : kLabelNotPlaced;
        BandMapSpot& spot = spots[i];
        if (spot.labelY == kLabelNew)
            newMarks_.push_back(spot.kHz);
        if (y == spot.labelY)
            continue;
        if (!everything && moved < kMostRectsRepainted) {
            const double markY = window_.yOf(spot.kHz);
            dirty += spanOf(markY, spot.labelY);
            dirty += spanOf(markY, y);
        }
        ++moved;
        spot.labelY = y;
    }
    if (unplaced != unplaced_) {
        unplaced_ = unplaced;
        unplacedText_.setText(tr("%n more: zoom in", nullptr, unplaced_));
        dirty += QRect(0, height() - static_cast<int>(lh) - 2, width(), static_cast<int>(lh) + 2);
    }
    if (everything || moved >= kMostRectsRepainted)
        update();
    else if (!dirty.isEmpty())
        update(dirty);
}

// --- Drawing -----------------------------------------------------------------------------------

// The scale and the plan change only with the stretch shown and the pane's size: drawn once
// for them and kept, so that a new spot costs the drawing of its call only.
void BandMapCanvas::drawBackground() {
    const qreal ratio = devicePixelRatioF();
    background_ = QPixmap(size() * ratio);
    background_.setDevicePixelRatio(ratio);
    backgroundKey_ = {window_.low(), window_.high(), width(), height(), region_, marksVersion_};
    QPainter painter(&background_);
    const QPalette& colours = palette();
    const int lh = labelHeight();
    const int stripLeft = labelLeft() - kLeaderWidth - kMarkLength - kStripWidth;
    painter.fillRect(rect(), colours.base());
    painter.fillRect(QRect(0, 0, stripLeft, height()), colours.window());

    // The plan's segments beside the scale.
    for (const PlanSegment& segment : bandPlanSegmentsWithin(region_, window_.low(), window_.high())) {
        const int top = static_cast<int>(std::floor(window_.yOf(std::max(segment.lowKHz, window_.low()))));
        const int bottom = static_cast<int>(std::ceil(window_.yOf(std::min(segment.highKHz, window_.high()))));
        painter.fillRect(QRect(stripLeft, top, kStripWidth, std::max(1, bottom - top)), tintOf(segment.use));
    }

    // The scale: a labelled tick every step, smaller ones between.
    const double step = window_.tickStep(fontMetrics().height() * 2.5);
    const int perStep = step / 5 * window_.pixelsPerKHz() >= 4 ? 5 : 2;
    const double minor = step / perStep;
    const int decimals = step >= 1 ? 0 : (step >= 0.1 ? 1 : 2);
    painter.setPen(colours.windowText().color());
    const auto first = static_cast<long long>(std::ceil(window_.low() / minor - 1e-9));
    for (long long tick = first; static_cast<double>(tick) * minor <= window_.high() + minor / 1000; ++tick) {
        const bool labelled = tick % perStep == 0;
        const int row = static_cast<int>(std::lround(window_.yOf(static_cast<double>(tick) * minor)));
        painter.drawLine(stripLeft - (labelled ? 8 : 4), row, stripLeft - 1, row);
        if (labelled) {
            const QRect box(0, row - lh / 2, stripLeft - 10, lh);
            painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                             scaleText(static_cast<double>(tick) * minor, decimals));
        }
    }
    painter.end();
    std::vector<double> all;
    all.reserve(spots_.spots().size());
    for (const BandMapSpot& spot : spots_.spots())
        all.push_back(spot.kHz);
    drawMarks(all);
}

// Every spot's mark on the scale stays where it is until the stretch shown changes or spots go, so
// the marks are kept with the scale and a new spot only adds its own.
void BandMapCanvas::drawMarks(const std::vector<double>& frequencies) {
    QPainter painter(&background_);
    const int markLeft = labelLeft() - kLeaderWidth - kMarkLength;
    QVector<QLine> marks;
    marks.reserve(static_cast<qsizetype>(frequencies.size()));
    for (double kHz : frequencies) {
        if (!window_.shows(kHz))
            continue;
        const int y = static_cast<int>(std::lround(window_.yOf(kHz)));
        marks.append(QLine(markLeft, y, markLeft + kMarkLength - 1, y));
    }
    painter.setPen(QPen(palette().text().color(), 1));
    painter.drawLines(marks);
}

void BandMapCanvas::paintEvent(QPaintEvent* event) {
    const BackgroundKey key{window_.low(), window_.high(), width(), height(), region_, marksVersion_};
    if (!(key == backgroundKey_) || background_.isNull())
        drawBackground();
    else if (!newMarks_.empty())
        drawMarks(newMarks_);
    newMarks_.clear();
    QPainter painter(this);
    const QRect area = event->rect();
    const QPalette& colours = palette();
    const int lh = labelHeight();
    const int left = labelLeft();
    const int stripLeft = left - kLeaderWidth - kMarkLength - kStripWidth;
    const int markLeft = stripLeft + kStripWidth;
    const double areaTop = area.top() - lh, areaBottom = area.bottom() + lh;
    painter.drawPixmap(area, background_, QRectF(area.topLeft() * background_.devicePixelRatio(),
                                                 area.size() * background_.devicePixelRatio()));

    // The calls that have room, each with its leader to its frequency.
    const std::int64_t now = secondsSince1970(parts_.clock.now());
    const double lifetime = std::max(1, parts_.spotLifetimeSeconds);
    QVector<QLine> leaders;
    std::vector<BandMapSpot>& spots = spots_.spots();
    for (const BandMapSpot& spot : spots) {
        if (!window_.shows(spot.kHz))
            continue;
        const int y = static_cast<int>(std::lround(window_.yOf(spot.kHz)));
        if (spot.labelY >= 0) {
            const int labelRow = static_cast<int>(std::lround(spot.labelY));
            if (std::max(y, labelRow) >= areaTop && std::min(y, labelRow) <= areaBottom)
                leaders.append(QLine(markLeft + kMarkLength, y, left - 2, labelRow));
        }
    }
    QColor textColour = colours.text().color();
    // An opaque pen: a translucent one makes the painter blend every pixel of a long leader.
    const QColor base = colours.base().color();
    const QColor leaderColour((textColour.red() + base.red()) / 2, (textColour.green() + base.green()) / 2,
                              (textColour.blue() + base.blue()) / 2);
    painter.setPen(QPen(leaderColour, 0));
    painter.drawLines(leaders);

    const int current = currentPosition();
    const int textTop = (lh - fontMetrics().height()) / 2;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        BandMapSpot& spot = spots[i];
        if (spot.labelY < 0 || spot.labelY + lh < areaTop || spot.labelY - lh > areaBottom)
            continue;
        const double age = std::clamp(static_cast<double>(now - spot.receivedSeconds) / lifetime, 0.0, 1.0);
        const double strength = 1.0 - (1.0 - kFaintest) * age;
        const QRect box(left, static_cast<int>(std::lround(spot.labelY)) - lh / 2, width() - left - kMargin, lh);
        spots_.readLooks(spot, font());
        if (spot.background.isValid())
            painter.fillRect(box, faded(spot.background, strength));
        painter.setPen(faded(spot.foreground.isValid() ? spot.foreground : textColour, strength));
        painter.drawStaticText(box.left() + 3, box.top() + textTop, spot.call);
        if (static_cast<int>(i) == current) {
            painter.setPen(QPen(colours.highlight().color(), hasFocus() ? 2 : 1));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
    }

    if (radioKHz_ > 0 && window_.shows(radioKHz_)) {
        const int y = static_cast<int>(std::lround(window_.yOf(radioKHz_)));
        const QColor red(220, 30, 30);
        painter.setPen(QPen(red, 2));
        painter.drawLine(0, y, width(), y);
        const QString text = toQString(bandMapFrequencyText(radioKHz_));
        const QRect box(0, y - lh / 2, stripLeft - 2, lh);
        painter.fillRect(box, red);
        painter.setPen(Qt::white);
        painter.drawText(box.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    }

    if (unplaced_ > 0) {
        const QRect box(left, height() - lh - 1, width() - left - kMargin, lh);
        painter.fillRect(box, colours.window());
        painter.setPen(colours.windowText().color());
        const QSizeF size = unplacedText_.size();
        painter.drawStaticText(QPointF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2),
                               unplacedText_);
    }
}

// --- Finding spots -----------------------------------------------------------------------------

QRect BandMapCanvas::spotRect(int position) const {
    if (position < 0 || position >= spots_.size())
        return {};
    const BandMapSpot& spot = spots_.spots()[static_cast<std::size_t>(position)];
    const int lh = labelHeight();
    if (spot.labelY >= 0)
        return {labelLeft(), static_cast<int>(std::lround(spot.labelY)) - lh / 2, width() - labelLeft() - kMargin, lh};
    if (!window_.shows(spot.kHz))
        return {};
    const int markLeft = labelLeft() - kLeaderWidth - kMarkLength;
    return {markLeft, static_cast<int>(std::lround(window_.yOf(spot.kHz))) - 1, kMarkLength, 3};
}

int BandMapCanvas::positionAt(const QPoint& point) const {
    if (point.x() < labelLeft())
        return -1;
    for (int i = 0; i < spots_.size(); ++i) {
        if (spots_.spots()[static_cast<std::size_t>(i)].labelY >= 0 && spotRect(i).contains(point))
            return i;
    }
    return -1;
}

int BandMapCanvas::storeIndexAt(int position) const {
    if (position < 0 || position >= spots_.size())
        return -1;
    return spots_.storeIndexOf(spots_.spots()[static_cast<std::size_t>(position)]);
}

int BandMapCanvas::currentPosition() const { return hasCurrent_ ? spots_.positionOfSerial(currentSerial_) : -1; }

void BandMapCanvas::setCurrentPosition(int position) {
    if (position < 0 || position >= spots_.size())
        return;
    const int before = currentPosition();
    if (before >= 0)
        update(spotRect(before));
    currentSerial_ = spots_.spots()[static_cast<std::size_t>(position)].serial;
    hasCurrent_ = true;
    ensureShown(position);
    update(spotRect(position));
    if (QAccessible::isActive() && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(position);
        QAccessible::updateAccessibility(&focus);
    }
    emit currentChanged(position);
}

void BandMapCanvas::ensureShown(int position) {
    const double kHz = spots_.spots()[static_cast<std::size_t>(position)].kHz;
    if (window_.shows(kHz) && spots_.spots()[static_cast<std::size_t>(position)].labelY >= 0)
        return;
    // A call without room is given room: narrower about it until it has some, or at 1 kHz.
    window_.centreOn(kHz);
    place(true);
    while (spots_.spots()[static_cast<std::size_t>(position)].labelY < 0 &&
           window_.span() > BandWindow::kNarrowestKHz) {
        window_.zoom(2, kHz);
        place(true);
    }
}

void BandMapCanvas::activatePosition(int position) {
    const int storeIndex = storeIndexAt(position);
    if (storeIndex >= 0 && parts_.activate)
        parts_.activate(storeIndex);
}

void BandMapCanvas::tellAssistiveTools(bool reordered) {
    if (!QAccessible::isActive() || !reordered)
        return;
    QAccessibleEvent event(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
}

// --- Mouse and keys ----------------------------------------------------------------------------

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
