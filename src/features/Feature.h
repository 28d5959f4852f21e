#pragma once

#include <string_view>
#include <vector>

namespace quendra {

// The two classic links a feature may hear of, and the links features run themselves (their
// spots name the link in the DX-Node column).
enum class LinkKind { Telnet, Engine, FeatureLink };

// One addition to the classic program. It is built with a FeatureHost, through which it offers
// what it adds (Tools menu entries, a status-bar field, a dock pane, list actions, services for
// other features) and reaches the store, the list and the links. Afterwards it hears here what
// happens, in the order features are listed; a feature overrides only what it cares about, and
// with its settings absent it adds nothing at all.
class Feature {
public:
    Feature() = default;
    Feature(const Feature&) = delete;
    Feature& operator=(const Feature&) = delete;
    virtual ~Feature() = default;

    // Every feature is built and has lent its services: the time to find one lent by a feature
    // listed later.
    virtual void featuresBuilt() {}
    // A spot the store has just appended, before the list shows it. The index is true until the
    // next spot is stored: age-out happens only before a read's spots are handed on.
    virtual void spotStored(int /*storeIndex*/) {}
    // The spots one read stored, after the list shows them, and the link they came by.
    virtual void spotsListed(LinkKind /*from*/, const std::vector<int>& /*storeIndexes*/) {}
    // Text a link received (a read from the node, a monitored frame from the engine, one whole
    // line from a feature's own link), after the terminal and the list have taken it.
    virtual void linkReceived(LinkKind /*link*/, std::u16string_view /*text*/) {}
    // A link connected, failed to, or closed.
    virtual void linkStateChanged(LinkKind /*link*/) {}
    // The operator's own Connect or Disconnect on a link's tab.
    virtual void userConnects(LinkKind /*link*/) {}
    virtual void userDisconnects(LinkKind /*link*/) {}
    // True while this feature keeps the link trying again, so Disconnect stays offered to stop it.
    virtual bool retrying(LinkKind /*link*/) const { return false; }
    // The radio's frequency in kHz as last read; 0 when no radio is connected.
    virtual void radioFrequency(double /*kHz*/) {}
    // The operator's log has changed.
    virtual void logChanged() {}
};

}  // namespace quendra
