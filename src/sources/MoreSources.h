#pragma once

#include "features/Feature.h"

#include <QObject>

#include <memory>
#include <vector>

namespace quendra {

class FeatureHost;
class NodeLink;

// More node links beside the classic one (SOURCES\NODE<n>), each with a tab of its own after the
// classic three and a status-bar field, and with them one honest list: the same station on the
// same band and mode from several sources is one row with the reports of all, its tooltip
// naming them (unless SOURCES\MERGE is 0). With no node set it adds nothing.
class MoreSources : public QObject, public Feature {
    Q_OBJECT
public:
    explicit MoreSources(FeatureHost& host);
    ~MoreSources() override;

    void featuresBuilt() override;

    const std::vector<std::unique_ptr<NodeLink>>& nodes() const { return nodes_; }

    // Window ids of the node terminals: the first node's, then one up for each.
    static constexpr int kFirstNodeTerminalId = 59700;

private:
    FeatureHost& host_;
    std::vector<std::unique_ptr<NodeLink>> nodes_;
};

}  // namespace quendra
