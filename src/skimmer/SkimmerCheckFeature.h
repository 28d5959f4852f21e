#pragma once

#include "features/Feature.h"
#include "features/StatusRemark.h"
#include "skimmer/KnownCalls.h"
#include "skimmer/SkimmerCheck.h"

#include <QObject>

#include <memory>

class QTimer;
class QToolButton;

namespace quendra {

class FeatureHost;

// Checks skimmer spots once SKIMMER\CHECK is set: every stored spot is reported to the check,
// and a skimmer spot's verdict ("verified", "busted: ZZ2CD?") is lent as the status remark of
// the list's Status column, added to its tooltip, and offered as the filter bar's "Verified
// only" beside the skimmer control. The known calls come from SKIMMER\SCP.
class SkimmerCheckFeature : public QObject, public Feature {
    Q_OBJECT
public:
    explicit SkimmerCheckFeature(FeatureHost& host);
    ~SkimmerCheckFeature() override;

    void spotStored(int storeIndex) override;

    bool enabled() const { return check_ != nullptr; }
    std::size_t knownCallCount() const { return known_.size(); }
    // The verdict of the spot at this store index as the Status column shows it; empty for none.
    std::u16string remark(int storeIndex) const;
    QToolButton* verifiedOnlyButton() const { return verifiedOnly_; }

private:
    class Remark : public StatusRemark {
    public:
        explicit Remark(const SkimmerCheckFeature& owner) : owner_(owner) {}
        std::u16string remark(int storeIndex) const override { return owner_.remark(storeIndex); }

    private:
        const SkimmerCheckFeature& owner_;
    };

    const SkimmerVerdict* verdictAt(int storeIndex) const;
    bool shows(int storeIndex) const;
    void showChanges();

    FeatureHost& host_;
    KnownCalls known_;
    std::unique_ptr<SkimmerCheck> check_;
    Remark remark_{*this};
    QToolButton* verifiedOnly_ = nullptr;
    // Verdicts of listed spots change as later reports arrive; the list is redrawn (or refilled,
    // while it shows verified spots only) at most twice a second for them.
    QTimer* changes_ = nullptr;
    std::size_t storedSincePrune_ = 0;
};

}  // namespace quendra
