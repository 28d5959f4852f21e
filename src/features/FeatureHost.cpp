#include "features/FeatureHost.h"

#include "spots/RowMark.h"
#include "spots/SpotListModel.h"
#include "spots/ViewDxClusterFrame.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <algorithm>

namespace quendra {

FeatureHost::FeatureHost(Parts parts) : parts_(std::move(parts)) {}

QMenu& FeatureHost::toolsSection() {
    if (toolsUsed_ && !parts_.tools.isEmpty())
        parts_.tools.addSeparator();
    toolsUsed_ = true;
    return parts_.tools;
}

QStatusBar& FeatureHost::statusBar() const { return *parts_.window.statusBar(); }

void FeatureHost::addStatusField(QWidget* field) const { statusBar().addPermanentWidget(field); }

void FeatureHost::addDock(QDockWidget* pane) const {
    parts_.window.addDockWidget(Qt::RightDockWidgetArea, pane);
}

void FeatureHost::addRowAction(QAction* action) const { parts_.view.addRowAction(action); }

int FeatureHost::addOptionalColumn(const ListColumn& column) const { return parts_.view.addOptionalColumn(column); }

void FeatureHost::addFilter(QWidget* control, std::function<bool(int storeIndex)> shows) const {
    parts_.view.addFilter(control, std::move(shows));
}

void FeatureHost::addTooltipLine(std::function<QString(int storeIndex)> line) const {
    parts_.view.addTooltipLine(std::move(line));
}

void FeatureHost::addRowMark(std::function<RowMark(int storeIndex)> mark) const {
    parts_.view.model().addRowMark(std::move(mark));
}

void FeatureHost::announceRadioFrequency(double kHz) const {
    for (Feature* listener : listeners_)
        listener->radioFrequency(kHz);
}

void FeatureHost::announceLogChanged() const {
    for (Feature* listener : listeners_)
        listener->logChanged();
}

void FeatureHost::announceLinkText(LinkKind link, std::u16string_view text) const {
    for (Feature* listener : listeners_)
        listener->linkReceived(link, text);
}

bool FeatureHost::activationClaimed(int storeIndex) const {
    return std::any_of(activationClaims_.begin(), activationClaims_.end(),
                       [storeIndex](const auto& claims) { return claims(storeIndex); });
}

void FeatureHost::removeListener(Feature& feature) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &feature), listeners_.end());
}

}  // namespace quendra
