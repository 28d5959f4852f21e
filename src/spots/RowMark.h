#pragma once

#include <QColor>
#include <QString>

namespace quendra {

// How a feature marks a whole row of the spot list: colours (invalid ones leave the list's own)
// and a few words for screen readers, read with the row's first cell on screen so that they are
// heard even while the feature's column is hidden.
struct RowMark {
    QColor background;
    QColor foreground;
    QString spoken;
};

}  // namespace quendra
