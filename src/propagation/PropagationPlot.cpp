#include "propagation/PropagationPlot.h"

#include "propagation/PropagationReport.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace quendra {
namespace {

struct Strip {
    const char* name;
    int (*value)(const PropagationReport&);
    int floorTop;  // the scale reaches at least this far
    QColor colour;
};

const Strip kStrips[] = {
    {"SFI", [](const PropagationReport& r) { return r.sfi; }, 200, QColor(0xc0, 0x60, 0x00)},
    {"A", [](const PropagationReport& r) { return r.a; }, 50, QColor(0x20, 0x60, 0xc0)},
    {"K", [](const PropagationReport& r) { return r.k; }, 9, QColor(0xb0, 0x20, 0x40)},
};

}  // namespace

PropagationPlot::PropagationPlot(const PropagationHistory& history, QWidget* parent)
    : QWidget(parent), history_(history) {
    setObjectName(QStringLiteral("propagationPlot"));
    setAccessibleName(tr("Propagation over the last 24 hours"));
    setMinimumSize(320, 200);
}

void PropagationPlot::setNow(std::int64_t now) {
    now_ = now;
    const PropagationHistory::Sample* latest = history_.latest();
    const auto reports = static_cast<int>(history_.samples().size());
    if (!latest) {
        setAccessibleDescription(tr("No report in the last 24 hours"));
    } else {
        const QString count = reports == 1 ? tr("1 report") : tr("%1 reports").arg(reports);
        setAccessibleDescription(tr("%1; the last: SFI %2, A %3, K %4")
                                     .arg(count)
                                     .arg(latest->report.sfi)
                                     .arg(latest->report.a)
                                     .arg(latest->report.k));
    }
    update();
}

void PropagationPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const int left = metrics.horizontalAdvance(QStringLiteral("SFI 000")) + 8;
    const int right = width() - metrics.horizontalAdvance(tr("now")) / 2 - 8;
    const int bottom = height() - metrics.height() - 6;
    const int stripHeight = (bottom - 6) / 3;
    const std::int64_t start = now_ - PropagationHistory::kSpanSeconds;
    const auto xOf = [&](std::int64_t seconds) {
        return left + static_cast<double>(seconds - start) * (right - left) / PropagationHistory::kSpanSeconds;
    };

    painter.setPen(palette().color(QPalette::Mid));
    for (int hoursBack = 24; hoursBack >= 0; hoursBack -= 6) {
        const double x = xOf(now_ - hoursBack * 3600);
        painter.drawLine(QPointF(x, 6), QPointF(x, bottom));
        const QString label = hoursBack == 0 ? tr("now") : tr("-%1 h").arg(hoursBack);
        painter.drawText(QRectF(x - 40, bottom + 2, 80, metrics.height()), Qt::AlignHCenter, label);
    }

    for (int i = 0; i < 3; ++i) {
        const Strip& strip = kStrips[i];
        const int top = 6 + i * stripHeight;
        const int base = top + stripHeight - 8;
        int highest = strip.floorTop;
        for (const PropagationHistory::Sample& sample : history_.samples())
            highest = std::max(highest, strip.value(sample.report));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(left, base, right, base);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(2, top, left - 6, stripHeight - 8), Qt::AlignRight | Qt::AlignTop,
                         QStringLiteral("%1\n%2").arg(QLatin1String(strip.name)).arg(highest));
        const auto yOf = [&](int value) { return base - static_cast<double>(value) * (stripHeight - 14) / highest; };
        QPainterPath path;
        bool first = true;
        painter.setBrush(strip.colour);
        for (const PropagationHistory::Sample& sample : history_.samples()) {
            if (sample.seconds < start)
                continue;
            const QPointF point(xOf(sample.seconds), yOf(strip.value(sample.report)));
            if (first)
                path.moveTo(point);
            else
                path.lineTo(point);
            first = false;
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(point, 2.5, 2.5);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(strip.colour, 1.5));
        painter.drawPath(path);
    }
    if (history_.samples().empty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(left, 6, right - left, bottom - 6), Qt::AlignCenter, tr("No report in the last 24 hours"));
    }
}

}  // namespace quendra
