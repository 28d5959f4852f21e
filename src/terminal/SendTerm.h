#pragma once

#include <QPlainTextEdit>

namespace quendra {

class TerminalWindow;

// The terminal's entry line: an ordinary edit box in which Enter also sends the line just
// finished through the terminal. Earlier lines stay in the box so they can be sent again.
class SendTerm : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SendTerm(QWidget* parent = nullptr);

    void setTerminal(TerminalWindow* terminal) { terminal_ = terminal; }
    TerminalWindow* terminal() const { return terminal_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sendFinishedLine();
    void removeFirstLine(int length);

    TerminalWindow* terminal_ = nullptr;
};

}  // namespace quendra
