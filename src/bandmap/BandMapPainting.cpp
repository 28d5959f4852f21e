// The band map's painting: the scale, the plan and the marks kept drawn in a picture of their
// own, and over it the calls with their leaders, the radio's line and the count of calls left out.
#include "bandmap/BandMapCanvas.h"

#include "bandmap/BandMapText.h"
#include "bandmap/BandPlanSegments.h"
#include "platform/QtText.h"
#include "spots/Clock.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quendra {
namespace {

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

}  // namespace quendra
