#pragma once

#include "features/Feature.h"
#include "links/LinkOwner.h"
#include "terminal/TerminalOwner.h"

#include "settings/Settings.h"
#include "spots/Clock.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QAction;

namespace quendra {

struct IntakeOutcome;
class FeatureRoom;
class FrameCommands;
class Link;
class NorrvelSocket;
class SpotStore;
class StreamIntake;
class TabMfcSDI;
class TelnetSocket;
class TerminalWindow;
class ViewDxClusterFrame;

// The one top-level window. It owns the views under the tab strip, both links and the spot store,
// routes what the links receive, sends what the operator types, and carries the link commands.
// The selected tab decides which link a command or a typed line is for.
class CMainFrame : public QMainWindow, public TerminalOwner, public LinkOwner {
    Q_OBJECT
public:
    CMainFrame(Settings& settings, const Clock& clock, bool highResolution);
    ~CMainFrame() override;

    // Builds the views, bars and links; 0 on success, -1 when a step failed.
    int OnCreate();

    // Received text from the links.
    void RouteTelnetText(std::u16string_view text, int length) override;
    void RouteTelnetStatus(std::u16string_view text) override;
    void RouteMonitorText(std::u16string_view text, int length, int port, int reserved,
                          int tFlag) override;
    void OnLinkStateChanged() override { updateCommandUI(); }

    // A line the operator typed, with its CR LF, for the link of the selected tab.
    void SendTypedLine(std::u16string_view line) override;
    std::u16string callSign() const override { return myCallSign_; }

    void OnActionsConnect();
    void OnActionsDisconnect();
    void OnProperties();
    void OnExit();
    void OnTabSelChange();
    void updateCommandUI();

    // Saves the views' layout; the first call writes, later calls do nothing.
    void saveLayout();

    QAction* action(int commandId) const;
    int selectedTab() const;
    void selectTab(int index);
    QWidget* activeView() const { return activeView_; }

    TabMfcSDI& tabStrip() const { return *tabStrip_; }
    TerminalWindow& telnetTerminal() const { return *telnetTerminal_; }
    TerminalWindow& packetTerminal() const { return *packetTerminal_; }
    ViewDxClusterFrame& clusterView() const { return *clusterView_; }
    TelnetSocket& telnetLink() const { return *telnetLink_; }
    NorrvelSocket& engineLink() const { return *engineLink_; }
    SpotStore& spotStore() const { return *spotStore_; }
    FeatureRoom& features() const { return *features_; }
    const std::u16string& telnetNodeName() const { return telnetNodeName_; }

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What each tab stands for: its view, the link its commands and typed lines are for (none on
    // "DXCluster"), and what Connect asks before it connects.
    struct TabRoute {
        QWidget* view = nullptr;
        Link* link = nullptr;
        LinkKind kind = LinkKind::Telnet;  // for the features, when there is a link
        bool (CMainFrame::*chooseAddress)() = nullptr;
        std::u16string_view disconnectNotice;
    };

    void createCommandBar();
    void offerEditCommand(int commandId);
    void placeActiveView();
    void OnSize(int width, int height);
    const TabRoute* selectedRoute() const;
    bool chooseTelnetAddress();
    void showAlreadyConnected();
    void present(TerminalWindow& terminal, const IntakeOutcome& outcome);
    void listStoredSpots(LinkKind from, const IntakeOutcome& outcome);
    void addFeatureTab(QWidget* view, const QString& title);
    void loadCallSign();

    Settings& settings_;
    const Clock& clock_;
    bool highResolution_;
    QWidget* client_ = nullptr;
    std::vector<TabRoute> tabs_ = std::vector<TabRoute>(3);  // the classic three, then features' tabs
    bool layoutSaved_ = false;

    // Declaration order is destruction order in reverse: the spot store and the links go before
    // the views, and the terminals last, so nothing outlives what it points at.
    std::u16string myCallSign_;
    std::unique_ptr<TabMfcSDI> tabStrip_;
    FrameCommands* commands_ = nullptr;  // owned by the window, like the menu bar
    std::unique_ptr<TerminalWindow> telnetTerminal_;
    std::unique_ptr<TerminalWindow> packetTerminal_;
    std::unique_ptr<NorrvelSocket> engineLink_;
    std::unique_ptr<ViewDxClusterFrame> clusterView_;
    QWidget* activeView_ = nullptr;
    std::unique_ptr<TelnetSocket> telnetLink_;
    std::unique_ptr<SpotStore> spotStore_;
    std::unique_ptr<StreamIntake> intake_;
    // The additions to the classic program; gone before the store and links they use.
    std::unique_ptr<FeatureRoom> features_;
    std::u16string telnetNodeName_;
};

}  // namespace quendra
