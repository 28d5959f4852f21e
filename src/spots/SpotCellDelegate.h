#pragma once

#include "spots/ComposedGlyphs.h"

#include <QCache>
#include <QFont>
#include <QStaticText>
#include <QString>
#include <QStyledItemDelegate>

namespace quendra {

// Draws the spot list's cells as the style's own delegate does, but keeps each cell text laid out
// for reuse: a row's texts never change, the list draws the same rows again whenever it is
// scrolled, uncovered or refilled, and laying the texts out anew was most of that cost. New texts
// of plain ASCII are put together from glyphs measured once per character. Selected, focused and
// hovered cells, which a style may decorate, are left to the style.
class SpotCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // The text as drawn in a cell of this width and font: shortened with an ellipsis if need be.
    const QStaticText& laidOut(const QStyleOptionViewItem& option, int width) const;
    const QString& keyOf(const QFont& font) const;

    static constexpr int kCachedTexts = 4096;
    mutable QCache<QString, QStaticText> texts_{kCachedTexts};
    mutable QFont keyedFont_;
    mutable QString fontKey_;
    mutable ComposedGlyphs composed_;
};

}  // namespace quendra
