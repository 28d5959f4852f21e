#include "app/FrameCommands.h"

#include "app/CommandIds.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace quendra {

FrameCommands::FrameCommands(QMainWindow& window, Handlers handlers)
    : QObject(&window), window_(window), handlers_(std::move(handlers)) {
    buildMenu();
    buildToolBar();
    const auto call = [](const std::function<void()>& handler) { return [handler] { handler(); }; };
    connect(command(kCmdConnect), &QAction::triggered, this, call(handlers_.connectLink));
    connect(command(kCmdDisconnect), &QAction::triggered, this, call(handlers_.disconnectLink));
    connect(command(kCmdProperties), &QAction::triggered, this, call(handlers_.properties));
    connect(command(kCmdExit), &QAction::triggered, this, call(handlers_.exit));
    connect(command(kCmdAbout), &QAction::triggered, this, call(handlers_.about));
    addEditAccelerators();
}

void FrameCommands::buildMenu() {
    QMenu* menu = window_.menuBar()->addMenu(QStringLiteral("&Menu"));
    QMenu* actions = menu->addMenu(QStringLiteral("&Actions"));
    actions->setObjectName(QStringLiteral("actionsMenu"));
    // A menu never offers a command in a state older than the links'.
    for (QMenu* shown : {menu, actions})
        connect(shown, &QMenu::aboutToShow, this, [this] { handlers_.refresh(); });
    actions->addAction(addCommand(kCmdConnect, QStringLiteral("Connect ..."), QStringLiteral("connect")));
    actions->addAction(addCommand(kCmdDisconnect, QStringLiteral("Disconnect"), QStringLiteral("disconnect")));
    menu->addAction(addCommand(kCmdProperties, QStringLiteral("Properties..."), QStringLiteral("properties")));
    menu->addSeparator();
    menu->addAction(addCommand(kCmdAbout, QStringLiteral("About Quendra..."), QStringLiteral("about")));
    menu->addSeparator();
    menu->addAction(addCommand(kCmdExit, QStringLiteral("Exit")));

    // Additions live in a menu of their own, after the classic one.
    tools_ = window_.menuBar()->addMenu(QStringLiteral("&Tools"));
    tools_->setObjectName(QStringLiteral("toolsMenu"));
}

void FrameCommands::buildToolBar() {
    auto* bar = new QToolBar(QStringLiteral("Tool bar"), &window_);
    bar->setObjectName(QStringLiteral("CommandBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->addAction(command(kCmdConnect));
    bar->addAction(command(kCmdDisconnect));
    bar->addAction(command(kCmdProperties));
    bar->addSeparator();
    bar->addAction(command(kCmdAbout));
    window_.addToolBar(Qt::TopToolBarArea, bar);
    if (auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
}

QAction* FrameCommands::addCommand(int commandId, const QString& text, const QString& icon) {
    auto* added = new QAction(text, &window_);
    added->setObjectName(QStringLiteral("command%1").arg(commandId));
    added->setData(commandId);
    if (!icon.isEmpty())
        added->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(icon)));
    QString tip = text;
    tip.remove(QStringLiteral("...")).remove(QStringLiteral(" ."));
    added->setToolTip(tip.trimmed());
    window_.addAction(added);
    return added;
}

// Ctrl+N, Ctrl+Z, Ctrl+X, Ctrl+C and Ctrl+V belong to the active view: the frame handles none of
// them itself. A focused entry line takes these keys before any window shortcut; the actions
// cover the case where the focus sits elsewhere in the view.
void FrameCommands::addEditAccelerators() {
    const struct { int id; QKeySequence keys; } accelerators[] = {
        {kCmdNew, QKeySequence(Qt::CTRL | Qt::Key_N)},   {kCmdUndo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {kCmdCut, QKeySequence(Qt::CTRL | Qt::Key_X)},   {kCmdCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {kCmdPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
    };
    for (const auto& accelerator : accelerators) {
        QAction* added = addCommand(accelerator.id, QString());
        added->setShortcut(accelerator.keys);
        added->setShortcutContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(added, &QAction::triggered, this, [this, id] { handlers_.editCommand(id); });
    }
}

QAction* FrameCommands::command(int commandId) const {
    return window_.findChild<QAction*>(QStringLiteral("command%1").arg(commandId), Qt::FindDirectChildrenOnly);
}

}  // namespace quendra
