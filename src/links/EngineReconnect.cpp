#include "links/EngineReconnect.h"

#include "links/LinkRetry.h"
#include "links/NorrvelSocket.h"
#include "settings/SettingsCatalogue.h"

namespace quendra {

EngineReconnect::EngineReconnect(Settings& settings, NorrvelSocket& link, QObject* parent)
    : QObject(parent), settings_(settings), link_(link), retry_(new LinkRetry(this)) {
    connect(&link_, &AsyncSocket::connectFinished, this, [this](int error) {
        if (error == 0)
            retry_->succeeded();
        else
            tryAgainLater();
    });
    connect(&link_, &AsyncSocket::closed, this, &EngineReconnect::tryAgainLater);
    connect(retry_, &LinkRetry::attemptDue, this, [this] {
        if (!stoppedByUser_ && link_.connected() == 0)
            link_.ConnectEngine();
    });
}

EngineReconnect::~EngineReconnect() = default;

bool EngineReconnect::retrying() const { return retry_->waiting(); }

void EngineReconnect::userConnected() {
    stoppedByUser_ = false;
    retry_->stop();
    retry_->succeeded();
}

void EngineReconnect::userDisconnected() {
    stoppedByUser_ = true;
    retry_->stop();
}

void EngineReconnect::tryAgainLater() {
    if (stoppedByUser_ || readSetting(settings_, setting::kAutoEngineReconnect) == 0)
        return;
    retry_->scheduleAfterFailure();
}

}  // namespace quendra
