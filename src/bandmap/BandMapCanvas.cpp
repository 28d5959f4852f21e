#include "bandmap/BandMapCanvas.h"

#include "bandmap/BandMapAccessible.h"
#include "bandmap/BandMapText.h"
#include "platform/QtText.h"
#include "platform/RefreshPacing.h"
#include "spots/SpotListModel.h"

#include <QAccessible>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace quendra {
namespace {

// More moved calls than this and the whole pane is drawn again, which is then cheaper.
constexpr int kMostRectsRepainted = 64;

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

}  // namespace quendra
