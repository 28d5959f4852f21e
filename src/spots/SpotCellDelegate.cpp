#include "spots/SpotCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace quendra {
namespace {

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

// Cells the style draws more than a background and one line of text for, and texts of more than
// one line, are left to the style.
bool styleDecorates(const QStyleOptionViewItem& option) {
    return (option.state & (QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver)) ||
           (option.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator |
                               QStyleOptionViewItem::WrapText | QStyleOptionViewItem::Alternate)) ||
           option.text.contains(QLatin1Char('\n'));
}

}  // namespace

void SpotCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (styleDecorates(cell)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    if (cell.backgroundBrush.style() != Qt::NoBrush)
        painter->fillRect(cell.rect, cell.backgroundBrush);
    if (cell.text.isEmpty())
        return;

    const QWidget* widget = cell.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect room = cell.rect.adjusted(margin, 0, -margin, 0);
    const ComposedGlyphs::Layout* composed = composed_.compose(cell.font, keyOf(cell.font), cell.text);
    if (composed && composed->width > room.width())
        composed = nullptr;  // shortened by the full layout
    const QStaticText* text = composed ? nullptr : &laidOut(cell, room.width());
    const qreal width = composed ? composed->width : text->size().width();
    const QSize size(static_cast<int>(std::ceil(width)), cell.fontMetrics.height());
    QPointF at = QStyle::alignedRect(cell.direction, cell.displayAlignment, size, room).topLeft();
    // The style places a right-aligned text by its exact width, not by whole pixels.
    const Qt::Alignment horizontal = QStyle::visualAlignment(cell.direction, cell.displayAlignment);
    if (horizontal & Qt::AlignRight)
        at.setX(room.x() + room.width() - width);

    painter->save();
    painter->setClipRect(room);
    painter->setPen(cell.palette.color(colourGroup(cell), QPalette::Text));
    if (composed) {
        painter->drawGlyphRun(at, composed->run);
    } else {
        painter->setFont(cell.font);
        painter->drawStaticText(at, *text);
    }
    painter->restore();
}

const QString& SpotCellDelegate::keyOf(const QFont& font) const {
    // Building a font's key takes longer than the rest of a cell, so it is built once per font.
    if (font != keyedFont_) {
        keyedFont_ = font;
        fontKey_ = font.key();
    }
    return fontKey_;
}

const QStaticText& SpotCellDelegate::laidOut(const QStyleOptionViewItem& option, int width) const {
    QString key = option.text;
    key += QChar(0);
    key += QString::number(width);
    key += keyOf(option.font);
    if (const QStaticText* known = texts_.object(key))
        return *known;
    auto* text = new QStaticText(option.text);
    text->setTextFormat(Qt::PlainText);
    text->setPerformanceHint(QStaticText::AggressiveCaching);
    text->prepare(QTransform(), option.font);
    // Laid out once whole, since most texts fit; shortening lays the text out again.
    if (text->size().width() > width) {
        text->setText(option.fontMetrics.elidedText(option.text, option.textElideMode, width));
        text->prepare(QTransform(), option.font);
    }
    texts_.insert(key, text);
    return *text;
}

}  // namespace quendra
