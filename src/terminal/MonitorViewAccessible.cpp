#include "terminal/MonitorViewAccessible.h"

#include "terminal/MonitorView.h"

#include <QFontMetrics>

#include <algorithm>

namespace quendra {

MonitorViewAccessible::MonitorViewAccessible(MonitorView* view)
    : QAccessibleWidget(view, QAccessible::Terminal) {}

MonitorView* MonitorViewAccessible::view() const { return static_cast<MonitorView*>(widget()); }

void* MonitorViewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State MonitorViewAccessible::state() const {
    auto state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    return state;
}

const QString& MonitorViewAccessible::wholeText() const {
    if (textRevision_ != view()->revision()) {
        const auto& buffer = view()->buffer();
        text_.clear();
        for (int i = 0; i < buffer.count(); ++i) {
            if (i > 0)
                text_ += QLatin1Char('\n');
            text_ += MonitorView::displayText(buffer.line(i));
        }
        textRevision_ = view()->revision();
    }
    return text_;
}

int MonitorViewAccessible::offsetOfLine(int index) const {
    const auto& text = wholeText();
    int offset = 0;
    for (int line = 0; line < index && offset >= 0; ++line) {
        offset = static_cast<int>(text.indexOf(QLatin1Char('\n'), offset));
        offset = offset < 0 ? -1 : offset + 1;
    }
    return std::max(0, offset);
}

int MonitorViewAccessible::lineAtOffset(int offset) const {
    const auto& text = wholeText();
    offset = std::clamp(offset, 0, static_cast<int>(text.size()));
    return static_cast<int>(QStringView(text).left(offset).count(QLatin1Char('\n')));
}

// The pane shows received text only: there is nothing to select.
void MonitorViewAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}
int MonitorViewAccessible::selectionCount() const { return 0; }
void MonitorViewAccessible::addSelection(int, int) {}
void MonitorViewAccessible::removeSelection(int) {}
void MonitorViewAccessible::setSelection(int, int, int) {}

int MonitorViewAccessible::cursorPosition() const {
    return offsetOfLine(std::max(0, view()->buffer().position()));
}

void MonitorViewAccessible::setCursorPosition(int position) {
    view()->buffer().SetPosition(lineAtOffset(position));
}

QString MonitorViewAccessible::text(int startOffset, int endOffset) const {
    const auto& text = wholeText();
    const int size = static_cast<int>(text.size());
    startOffset = std::clamp(startOffset, 0, size);
    endOffset = std::clamp(endOffset, startOffset, size);
    return text.mid(startOffset, endOffset - startOffset);
}

int MonitorViewAccessible::characterCount() const { return static_cast<int>(wholeText().size()); }

QRect MonitorViewAccessible::characterRect(int offset) const {
    const int index = lineAtOffset(offset);
    const QRect line = view()->lineRect(index);
    if (line.isEmpty())
        return {};
    const int column = std::max(0, offset - offsetOfLine(index));
    const QFontMetrics metrics(view()->font());
    const QString before = wholeText().mid(offsetOfLine(index), column);
    const int x = 2 + metrics.horizontalAdvance(before);
    const QRect local(x, line.top(), metrics.horizontalAdvance(QLatin1Char('M')), line.height());
    return QRect(view()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int MonitorViewAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    if (local.y() < 0)
        return -1;
    const int index = view()->firstVisibleLine() + local.y() / view()->lineHeight();
    if (index >= view()->buffer().count())
        return -1;
    const QString line = MonitorView::displayText(view()->buffer().line(index));
    const QFontMetrics metrics(view()->font());
    int column = 0;
    while (column < line.size() && 2 + metrics.horizontalAdvance(line.left(column + 1)) <= local.x())
        ++column;
    return offsetOfLine(index) + column;
}

void MonitorViewAccessible::scrollToSubstring(int startIndex, int) {
    view()->buffer().SetPosition(lineAtOffset(startIndex));
}

QString MonitorViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
}

namespace {

QAccessibleInterface* monitorViewFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<MonitorView*>(object))
        return new MonitorViewAccessible(view);
    return nullptr;
}

}  // namespace

void installMonitorViewAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(monitorViewFactory);
        return true;
    }();
    (void)installed;
}

void announceAppendedLines(MonitorView& view, int lineCount) {
    auto* accessible = QAccessible::queryAccessibleInterface(&view);
    auto* text = accessible ? accessible->textInterface() : nullptr;
    const auto& buffer = view.buffer();
    lineCount = std::min(lineCount, buffer.count());
    if (!text || lineCount <= 0)
        return;
    const int first = buffer.count() - lineCount;
    QString lines;
    for (int index = first; index < buffer.count(); ++index) {
        if (index > first)
            lines += QLatin1Char('\n');
        lines += MonitorView::displayText(buffer.line(index));
    }
    const int end = text->characterCount();
    QAccessibleTextInsertEvent event(&view, end - static_cast<int>(lines.size()), lines);
    QAccessible::updateAccessibility(&event);
}

}  // namespace quendra
