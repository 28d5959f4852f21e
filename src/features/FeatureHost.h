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
struct IntakeOutcome;
class ListColumn;
struct RowMark;
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
        std::function<void(QWidget* view, const QString& title)> addTab;
        std::function<void(LinkKind from, const IntakeOutcome& outcome)> listStoredSpots;
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
    // Colours and spoken words for every row (see RowMark); a watch-list alert's colour wins.
    void addRowMark(std::function<RowMark(int storeIndex)> mark) const;

    // A tab after the classic ones, showing `view` while it is picked; the window's client area
    // becomes the view's parent. Connect and Disconnect are not offered there; a terminal's
    // typed lines go to its own owner.
    void addTab(QWidget* view, const QString& title) const { parts_.addTab(view, title); }
    // The spots a link of the feature's own stored, on the path the classic links' spots take:
    // every feature hears each one stored, the list shows them, and every feature hears them listed.
    void listStoredSpots(LinkKind from, const IntakeOutcome& outcome) const { parts_.listStoredSpots(from, outcome); }

    // A feature that answers the activation of some spots itself (a double-click or Enter on a
    // WSJT-X decode asks WSJT-X to call the station): the radio is then not tuned to them.
    void claimActivations(std::function<bool(int storeIndex)> claims) { activationClaims_.push_back(std::move(claims)); }
    bool activationClaimed(int storeIndex) const;

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
    // Text a feature's own link received, for every feature's linkReceived. With
    // LinkKind::FeatureLink it is one whole line, so that lines of several such links never mix.
    void announceLinkText(LinkKind link, std::u16string_view text) const;
    void addListener(Feature& feature) { listeners_.push_back(&feature); }
    void removeListener(Feature& feature);

private:
    Parts parts_;
    std::unordered_map<std::type_index, void*> services_;
    std::vector<Feature*> listeners_;
    std::vector<std::function<bool(int)>> activationClaims_;
    bool toolsUsed_ = false;
};

}  // namespace quendra
