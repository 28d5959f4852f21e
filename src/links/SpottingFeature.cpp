#include "links/SpottingFeature.h"

#include "features/FeatureHost.h"
#include "links/SpotDialog.h"
#include "links/TelnetSocket.h"
#include "platform/QtText.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "text/CodePage.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>

namespace quendra {

SpottingFeature::SpottingFeature(FeatureHost& host) : host_(host) {
    spotCommand_ = host_.toolsSection().addAction(tr("&Spot..."));
    spotCommand_->setObjectName(QStringLiteral("spotCommand"));
    connect(spotCommand_, &QAction::triggered, this, &SpottingFeature::OnSpot);
    host_.addRowAction(spotCommand_);
}

void SpottingFeature::OnSpot() {
    QString call;
    QString kHz;
    const SpotStore& store = host_.store();
    if (const int index = host_.view().currentStoreIndex(); index >= 0 && host_.clusterViewActive()) {
        call = toQString(store.spotAt(index).station);
        kHz = toQString(store.spotAt(index).frequency).trimmed();
    }
    if (radioKHz_ > 0)
        kHz = QString::number(radioKHz_, 'f', 1);
    SpotDialog dialog(call, kHz, &host_.window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (host_.telnet().connected() == 0) {
        QMessageBox::warning(&host_.window(), QStringLiteral("Quendra"), tr("Not connected to a cluster node."));
        return;
    }
    host_.telnet().sendTyped(encodeWindows1252(toU16(dialog.command() + QStringLiteral("\r\n"))));
}

}  // namespace quendra
