#include "propagation/PropagationFeature.h"

#include "features/FeatureHost.h"
#include "platform/QtText.h"
#include "propagation/PropagationWindow.h"
#include "settings/SettingsCatalogue.h"
#include "spots/Clock.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>

namespace quendra {

PropagationFeature::PropagationFeature(FeatureHost& host) : host_(host) {
    windowAction_ = host.toolsSection().addAction(tr("&Propagation..."));
    windowAction_->setObjectName(QStringLiteral("showPropagation"));
    connect(windowAction_, &QAction::triggered, this, &PropagationFeature::showWindow);
    if (readSetting(host.settings(), setting::kPropagationStatus) != 0) {
        statusField_ = new QLabel(tr("No propagation report yet"));
        statusField_->setObjectName(QStringLiteral("propagationStatus"));
        statusField_->setAccessibleName(tr("Propagation"));
        host.addStatusField(statusField_);
    }
}

PropagationFeature::~PropagationFeature() = default;

PropagationWindow* PropagationFeature::window() const { return window_; }

void PropagationFeature::linkReceived(LinkKind link, std::u16string_view text) {
    std::vector<PropagationReport> reports;
    if (link == LinkKind::Telnet) {
        reports = telnet_.feed(text);
    } else {
        // A monitored frame, or a line of a feature's own node link, is a whole unit: its last
        // line ends with it.
        reports = engine_.feed(text);
        for (PropagationReport& report : engine_.feed(u"\r"))
            reports.push_back(std::move(report));
    }
    if (reports.empty())
        return;
    const std::int64_t now = secondsSince1970(host_.clock().now());
    for (const PropagationReport& report : reports)
        history_.add(now, report);
    if (statusField_) {
        const PropagationReport& last = reports.back();
        statusField_->setText(toQString(propagationStatusText(last)));
        statusField_->setToolTip(tr("%1 from %2").arg(last.kind == PropagationReport::Kind::Wwv ? QStringLiteral("WWV")
                                                                                                : QStringLiteral("WCY"),
                                                      toQString(last.source)));
    }
    if (window_)
        window_->refresh(now);
}

void PropagationFeature::showWindow() {
    if (!window_)
        window_ = new PropagationWindow(history_, &host_.window());
    const std::int64_t now = secondsSince1970(host_.clock().now());
    history_.prune(now);
    window_->refresh(now);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace quendra
