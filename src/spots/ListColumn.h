#pragma once

#include <QString>
#include <QVariant>

namespace quendra {

// A column a feature adds to the spot list, after the optional ones: hidden until the operator
// shows it from the header's menu, and remembered by its title like them.
class ListColumn {
public:
    virtual ~ListColumn() = default;
    virtual QString title() const = 0;
    // The cell of the spot at this store index; asked whenever the cell is drawn or read.
    virtual QVariant text(int storeIndex) const = 0;
};

}  // namespace quendra
