#include "terminal/TerminalWindow.h"

#include "settings/SettingsCatalogue.h"
#include "terminal/MonitorView.h"
#include "terminal/SendTerm.h"
#include "terminal/TerminalOwner.h"

#include <QResizeEvent>
#include <QSplitter>

#include <algorithm>
#include <string>

namespace quendra {
namespace {

constexpr int kMinimumOutputHeight = 10;
// A piece never holds CR, so with no owner to name the station no header line is taken as
// naming it.
constexpr std::u16string_view kNoStation = u"\r";

}  // namespace

TerminalWindow::TerminalWindow(Settings& settings, int windowId, TerminalStream stream,
                               QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      outputPane_(new MonitorView),
      windowId_(windowId),
      writer_(outputPane_->buffer(), stream) {
    outputPane_->buffer().setCapacity(readSetting(settings_, setting::kMonitorBufferLines));

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("TerminalSplitter"));
    entryPane_ = new SendTerm;
    splitter_->addWidget(outputPane_);
    splitter_->addWidget(entryPane_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    outputPane_->setMinimumHeight(kMinimumOutputHeight);
    entryPane_->setTerminal(this);
    if (QSplitterHandle* divider = splitter_->handle(1))
        divider->setAccessibleName(tr("Divider between output and entry line"));

    const int stored = settings_.GetProfileInt(setting::kOutputPaneHeight.section, splitterEntry(),
                                               setting::kDefaultOutputPaneHeight);
    outputHeight_ = stored < 0 ? setting::kDefaultOutputPaneHeight : stored;
    connect(splitter_, &QSplitter::splitterMoved, this,
            [this] { outputHeight_ = splitter_->sizes().value(0); });
    applyOutputHeight();
}

TerminalWindow::~TerminalWindow() { saveLayout(); }

void TerminalWindow::setAccessibleTitle(const QString& title) {
    setAccessibleName(title);
    outputPane_->setAccessibleName(tr("%1 output").arg(title));
    entryPane_->setAccessibleName(tr("%1 entry line").arg(title));
}

std::u16string TerminalWindow::splitterEntry() const {
    return setting::kOutputPaneHeight.entry(windowId_);
}

void TerminalWindow::saveLayout() {
    if (layoutSaved_)
        return;
    layoutSaved_ = true;
    // What is saved is the height shown, so an oversized stored value that hid the entry line
    // heals at the next start instead of being written back.
    const int height = laidOut_ ? std::min(splitter_->sizes().value(0), splitter_->height())
                                : outputHeight_;
    settings_.WriteProfileInt(setting::kOutputPaneHeight.section, splitterEntry(), height);
}

void TerminalWindow::AppendText(std::u16string_view text) {
    const std::u16string callSign = owner_ ? owner_->callSign() : std::u16string(kNoStation);
    writer_.append(text, callSign);
}

void TerminalWindow::SendLine(std::u16string line) {
    if (owner_)
        owner_->SendTypedLine(line);
}

const MonitorBuffer& TerminalWindow::buffer() const { return outputPane_->buffer(); }

void TerminalWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    splitter_->setGeometry(rect());
    applyOutputHeight();
    laidOut_ = true;
}

// The output pane keeps its height on every resize; the entry line takes what is left.
void TerminalWindow::applyOutputHeight() {
    const int rest = std::max(0, splitter_->height() - outputHeight_ - splitter_->handleWidth());
    splitter_->setSizes({outputHeight_, rest});
}

}  // namespace quendra
