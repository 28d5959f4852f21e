#include "app/CMainFrame.h"

#include "app/CommandIds.h"
#include "app/SpotRouting.h"
#include "links/DlgPeopertiesMisc.h"
#include "links/DlgTelnetConnect.h"
#include "links/MonitorTokens.h"
#include "links/NorrvelSocket.h"
#include "links/TelnetSocket.h"
#include "spots/SpotStore.h"
#include "spots/ViewDxClusterFrame.h"
#include "terminal/SendTerm.h"
#include "terminal/TabMfcSDI.h"
#include "terminal/TerminalWindow.h"
#include "text/CodePage.h"

#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>

namespace quendra {
namespace {

constexpr std::u16string_view kConnectedStatus = u"***Connected. \r\n";
constexpr std::u16string_view kDisconnectedStatus = u"***Disconnected. \r\n";
constexpr std::u16string_view kDisconnectingNotice = u"\r\n***Disconnecting... \r\n";
constexpr int kIdleUpdateMs = 200;

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

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
    activeView_ = clusterView_.get();
    clusterView_->setSpotStore(spotStore_.get());
    clusterView_->refillList();

    if (!createCommandBar())
        return -1;

    loadCallSign();
    engineLink_ = std::make_unique<NorrvelSocket>(settings_);
    engineLink_->setMainWindow(this);

    connect(tabStrip_.get(), &QTabBar::currentChanged, this, [this] { OnTabSelChange(); });
    OnTabSelChange();

    idleUpdate_ = new QTimer(this);
    connect(idleUpdate_, &QTimer::timeout, this, &CMainFrame::updateCommandUI);
    idleUpdate_->start(kIdleUpdateMs);

    engineLink_->ConnectEngine();
    return 0;
}

bool CMainFrame::createCommandBar() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Menu"));
    QMenu* actions = menu->addMenu(QStringLiteral("&Actions"));
    actions->addAction(addCommand(kCmdConnect, QStringLiteral("Connect ..."), QStringLiteral("connect")));
    actions->addAction(addCommand(kCmdDisconnect, QStringLiteral("Disconnect"), QStringLiteral("disconnect")));
    menu->addAction(addCommand(kCmdProperties, QStringLiteral("Properties..."), QStringLiteral("properties")));
    menu->addSeparator();
    menu->addAction(addCommand(kCmdAbout, QStringLiteral("About Quendra..."), QStringLiteral("about")));
    menu->addSeparator();
    menu->addAction(addCommand(kCmdExit, QStringLiteral("Exit")));

    commandBar_ = new QToolBar(QStringLiteral("Tool bar"), this);
    commandBar_->setObjectName(QStringLiteral("CommandBar"));
    commandBar_->setMovable(false);
    commandBar_->setFloatable(false);
    commandBar_->setIconSize(QSize(16, 16));
    commandBar_->addAction(action(kCmdConnect));
    commandBar_->addAction(action(kCmdDisconnect));
    commandBar_->addAction(action(kCmdProperties));
    commandBar_->addSeparator();
    commandBar_->addAction(action(kCmdAbout));
    addToolBar(Qt::TopToolBarArea, commandBar_);
    if (auto* more = commandBar_->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));

    connect(action(kCmdConnect), &QAction::triggered, this, &CMainFrame::OnActionsConnect);
    connect(action(kCmdDisconnect), &QAction::triggered, this, &CMainFrame::OnActionsDisconnect);
    connect(action(kCmdProperties), &QAction::triggered, this, &CMainFrame::OnProperties);
    connect(action(kCmdExit), &QAction::triggered, this, &CMainFrame::OnExit);
    connect(action(kCmdAbout), &QAction::triggered, this, &CMainFrame::aboutRequested);
    addEditAccelerators();
    return true;
}

QAction* CMainFrame::addCommand(int commandId, const QString& text, const QString& icon) {
    auto* command = new QAction(text, this);
    command->setObjectName(QStringLiteral("command%1").arg(commandId));
    command->setData(commandId);
    if (!icon.isEmpty())
        command->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(icon)));
    QString tip = text;
    tip.remove(QStringLiteral("...")).remove(QStringLiteral(" ."));
    command->setToolTip(tip.trimmed());
    addAction(command);
    return command;
}

