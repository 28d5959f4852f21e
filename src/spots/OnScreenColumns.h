#pragma once

#include <QVarLengthArray>

class QHeaderView;

namespace quendra::on_screen_columns {

// The list's columns as a screen reader is given them: only the sections on screen, numbered
// from the left as the operator sees them, so that hidden optional columns are never read and a
// dragged column is read where it now stands. Each call walks the header's few sections.
int count(const QHeaderView& header);
// The header section (model column) shown at this place, or -1 when there is none.
int sectionAt(const QHeaderView& header, int column);
// The place of this section among those on screen, or -1 when it is hidden or does not exist.
int columnOf(const QHeaderView& header, int section);

// The sections on screen, from the left; the list's few fit without a heap allocation.
using Sections = QVarLengthArray<int, 16>;
Sections sections(const QHeaderView& header);

}  // namespace quendra::on_screen_columns
