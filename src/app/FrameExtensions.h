#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string_view>

class QAction;
class QMainWindow;
class QMenu;

namespace quendra {

class AlertCenter;
class Clock;
class CountryResolver;
class EngineReconnect;
class LinkStatusPanel;
class NorrvelSocket;
class RadioControl;
class Settings;
class SpotStore;
class StreamIntake;
class TelnetAutomation;
class TelnetSocket;
class ViewDxClusterFrame;
struct LoadedCountries;

// The additions to the classic program, in one place so that the frame only builds them and
// tells them what the operator does: countries for every spot, the radio, the unattended links
// and spotting through the node. Each stays idle until its settings or the operator's own action
// switch it on, so with nothing configured the window looks and behaves as it always did.
class FrameExtensions : public QObject {
    Q_OBJECT
public:
    // What the extensions work with; all of it outlives them.
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
    explicit FrameExtensions(Parts parts);
    ~FrameExtensions() override;

    void telnetReceived(std::u16string_view text);
    // A spot the store has just appended, before the list shows it.
    void spotArriving(int storeIndex);
    void spotsStored(bool fromTelnet, std::size_t count);
    // The operator's own Connect or Disconnect on a tab ends whatever that tab's link was retrying.
    void userConnects(int tab);
    void userDisconnects(int tab);
    bool retrying(int tab) const;

    // "Spot...": asks for a spot, filled in from the current row (or the radio's frequency),
    // and sends it to the node.
    void OnSpot();

    RadioControl& radio() const { return *radio_; }
    AlertCenter& alerts() const { return *alerts_; }
    TelnetAutomation& telnetAutomation() const { return *telnetAutomation_; }
    EngineReconnect& engineReconnect() const { return *engineReconnect_; }
    LinkStatusPanel* linkStatus() const { return linkStatus_; }
    QAction* spotCommand() const { return spotCommand_; }

private:
    void setUpCountries();
    void setUpUnattendedLinks();
    void updateLocationTips();

    Parts parts_;
    std::unique_ptr<LoadedCountries> countries_;
    std::unique_ptr<CountryResolver> countryResolver_;
    std::unique_ptr<RadioControl> radio_;
    std::unique_ptr<AlertCenter> alerts_;
    std::unique_ptr<TelnetAutomation> telnetAutomation_;
    std::unique_ptr<EngineReconnect> engineReconnect_;
    LinkStatusPanel* linkStatus_ = nullptr;  // owned by the status bar; only with unattended links
    QAction* spotCommand_ = nullptr;
};

}  // namespace quendra
