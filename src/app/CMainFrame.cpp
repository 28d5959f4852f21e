#include "app/CMainFrame.h"

#include "platform/QtText.h"

#include "app/CommandIds.h"
#include "app/FeatureRoom.h"
#include "app/FrameCommands.h"
#include "app/StreamIntake.h"
#include "links/DlgPeopertiesMisc.h"
#include "settings/SettingsCatalogue.h"
#include "links/DlgTelnetConnect.h"
#include "links/NorrvelSocket.h"
#include "links/TelnetSocket.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "terminal/SendTerm.h"
#include "terminal/TabMfcSDI.h"
#include "terminal/TerminalWindow.h"
#include "text/CodePage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableView>

namespace quendra {
namespace {

constexpr std::u16string_view kDisconnectingNotice = u"\r\n***Disconnecting... \r\n";

}  // namespace

CMainFrame::CMainFrame(Settings& settings, const Clock& clock, bool highResolution)
    : settings_(settings), clock_(clock), highResolution_(highResolution) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Quendra"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quendra.png")));
}

CMainFrame::~CMainFrame() {
    saveLayout();
    // The links must not route text into a frame that is going away, and the list must not read
    // a store that is destroyed before it.
    if (telnetLink_)
        telnetLink_->setMainWindow(nullptr);
    if (engineLink_)
        engineLink_->setMainWindow(nullptr);
    if (clusterView_)
        clusterView_->setSpotStore(nullptr);
}

int CMainFrame::OnCreate() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->installEventFilter(this);
    setCentralWidget(client_);

    telnetLink_ = std::make_unique<TelnetSocket>();
    telnetLink_->setMainWindow(this);

    tabStrip_ = std::make_unique<TabMfcSDI>();
    tabStrip_->Create(client_, highResolution_);
    tabStrip_->AddTab(QStringLiteral("Telnet"));
    tabStrip_->AddTab(QStringLiteral("Packet"));
    tabStrip_->AddTab(QStringLiteral("DXCluster"));
    tabStrip_->setCurrentIndex(kTabCluster);
    tabStrip_->addSwitchingKeys(this);

    telnetTerminal_ = std::make_unique<TerminalWindow>(settings_, kTelnetTerminalId,
                                                       TerminalStream::Telnet, client_);
    telnetTerminal_->setOwnerFrame(this);
    packetTerminal_ = std::make_unique<TerminalWindow>(settings_, kPacketTerminalId,
                                                       TerminalStream::Packet, client_);
    packetTerminal_->setOwnerFrame(this);
    clusterView_ = std::make_unique<ViewDxClusterFrame>(settings_, client_);
    telnetTerminal_->setObjectName(QStringLiteral("TelnetTerminal"));
    packetTerminal_->setObjectName(QStringLiteral("PacketTerminal"));
    clusterView_->setObjectName(QStringLiteral("ClusterView"));
    telnetTerminal_->setAccessibleTitle(QStringLiteral("Telnet"));
    packetTerminal_->setAccessibleTitle(QStringLiteral("Packet"));
    clusterView_->setAccessibleName(QStringLiteral("DXCluster"));

    for (TerminalWindow* terminal : {telnetTerminal_.get(), packetTerminal_.get()}) {
        terminal->setEnabled(false);
        terminal->hide();
    }

    spotStore_ = std::make_unique<SpotStore>(settings_, clock_);
    intake_ = std::make_unique<StreamIntake>(*spotStore_);
    activeView_ = clusterView_.get();
    clusterView_->setSpotStore(spotStore_.get());
    clusterView_->refillList();

    createCommandBar();

    loadCallSign();
    engineLink_ = std::make_unique<NorrvelSocket>(settings_);
    engineLink_->setMainWindow(this);
    tabs_[kTabTelnet] = {telnetTerminal_.get(), telnetLink_.get(), LinkKind::Telnet, &CMainFrame::chooseTelnetAddress,
                         kDisconnectingNotice};
    tabs_[kTabPacket] = {packetTerminal_.get(), engineLink_.get(), LinkKind::Engine, nullptr, {}};
    tabs_[kTabCluster] = {clusterView_.get(), nullptr, LinkKind::Telnet, nullptr, {}};
    features_ = std::make_unique<FeatureRoom>(FeatureHost::Parts{
        settings_, clock_, *this, *spotStore_, *intake_, *clusterView_, *telnetLink_, *engineLink_, commands_->tools(),
        [this](std::u16string_view line) { RouteTelnetStatus(line); },
        [this](const QString& host, int port) {
            telnetNodeName_ = toU16(host);
            telnetLink_->setAddress(host, port);
        },
        [this] { return activeView_ == clusterView_.get(); },
        [this](QWidget* view, const QString& title) { addFeatureTab(view, title); },
        [this](LinkKind from, const IntakeOutcome& outcome) { listStoredSpots(from, outcome); }});
    // After the features have heard a notification, so the commands show a retry they started.
    for (AsyncSocket* link : {static_cast<AsyncSocket*>(telnetLink_.get()), static_cast<AsyncSocket*>(engineLink_.get())}) {
        connect(link, &AsyncSocket::connectFinished, this, &CMainFrame::updateCommandUI);
        connect(link, &AsyncSocket::closed, this, &CMainFrame::updateCommandUI);
    }

    connect(tabStrip_.get(), &QTabBar::currentChanged, this, [this] { OnTabSelChange(); });
    OnTabSelChange();

    // No timer refreshes the commands: link notifications, tab changes, commands and menus about
    // to open all do, so an idle program is not woken for it.

    engineLink_->ConnectEngine();
    return 0;
}

