#pragma once

#include "features/Feature.h"

#include <QString>

#include <functional>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QStatusBar;
class QWidget;

namespace quendra {

class Clock;
class ListColumn;
class NorrvelSocket;
class Settings;
class SpotStore;
class StreamIntake;
class TelnetSocket;
class ViewDxClusterFrame;

// What a feature is given to work with and where it puts what it adds. Everything it hands out
// outlives the features. Places in the window are made on first use only, so a feature that
// stays idle leaves the window exactly as the classic program has it.
class FeatureHost {
public:
    struct Parts {
        Settings& settings;
        const Clock& clock;
        QMainWindow& window;
        SpotStore& store;
        StreamIntake& intake;
        ViewDxClusterFrame& view;
        TelnetSocket& telnet;
        NorrvelSocket& engine;
        QMenu& tools;
        std::function<void(std::u16string_view)> sayOnTelnet;  // a status line in the terminal
        std::function<void(const QString& host, int port)> telnetAddressChosen;
        std::function<bool()> clusterViewActive;
    };
    explicit FeatureHost(Parts parts);

    Settings& settings() const { return parts_.settings; }
    const Clock& clock() const { return parts_.clock; }
    QMainWindow& window() const { return parts_.window; }
    SpotStore& store() const { return parts_.store; }
    StreamIntake& intake() const { return parts_.intake; }
    ViewDxClusterFrame& view() const { return parts_.view; }
    TelnetSocket& telnet() const { return parts_.telnet; }
    NorrvelSocket& engine() const { return parts_.engine; }

    // The Tools menu, for one feature's entries: a separator parts them from an earlier feature's.
    QMenu& toolsSection();
    // The window's status bar, made the first time a feature asks for it.
    QStatusBar& statusBar() const;
    // A permanent field at the right of the status bar.
    void addStatusField(QWidget* field) const;
    // A pane docked at the right of the views; the window owns it.
    void addDock(QDockWidget* pane) const;
    // An entry of the spot list's context menu, for the current row.
    void addRowAction(QAction* action) const;
    // A column of the spot list, hidden until the operator shows it from the header's menu;
    // not owned. Returns its column number in the list's model.
    int addOptionalColumn(const ListColumn& column) const;
    // A control in the filter bar and the test it puts to every spot; the feature refills the
    // list (view().refillList()) when its control changes.
    void addFilter(QWidget* control, std::function<bool(int storeIndex)> shows) const;
    // A line the feature adds to every row's tooltip (an empty text adds nothing).
    void addTooltipLine(std::function<QString(int storeIndex)> line) const;

    // Spots a feature stored itself, from no link: every feature hears each as stored and the
    // list shows them, as it does a link's. `agedOut`: the feature ran the store's age-out first
    // and spots went, so the list is made again.
    void listStoredSpots(const std::vector<int>& storeIndexes, bool agedOut = false) const;

    void sayOnTelnet(std::u16string_view line) const { parts_.sayOnTelnet(line); }
    void telnetAddressChosen(const QString& host, int port) const { parts_.telnetAddressChosen(host, port); }
    bool clusterViewActive() const { return parts_.clusterViewActive(); }

    // Pieces one feature lends the features listed after it, found by their type: the features
    // meet through these, never by each other's names. A piece lent as const is found only as
    // const (the key is the pointer type, which keeps the qualifier that typeid drops).
    template <class Service>
    void provide(Service& service) {
        services_[std::type_index(typeid(Service*))] = const_cast<void*>(static_cast<const void*>(&service));
    }
    template <class Service>
    Service* find() const {
        const auto found = services_.find(std::type_index(typeid(Service*)));
        return found == services_.end() ? nullptr : static_cast<Service*>(found->second);
    }

    // News a feature gives every feature (itself included).
    void announceRadioFrequency(double kHz) const;
    void announceLogChanged() const;
    void addListener(Feature& feature) { listeners_.push_back(&feature); }
    void removeListener(Feature& feature);

private:
    Parts parts_;
    std::unordered_map<std::type_index, void*> services_;
    std::vector<Feature*> listeners_;
    bool toolsUsed_ = false;
};

}  // namespace quendra
