#include "terminal/TabMfcSDI.h"

#include <QFontDatabase>

#include <algorithm>

namespace quendra {

TabMfcSDI::TabMfcSDI(QWidget* parent) : QTabBar(parent) {}

bool TabMfcSDI::Create(QWidget* parent, bool highResolution) {
    highResolution_ = highResolution;
    setParent(parent);
    setObjectName(QStringLiteral("TabMfcSDI"));
    setAccessibleName(tr("Views"));
    setFocusPolicy(Qt::NoFocus);
    setExpanding(false);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    setGeometry(0, 0, 0, 0);
    show();
    return true;
}

int TabMfcSDI::AddTab(const QString& label) {
    const int index = insertTab(count_, label);
    ++count_;
    return index;
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
