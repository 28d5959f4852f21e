#pragma once

#include "features/Feature.h"

#include <QObject>

namespace quendra {

class FeatureHost;
class LocalNode;
class SpotBroadcast;

// Shares the spot list with other programs: with SHARE/PORT set a local node serves every new
// spot, from every source and once each, as a node's announcement line. With SHARE/FILTERED=1
// only the spots the filter bar lets through are shared. With SHARE/UDP set every new spot goes
// to a logger as an XML packet, and is taken back when it ages out. With nothing set it does
// nothing.
class SharingFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit SharingFeature(FeatureHost& host);
    ~SharingFeature() override;

    void spotsListed(LinkKind from, const std::vector<int>& storeIndexes) override;

    // Null while the node is off or could not listen.
    LocalNode* node() const { return node_; }
    // Null while SHARE/UDP names no target.
    SpotBroadcast* broadcast() const { return broadcast_; }

private:
    bool shared(int storeIndex) const;

    FeatureHost& host_;
    LocalNode* node_ = nullptr;
    SpotBroadcast* broadcast_ = nullptr;
    bool filtered_ = false;
};

}  // namespace quendra
