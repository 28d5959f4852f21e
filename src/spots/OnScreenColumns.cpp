#include "spots/OnScreenColumns.h"

#include <QHeaderView>

namespace quendra::on_screen_columns {

int count(const QHeaderView& header) { return header.count() - header.hiddenSectionCount(); }

int sectionAt(const QHeaderView& header, int column) {
    if (column < 0)
        return -1;
    int shown = -1;
    for (int visual = 0; visual < header.count(); ++visual) {
        const int section = header.logicalIndex(visual);
        if (!header.isSectionHidden(section) && ++shown == column)
            return section;
    }
    return -1;
}

int columnOf(const QHeaderView& header, int section) {
    if (section < 0 || section >= header.count() || header.isSectionHidden(section))
        return -1;
    const int visual = header.visualIndex(section);
    int column = 0;
    for (int before = 0; before < visual; ++before)
        column += header.isSectionHidden(header.logicalIndex(before)) ? 0 : 1;
    return column;
}

Sections sections(const QHeaderView& header) {
    Sections shown;
    for (int visual = 0; visual < header.count(); ++visual) {
        if (const int section = header.logicalIndex(visual); !header.isSectionHidden(section))
            shown.append(section);
    }
    return shown;
}

}  // namespace quendra::on_screen_columns
