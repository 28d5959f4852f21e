#include "terminal/SendTerm.h"

#include "platform/QtText.h"

#include "terminal/EntryLineRules.h"
#include "terminal/TerminalWindow.h"

#include <QKeyEvent>
#include <QTextCursor>

namespace quendra {

SendTerm::SendTerm(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("SendTerm"));
    setAccessibleName(tr("Command entry"));
    setAccessibleDescription(tr("Enter sends the line to the link of this tab"));
    // Tab moves on to the output pane, so the keyboard alone never gets stuck here; a node's
    // commands never need a tab character.
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void SendTerm::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Every Enter, whatever the modifiers, breaks the line the same way, so that the box's lines
    // are always the lines that get sent.
    QKeyEvent plainEnter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&plainEnter);
    event->accept();
    if (terminal_)
        sendFinishedLine();
}

void SendTerm::sendFinishedLine() {
    const auto text = toU16(toPlainText());
    const auto caret = static_cast<std::size_t>(textCursor().position());
    auto outcome = entry_line::afterEnter(text, caret);
    if (outcome.lineToSend.empty())
        return;
    if (outcome.trim)
        removeFirstLine(static_cast<int>(outcome.trim->removeLength));
    terminal_->SendLine(std::move(outcome.lineToSend));
}

void SendTerm::removeFirstLine(int length) {
    QTextCursor cursor(document());
    cursor.setPosition(0);
    cursor.setPosition(length, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    ensureCursorVisible();
}

}  // namespace quendra
