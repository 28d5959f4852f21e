#include "terminal/MonitorView.h"

#include "platform/QtText.h"
#include "platform/RefreshPacing.h"

#include "terminal/MonitorViewAccessible.h"
#include "terminal/ReceivedTextLines.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace quendra {
namespace {

bool hasMark(const std::u16string& stored, std::u16string_view digits) {
    return stored.size() >= received_text::kMarkLength &&
           stored[0] == received_text::kMarkIntroducer &&
           std::u16string_view(stored).substr(1, 2) == digits;
}

// The IRC palette's colours 2 (navy) and 3 (green), which the marks' digits name.
const QColor kStationColour(0, 0, 127);
const QColor kHeaderColour(0, 147, 0);

}  // namespace

MonitorView::MonitorView(QWidget* parent) : QAbstractScrollArea(parent) {
    installMonitorViewAccessibleFactory();
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setObjectName(QStringLiteral("MonitorView"));
    setAccessibleName(tr("Terminal output"));
    verticalScrollBar()->setRange(0, 0);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &MonitorView::onScrollBarMoved);
    announcementDue_.setSingleShot(true);
    connect(&announcementDue_, &QTimer::timeout, this, [this] { announceNewLines(true); });
    buffer_.setObserver(this);
}

MonitorView::~MonitorView() { buffer_.setObserver(nullptr); }

QString MonitorView::displayText(const std::u16string& stored) {
    std::u16string_view text(stored);
    if (markColour(stored))
        text.remove_prefix(received_text::kMarkLength);
    return toQString(text);
}

std::optional<QColor> MonitorView::markColour(const std::u16string& stored) {
    if (hasMark(stored, u"02"))
        return kStationColour;
    if (hasMark(stored, u"03"))
        return kHeaderColour;
    return std::nullopt;
}

int MonitorView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int MonitorView::visibleRowCount() const {
    return std::max(1, viewport()->height() / lineHeight());
}

int MonitorView::firstVisibleLine() const {
    return std::max(0, buffer_.position() - visibleRowCount() + 1);
}

QRect MonitorView::lineRect(int index) const {
    const int row = index - firstVisibleLine();
    if (index < 0 || index >= buffer_.count() || row < 0 || row >= visibleRowCount())
        return {};
    return QRect(0, row * lineHeight(), viewport()->width(), lineHeight());
}

void MonitorView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const QColor plain = palette().text().color();
    const int first = firstVisibleLine();
    const int last = std::min(buffer_.count() - 1, first + visibleRowCount());
    const int ascent = fontMetrics().ascent();
    const int margin = 2;
    for (int index = first; index <= last; ++index) {
        const auto& stored = buffer_.line(index);
        painter.setPen(markColour(stored).value_or(plain));
        const int top = (index - first) * lineHeight();
        painter.drawText(margin, top + ascent, toQString(received_text::drawnText(toU16(displayText(stored)))));
    }
}

void MonitorView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    verticalScrollBar()->setPageStep(visibleRowCount());
}

// Home and End jump to the oldest and the newest line; at the newest line the view follows again.
void MonitorView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home)
        buffer_.SetPosition(0);
    else if (event->key() == Qt::Key_End)
        buffer_.SetPosition(buffer_.count() - 1);
    else
        QAbstractScrollArea::keyPressEvent(event);
}

void MonitorView::scrollRangeChanged(int, int) {
    ++revision_;
    scheduleRefresh();
}

void MonitorView::positionChanged(int) {
    ++revision_;
    scheduleRefresh();
}

void MonitorView::repaintRequested() {
    ++revision_;
    scheduleRefresh();
}

void MonitorView::scheduleRefresh() {
    if (!refresh_pacing::coalescing())
        refreshNow();
    else
        pacer_.request();
}

void MonitorView::refreshNow() { refresh(true); }

void MonitorView::refresh(bool announceAtOnce) {
    pacer_.refreshed();
    followingBuffer_ = true;
    verticalScrollBar()->setRange(0, std::max(0, buffer_.count() - 1));
    verticalScrollBar()->setValue(std::max(0, buffer_.position()));
    followingBuffer_ = false;
    viewport()->update();
    announceNewLines(announceAtOnce);
}

void MonitorView::onScrollBarMoved(int value) {
    if (!followingBuffer_)
        buffer_.SetPosition(value);
}

// A burst is announced as one insertion of all its lines: a screen reader hears every line, and
// the accessibility bus carries one event a second instead of one per line. The first lines
// after a quiet second are told at once, so the node's answer to a command is heard at once.
void MonitorView::announceNewLines(bool atOnce) {
    if (!atOnce && refresh_pacing::coalescing() && sinceAnnouncement_.isValid() &&
        sinceAnnouncement_.elapsed() < kAnnounceEveryMs) {
        if (!announcementDue_.isActive())
            announcementDue_.start(static_cast<int>(kAnnounceEveryMs - sinceAnnouncement_.elapsed()));
        return;
    }
    announcementDue_.stop();
    const std::uint64_t added = buffer_.linesAdded();
    const std::uint64_t fresh = std::min<std::uint64_t>(added - announcedLines_,
                                                        static_cast<std::uint64_t>(buffer_.count()));
    announcedLines_ = added;
    if (fresh > 0 && QAccessible::isActive()) {
        announceAppendedLines(*this, static_cast<int>(fresh));
        sinceAnnouncement_.start();
    }
}

}  // namespace quendra