void CMainFrame::createCommandBar() {
    commands_ = new FrameCommands(*this, {[this] { OnActionsConnect(); }, [this] { OnActionsDisconnect(); },
                                          [this] { OnProperties(); }, [this] { OnExit(); },
                                          [this] { emit aboutRequested(); }, [this] { updateCommandUI(); },
                                          [this](int commandId) { offerEditCommand(commandId); }});
}

// An edit command goes to the pane that has the focus, and only when that pane is part of the
// active view: a key pressed in a terminal's output never edits its entry line.
void CMainFrame::offerEditCommand(int commandId) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !activeView_ || !activeView_->isAncestorOf(focus))
        return;
    if (focus == static_cast<QWidget*>(clusterView_->spotList()) && commandId == kCmdCopy) {
        clusterView_->copySelectedSpots();
        return;
    }
    auto* entry = qobject_cast<QPlainTextEdit*>(focus);
    if (!entry)
        return;
    switch (commandId) {
    case kCmdUndo: entry->undo(); break;
    case kCmdCut: entry->cut(); break;
    case kCmdCopy: entry->copy(); break;
    case kCmdPaste: entry->paste(); break;
    default: break;
    }
}

QAction* CMainFrame::action(int commandId) const {
    return findChild<QAction*>(QStringLiteral("command%1").arg(commandId),
                               Qt::FindDirectChildrenOnly);
}

int CMainFrame::selectedTab() const { return tabStrip_ ? tabStrip_->currentIndex() : -1; }

void CMainFrame::selectTab(int index) { tabStrip_->setCurrentIndex(index); }

void CMainFrame::OnTabSelChange() {
    const TabRoute* route = selectedRoute();
    if (!route)
        return;
    activeView_->setEnabled(true);
    activeView_->hide();
    activeView_ = route->view;
    activeView_->setEnabled(true);
    activeView_->show();
    placeActiveView();
    activeView_->setFocus(Qt::TabFocusReason);
    if (auto* terminal = qobject_cast<TerminalWindow*>(activeView_))
        terminal->entryPane()->setFocus(Qt::TabFocusReason);
    updateCommandUI();
}

const CMainFrame::TabRoute* CMainFrame::selectedRoute() const {
    const int selection = selectedTab();
    if (selection < 0 || selection >= static_cast<int>(tabs_.size()))
        return nullptr;
    return &tabs_[static_cast<std::size_t>(selection)];
}

void CMainFrame::placeActiveView() { OnSize(client_->width(), client_->height()); }

// Only the active view moves; a hidden view is placed when its tab is picked. The view starts
// below the whole strip, which is a little higher than the space it claims.
void CMainFrame::OnSize(int width, int height) {
    QRect free(0, 0, width, height);
    tabStrip_->layoutInto(free);
    const int top = tabStrip_->height();
    if (activeView_)
        activeView_->setGeometry(0, top, width, height - top);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize && tabStrip_)
        placeActiveView();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::loadCallSign() {
    myCallSign_ = readSetting(settings_, setting::kMyCall);
}

// --- Received-data routing ---------------------------------------------------------------------

void CMainFrame::RouteTelnetText(std::u16string_view text, int /*length*/) {
    present(*telnetTerminal_, intake_->telnetText(text, telnetNodeName_));
    features_->linkReceived(LinkKind::Telnet, text);
}

void CMainFrame::RouteTelnetStatus(std::u16string_view text) {
    present(*telnetTerminal_, intake_->telnetStatus(text, telnetNodeName_));
}

