#include "app/FeatureRoom.h"

#include "links/NorrvelSocket.h"
#include "links/TelnetSocket.h"

namespace quendra {

FeatureRoom::FeatureRoom(FeatureHost::Parts parts) : host_(std::move(parts)) {
    for (FeatureMaker make : featureList()) {
        features_.push_back(make(host_));
        host_.addListener(*features_.back());
    }
    for (const std::unique_ptr<Feature>& feature : features_)
        feature->featuresBuilt();
    hearLinkStates();
}

FeatureRoom::~FeatureRoom() {
    while (!features_.empty()) {
        host_.removeListener(*features_.back());
        features_.pop_back();
    }
}

void FeatureRoom::hearLinkStates() {
    const auto hear = [this](AsyncSocket& link, LinkKind kind) {
        const auto tell = [this, kind] {
            for (const std::unique_ptr<Feature>& feature : features_)
                feature->linkStateChanged(kind);
        };
        connect(&link, &AsyncSocket::connectFinished, this, tell);
        connect(&link, &AsyncSocket::closed, this, tell);
    };
    hear(host_.telnet(), LinkKind::Telnet);
    hear(host_.engine(), LinkKind::Engine);
}

void FeatureRoom::spotStored(int storeIndex) {
    for (const std::unique_ptr<Feature>& feature : features_)
        feature->spotStored(storeIndex);
}

void FeatureRoom::spotsListed(LinkKind from, const std::vector<int>& storeIndexes) {
    for (const std::unique_ptr<Feature>& feature : features_)
        feature->spotsListed(from, storeIndexes);
}

void FeatureRoom::linkReceived(LinkKind link, std::u16string_view text) {
    for (const std::unique_ptr<Feature>& feature : features_)
        feature->linkReceived(link, text);
}

void FeatureRoom::userConnects(LinkKind link) {
    for (const std::unique_ptr<Feature>& feature : features_)
        feature->userConnects(link);
}

void FeatureRoom::userDisconnects(LinkKind link) {
    for (const std::unique_ptr<Feature>& feature : features_)
        feature->userDisconnects(link);
}

bool FeatureRoom::retrying(LinkKind link) const {
    for (const std::unique_ptr<Feature>& feature : features_) {
        if (feature->retrying(link))
            return true;
    }
    return false;
}

}  // namespace quendra