// Ctrl+N, Ctrl+Z, Ctrl+X, Ctrl+C and Ctrl+V belong to the active view: the frame handles none of
// them itself. A focused entry line takes these keys before any window shortcut; the actions
// cover the case where the focus sits elsewhere in the view.
void CMainFrame::addEditAccelerators() {
    const struct { int id; QKeySequence keys; } accelerators[] = {
        {kCmdNew, QKeySequence(Qt::CTRL | Qt::Key_N)},   {kCmdUndo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {kCmdCut, QKeySequence(Qt::CTRL | Qt::Key_X)},   {kCmdCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {kCmdPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
    };
    for (const auto& accelerator : accelerators) {
        QAction* command = addCommand(accelerator.id, QString());
        command->setShortcut(accelerator.keys);
        command->setShortcutContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(command, &QAction::triggered, this, [this, id] { offerEditCommand(id); });
    }
}

void CMainFrame::offerEditCommand(int commandId) {
    if (activeView_ == clusterView_.get() && commandId == kCmdCopy) {
        clusterView_->copySelectedSpots();
        return;
    }
    auto* terminal = qobject_cast<TerminalWindow*>(activeView_);
    if (!terminal)
        return;
    QPlainTextEdit* entry = terminal->entryPane();
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
    const int selection = selectedTab();
    activeView_->setEnabled(true);
    activeView_->hide();
    switch (selection) {
    case kTabTelnet: activeView_ = telnetTerminal_.get(); break;
    case kTabPacket: activeView_ = packetTerminal_.get(); break;
    case kTabCluster: activeView_ = clusterView_.get(); break;
    default: break;
    }
    activeView_->setEnabled(true);
    activeView_->show();
    placeActiveView();
    activeView_->setFocus(Qt::TabFocusReason);
    if (auto* terminal = qobject_cast<TerminalWindow*>(activeView_))
        terminal->entryPane()->setFocus(Qt::TabFocusReason);
    updateCommandUI();
}

void CMainFrame::placeActiveView() { OnSize(client_->width(), client_->height()); }

// Only the active view moves; a hidden view is placed when its tab is picked.
void CMainFrame::OnSize(int width, int height) {
    QRect free(0, 0, width, height);
    tabStrip_->layoutInto(free);
    if (activeView_)
        activeView_->setGeometry(0, free.top(), width, height - free.top());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize && tabStrip_)
        placeActiveView();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::loadCallSign() {
    myCallSign_ = settings_.GetProfileString(u"STATUS", u"MYCALL", u"NOCALL");
}

// --- Received-data routing ---------------------------------------------------------------------

void CMainFrame::RouteTelnetText(std::u16string_view text, int /*length*/) {
    const bool statusLine = text == kConnectedStatus || text == kDisconnectedStatus;
    // A status line is the link's own text, not part of the node's stream: a line the node left
    // unfinished ends before it, so the two never run together.
    if (statusLine)
        finishPendingTelnetLine();
    telnetTerminal_->AppendText(text);
    if (statusLine)
        return;
    for (const std::u16string& line : telnetLines_.feed(text))
        routeTelnetLine(line);
}

void CMainFrame::finishPendingTelnetLine() {
    if (telnetLines_.pendingTail().empty())
        return;
    const std::u16string tail = telnetLines_.pendingTail();
    telnetLines_.clear();
    telnetTerminal_->AppendText(u"\r\n");
    routeTelnetLine(tail);
}

void CMainFrame::routeTelnetLine(std::u16string_view line) {
    addSpotAt(parseSpotLine(*spotStore_, line, telnetNodeName_));
}

void CMainFrame::RouteMonitorText(std::u16string_view text, int /*length*/, int /*port*/,
                                  int /*reserved*/, int tFlag) {
    packetTerminal_->AppendText(text);
    std::optional<MonitorTokens> frame = tokenizeMonitorText(text);
    // Frames the engine sent on our behalf are shown and never searched for spots.
    if (!frame || tFlag == 1)
        return;
    for (std::u16string_view line : frame->dataLines)
        addSpotAt(parseSpotLine(*spotStore_, line, frame->nodeName));
}

void CMainFrame::addSpotAt(int index) {
    if (index != -1)
        clusterView_->addSpot(index);
}

// --- Sending typed lines -----------------------------------------------------------------------

void CMainFrame::SendTypedLine(std::u16string_view line) {
    const std::string bytes = encodeWindows1252(line);
    const int length = static_cast<int>(bytes.size());
    switch (selectedTab()) {
    case kTabPacket: {
        const std::u16string call = settings_.GetProfileString(u"STATUS", u"MYCALL", u"NOCALL");
        if (engineLink_->connected() == 0)
            return;
        const std::string fromCall = encodeWindows1252(call);
        const auto* payload = reinterpret_cast<const std::uint8_t*>(bytes.data());
        for (int port = 0; port < engineLink_->portCount(); ++port)
            engineLink_->SendUnproto(payload, length, fromCall.c_str(), "CQ", port);
        break;
    }
    case kTabTelnet:
        if (telnetLink_->connected() == 1)
            telnetLink_->Send(bytes.data(), length);
        break;
    default:
        break;
    }
}

// --- Link commands -----------------------------------------------------------------------------

void CMainFrame::OnActionsConnect() {
    auto alreadyConnected = [this] {
        QMessageBox::critical(this, QStringLiteral("Quendra"),
                              QStringLiteral("Already Connected!\r\nDisconnect First!"));
    };
    switch (selectedTab()) {
    case kTabTelnet: {
        if (telnetLink_->connected() != 0) {
            alreadyConnected();
            return;
        }
        int port = 0;
        DlgTelnetConnect dialog(settings_, telnetNodeName_, port, this);
        const int result = dialog.exec();
        if (result == QDialog::Accepted && !telnetNodeName_.empty()) {
            telnetLink_->Create();
            telnetLink_->ConnectTo(toQString(telnetNodeName_), port);
        }
        break;
    }
    case kTabPacket:
        if (engineLink_->connected() != 0) {
            alreadyConnected();
            return;
        }
        engineLink_->ConnectEngine();
        break;
    default:
        break;
    }
    updateCommandUI();
}

void CMainFrame::OnActionsDisconnect() {
    switch (selectedTab()) {
    case kTabTelnet:
        if (telnetLink_->connected() != 0) {
            telnetLink_->ShutdownSend();
            telnetTerminal_->AppendText(kDisconnectingNotice);
        }
        break;
    case kTabPacket:
        if (engineLink_->connected() != 0)
            engineLink_->ShutdownSend();
        break;
    default:
        break;
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
    if (!connectCommand || !disconnectCommand)
        return;
    int connectedFlag = 0;
    switch (selectedTab()) {
    case kTabTelnet: connectedFlag = telnetLink_->connected(); break;
    case kTabPacket: connectedFlag = engineLink_->connected(); break;
    case kTabCluster:
        connectCommand->setEnabled(false);
        disconnectCommand->setEnabled(false);
        return;
    default: return;
    }
    connectCommand->setEnabled(connectedFlag == 0);
    disconnectCommand->setEnabled(connectedFlag != 0);
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