void CMainFrame::RouteMonitorText(std::u16string_view text, int /*length*/, int /*port*/,
                                  int /*reserved*/, int tFlag) {
    present(*packetTerminal_, intake_->monitorFrame(text, tFlag == 1));
    features_->linkReceived(LinkKind::Engine, text);
}

void CMainFrame::present(TerminalWindow& terminal, const IntakeOutcome& outcome) {
    for (std::u16string_view piece : outcome.shown)
        terminal.AppendText(piece);
    listStoredSpots(&terminal == telnetTerminal_.get() ? LinkKind::Telnet : LinkKind::Engine, outcome);
}

void CMainFrame::listStoredSpots(LinkKind from, const IntakeOutcome& outcome) {
    for (int index : outcome.storedSpots)
        features_->spotStored(index);
    clusterView_->showStoredSpots(outcome.storedSpots, outcome.expiredSpots > 0);
    features_->spotsListed(from, outcome.storedSpots);
}

// A feature's view gets a tab after the classic ones; it offers no link commands.
void CMainFrame::addFeatureTab(QWidget* view, const QString& title) {
    view->setParent(client_);
    view->hide();
    tabs_.push_back({view, nullptr, LinkKind::FeatureLink, nullptr, {}});
    tabStrip_->addLaterTab(title, this);
}

// --- Sending typed lines -----------------------------------------------------------------------

void CMainFrame::SendTypedLine(std::u16string_view line) {
    if (const TabRoute* route = selectedRoute(); route && route->link)
        route->link->sendTyped(encodeWindows1252(line));
}

// --- Link commands -----------------------------------------------------------------------------

void CMainFrame::OnActionsConnect() {
    const TabRoute* route = selectedRoute();
    if (!route || !route->link)
        return;
    if (route->link->connected() != 0) {
        showAlreadyConnected();
        return;
    }
    features_->userConnects(route->kind);
    if (route->chooseAddress && !(this->*route->chooseAddress)())
        return;
    // An attempt still pending when the dialog opened may have connected while it was open.
    if (route->link->connected() != 0) {
        showAlreadyConnected();
        return;
    }
    route->link->connectLink();
    updateCommandUI();
}

// The Connect dialog for the telnet link; false when it was cancelled or left the host empty.
bool CMainFrame::chooseTelnetAddress() {
    int port = 0;
    DlgTelnetConnect dialog(settings_, telnetNodeName_, port, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (!accepted || telnetNodeName_.empty())
        return false;
    telnetLink_->setAddress(toQString(telnetNodeName_), port);
    return true;
}

void CMainFrame::showAlreadyConnected() {
    QMessageBox::critical(this, QStringLiteral("Quendra"),
                          QStringLiteral("Already Connected!\r\nDisconnect First!"));
}

void CMainFrame::OnActionsDisconnect() {
    const TabRoute* route = selectedRoute();
    if (route && route->link)
        features_->userDisconnects(route->kind);
    if (route && route->link && route->link->connected() != 0) {
        route->link->shutDown();
        if (auto* terminal = qobject_cast<TerminalWindow*>(route->view); terminal && !route->disconnectNotice.empty())
            terminal->AppendText(route->disconnectNotice);
    }
    updateCommandUI();
}

void CMainFrame::OnProperties() {
    DlgPeopertiesMisc dialog(settings_, this);
    dialog.exec();
    loadCallSign();
}

void CMainFrame::updateCommandUI() {
    QAction* connectCommand = action(kCmdConnect);
    QAction* disconnectCommand = action(kCmdDisconnect);
    const TabRoute* route = selectedRoute();
    if (!connectCommand || !disconnectCommand || !route)
        return;
    const bool connected = route->link && route->link->connected() != 0;
    connectCommand->setEnabled(route->link && !connected);
    // A link that is waiting to try again can be told to stop, as a connected one can be closed.
    disconnectCommand->setEnabled(connected || (route->link && features_ && features_->retrying(route->kind)));
}

// --- Exit --------------------------------------------------------------------------------------

void CMainFrame::OnExit() { close(); }

void CMainFrame::closeEvent(QCloseEvent* event) {
    saveLayout();
    QMainWindow::closeEvent(event);
}

void CMainFrame::saveLayout() {
    if (layoutSaved_ || !clusterView_)
        return;
    layoutSaved_ = true;
    clusterView_->saveLayout();
    packetTerminal_->saveLayout();
    telnetTerminal_->saveLayout();
}

}  // namespace quendra
