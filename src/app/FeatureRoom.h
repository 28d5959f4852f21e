#pragma once

#include "features/FeatureHost.h"

#include <QObject>

#include <memory>
#include <vector>

namespace quendra {

// Builds the features of the list in order, tells them what happens, and takes them down in the
// reverse order, so a feature never outlives one it borrowed from. It knows them only as
// features.
class FeatureRoom : public QObject {
    Q_OBJECT
public:
    explicit FeatureRoom(FeatureHost::Parts parts);
    ~FeatureRoom() override;

    void spotStored(int storeIndex);
    void spotsListed(LinkKind from, const std::vector<int>& storeIndexes);
    void linkReceived(LinkKind link, std::u16string_view text);
    void userConnects(LinkKind link);
    void userDisconnects(LinkKind link);
    bool retrying(LinkKind link) const;

    // What the features were built with, for tests that lend them a piece.
    FeatureHost& host() { return host_; }

    // The feature of this type, for tests and tools that drive one; null when it is not listed.
    template <class Wanted>
    Wanted* find() const {
        for (const std::unique_ptr<Feature>& feature : features_) {
            if (auto* wanted = dynamic_cast<Wanted*>(feature.get()))
                return wanted;
        }
        return nullptr;
    }

private:
    void hearLinkStates();

    FeatureHost host_;
    std::vector<std::unique_ptr<Feature>> features_;
};

// The features the program has, in the order they are built and told (FeatureList.cpp).
using FeatureMaker = std::unique_ptr<Feature> (*)(FeatureHost&);
const std::vector<FeatureMaker>& featureList();

}  // namespace quendra
