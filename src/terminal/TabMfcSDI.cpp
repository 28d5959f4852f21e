#include "terminal/TabMfcSDI.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeySequence>

#include <algorithm>

namespace quendra {

TabMfcSDI::TabMfcSDI(QWidget* parent) : QTabBar(parent) {}

void TabMfcSDI::Create(QWidget* parent, bool highResolution) {
    highResolution_ = highResolution;
    setParent(parent);
    setObjectName(QStringLiteral("TabMfcSDI"));
    setAccessibleName(tr("Views"));
    setFocusPolicy(Qt::NoFocus);
    setExpanding(false);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    setGeometry(0, 0, 0, 0);
    show();
}

int TabMfcSDI::AddTab(const QString& label) {
    return addTab(label);
}

void TabMfcSDI::addSwitchingKeys(QWidget* window) {
    auto addKeys = [this, window](const QList<QKeySequence>& keys, auto pick) {
        auto* command = new QAction(window);
        command->setShortcuts(keys);
        command->setShortcutContext(Qt::WindowShortcut);
        connect(command, &QAction::triggered, this, pick);
        window->addAction(command);
    };
    // Shift+Tab arrives as Backtab on some platforms, so both spellings are bound.
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
            [this] { stepSelection(1); });
    addKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
             QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
            [this] { stepSelection(-1); });
    for (int index = 0; index < std::min(count(), 9); ++index)
        addPickKey(window, index);
}

void TabMfcSDI::addPickKey(QWidget* window, int index) {
    auto* command = new QAction(window);
    command->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + index)));
    command->setShortcutContext(Qt::WindowShortcut);
    connect(command, &QAction::triggered, this, [this, index] { setCurrentIndex(index); });
    window->addAction(command);
}

int TabMfcSDI::addLaterTab(const QString& label, QWidget* window) {
    const int index = AddTab(label);
    if (index < 9)
        addPickKey(window, index);
    return index;
}

void TabMfcSDI::stepSelection(int step) {
    if (const int tabs = count(); tabs > 0)
        setCurrentIndex(((currentIndex() + step) % tabs + tabs) % tabs);
}

QSize TabMfcSDI::tabSizeHint(int index) const {
    QSize hint = QTabBar::tabSizeHint(index);
    hint.setHeight(std::max(hint.height(), claimedHeight()));
    hint.setWidth(hint.width() + (highResolution_ ? 24 : 8));
    return hint;
}

int TabMfcSDI::claimedHeight() const { return highResolution_ ? 52 : 26; }

int TabMfcSDI::stripHeight() const { return claimedHeight() + (highResolution_ ? 4 : 2); }

void TabMfcSDI::layoutInto(QRect& freeArea) {
    setGeometry(freeArea.left(), freeArea.top(), freeArea.width(), stripHeight());
    freeArea.setTop(freeArea.top() + claimedHeight());
}

}  // namespace quendra
