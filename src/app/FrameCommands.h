#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;

namespace quendra {

// The frame's classic commands as the operator meets them: the menu with its Actions submenu,
// the tool bar, and the edit accelerators, each action a child of the window found by its
// command id; and after the classic menu the Tools menu that the features fill.
class FrameCommands : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> connectLink;
        std::function<void()> disconnectLink;
        std::function<void()> properties;
        std::function<void()> exit;
        std::function<void()> about;
        std::function<void()> refresh;          // brings the commands' states up to date
        std::function<void(int)> editCommand;   // Ctrl+N, Ctrl+Z, Ctrl+X, Ctrl+C or Ctrl+V
    };
    FrameCommands(QMainWindow& window, Handlers handlers);

    QMenu& tools() const { return *tools_; }

private:
    void buildMenu();
    void buildToolBar();
    QAction* addCommand(int commandId, const QString& text, const QString& icon = {});
    void addEditAccelerators();
    QAction* command(int commandId) const;

    QMainWindow& window_;
    Handlers handlers_;
    QMenu* tools_ = nullptr;  // owned by the menu bar
};

}  // namespace quendra
