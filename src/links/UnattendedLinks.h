#pragma once

#include "features/Feature.h"

#include <QObject>

#include <memory>

namespace quendra {

class EngineReconnect;
class FeatureHost;
class LinkStatusPanel;
class TelnetAutomation;

// Logging in, coming back after a lost link, reading a node's spot listing and the link fields
// of the status bar, each the operator's choice (AUTOLINK); with every option off the objects
// stay idle and no status bar appears.
class UnattendedLinks : public QObject, public Feature {
    Q_OBJECT
public:
    explicit UnattendedLinks(FeatureHost& host);
    ~UnattendedLinks() override;

    void linkReceived(LinkKind link, std::u16string_view text) override;
    void spotsListed(LinkKind from, const std::vector<int>& storeIndexes) override;
    void userConnects(LinkKind link) override;
    void userDisconnects(LinkKind link) override;
    bool retrying(LinkKind link) const override;

    TelnetAutomation& telnetAutomation() const { return *telnetAutomation_; }
    EngineReconnect& engineReconnect() const { return *engineReconnect_; }
    LinkStatusPanel* linkStatus() const { return linkStatus_; }

private:
    bool anyOptionOn() const;
    void showLinkStatus();

    FeatureHost& host_;
    std::unique_ptr<TelnetAutomation> telnetAutomation_;
    std::unique_ptr<EngineReconnect> engineReconnect_;
    LinkStatusPanel* linkStatus_ = nullptr;  // owned by the status bar; only with an option on
};

}  // namespace quendra
