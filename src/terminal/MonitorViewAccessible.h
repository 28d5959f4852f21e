#pragma once

#include <QAccessibleWidget>
#include <QString>

#include <cstdint>

namespace quendra {

class MonitorView;

// Lets a screen reader read the output pane: its lines, without colour marks, joined by '\n'.
// The caret stands at the start of the line at the scroll position; moving it scrolls the view.
class MonitorViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit MonitorViewAccessible(MonitorView* view);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    MonitorView* view() const;
    const QString& wholeText() const;
    int offsetOfLine(int index) const;
    int lineAtOffset(int offset) const;

    mutable QString text_;
    mutable std::uint64_t textRevision_ = UINT64_MAX;
};

void installMonitorViewAccessibleFactory();
// Tells assistive technology that the newest lines, this many, were appended at the end of the text.
void announceAppendedLines(MonitorView& view, int lineCount);

}  // namespace quendra
