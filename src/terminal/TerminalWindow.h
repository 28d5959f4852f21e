#pragma once

#include "settings/Settings.h"
#include "terminal/ReceivedTextWriter.h"

#include <QWidget>

#include <string>
#include <string_view>

class QSplitter;

namespace quendra {

class MonitorBuffer;
class MonitorView;
class SendTerm;
class TerminalOwner;

// One terminal: received text in the output pane above, the entry line below, split so that
// the output pane keeps its height and the entry line takes the rest.
class TerminalWindow : public QWidget {
    Q_OBJECT
public:
    TerminalWindow(Settings& settings, int windowId, TerminalStream stream,
                   QWidget* parent = nullptr);
    ~TerminalWindow() override;

    // Writes the output pane's height under STATUS\SPLITTERn; only the first call writes.
    void saveLayout();

    // Names the terminal and its panes for assistive technology after the stream they show
    // ("Telnet" gives "Telnet output" and "Telnet entry line"), so that a screen reader tells the
    // two terminals apart.
    void setAccessibleTitle(const QString& title);

    void setOwnerFrame(TerminalOwner* owner) { owner_ = owner; }
    TerminalOwner* ownerFrame() const { return owner_; }

    void AppendText(std::u16string_view text);
    void SendLine(std::u16string line);

    MonitorView* outputPane() const { return outputPane_; }
    SendTerm* entryPane() const { return entryPane_; }
    QSplitter* splitter() const { return splitter_; }
    const MonitorBuffer& buffer() const;
    int windowId() const { return windowId_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::u16string splitterEntry() const;
    void applyOutputHeight();

    Settings& settings_;
    SendTerm* entryPane_ = nullptr;
    MonitorView* outputPane_ = nullptr;
    QSplitter* splitter_ = nullptr;
    TerminalOwner* owner_ = nullptr;
    int windowId_ = 0;
    // The height the output pane is given: the stored one until the user drags the bar.
    int outputHeight_ = 40;
    bool laidOut_ = false;
    bool layoutSaved_ = false;
    ReceivedTextWriter writer_;
};

}  // namespace quendra
