#include "spots/ComposedGlyphs.h"

#include <QFontMetricsF>
#include <QTextLayout>

namespace quendra {
namespace {

// The glyphs the full layout gives a text, with the width it reports.
struct Shaped {
    QGlyphRun run;
    int runs = 0;
    qreal width = 0;
};

Shaped shape(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    Shaped shaped;
    shaped.runs = static_cast<int>(runs.size());
    if (!runs.isEmpty())
        shaped.run = runs.first();
    shaped.width = line.naturalTextWidth();
    return shaped;
}

bool printable(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

}  // namespace

const ComposedGlyphs::Layout* ComposedGlyphs::compose(const QFont& font, const QString& fontKey,
                                                      const QString& text) {
    const qsizetype length = text.size();
    // Spaces at either end count differently in a layout's width; underlines and the like are
    // drawn by the full layout.
    if (length == 0 || text.front() == u' ' || text.back() == u' ' || font.underline() || font.strikeOut() ||
        font.overline())
        return nullptr;
    for (QChar c : text)
        if (!printable(c.unicode(), kFirst, kLast))
            return nullptr;

    FontGlyphs& table = glyphsFor(font, fontKey);
    indexes_.resize(static_cast<std::size_t>(length));
    positions_.resize(static_cast<std::size_t>(length));
    qreal x = table.firstX;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = text[i].unicode();
        const Glyph& g = glyph(table, c);
        if (g.known != Known::Plain || (i > 0 && !plainPair(table, text[i - 1].unicode(), c)))
            return nullptr;
        indexes_[static_cast<std::size_t>(i)] = g.index;
        positions_[static_cast<std::size_t>(i)] = QPointF(x, table.baseline);
        if (i + 1 < length)
            x += g.advance;
        else
            layout_.width = x - table.firstX + g.width;
    }
    layout_.run.setRawFont(table.raw);
    layout_.run.setRawData(indexes_.data(), positions_.data(), static_cast<int>(length));
    return &layout_;
}

ComposedGlyphs::FontGlyphs& ComposedGlyphs::glyphsFor(const QFont& font, const QString& fontKey) {
    auto found = fonts_.find(fontKey);
    if (found != fonts_.end())
        return *found;
    if (fonts_.size() >= kMaxFonts)
        fonts_.clear();
    FontGlyphs& table = fonts_[fontKey];
    table.font = font;
    return table;
}

// A character is measured alone the first time a text holds it: it must come out as one glyph
// of the font itself, not of a fallback font, on the same baseline as the others.
const ComposedGlyphs::Glyph& ComposedGlyphs::glyph(FontGlyphs& table, char16_t c) {
    Glyph& g = table.glyphs[static_cast<std::size_t>(c - kFirst)];
    if (g.known != Known::Unmeasured)
        return g;
    g.known = Known::Shaped;
    const QString alone(QChar{c});
    const Shaped shaped = shape(alone, table.font);
    if (shaped.runs != 1 || shaped.run.glyphIndexes().size() != 1)
        return g;
    const QPointF at = shaped.run.positions().first();
    if (!table.raw.isValid()) {
        table.raw = shaped.run.rawFont();
        table.firstX = at.x();
        table.baseline = at.y();
    }
    if (shaped.run.rawFont() != table.raw || at.x() != table.firstX || at.y() != table.baseline)
        return g;
    g.index = shaped.run.glyphIndexes().first();
    g.advance = QFontMetricsF(table.font).horizontalAdvance(alone);
    g.width = shaped.width;
    g.known = Known::Plain;
    return g;
}

// A pair is plain when the full layout gives it the two characters' own glyphs, the second one
// just one advance after the first: no kerning, no ligature, nothing put in between.
bool ComposedGlyphs::plainPair(FontGlyphs& table, char16_t first, char16_t second) {
    Known& known = table.pairs[static_cast<std::size_t>((first - kFirst) * kChars + (second - kFirst))];
    if (known == Known::Unmeasured) {
        known = Known::Shaped;
        const Glyph& a = table.glyphs[static_cast<std::size_t>(first - kFirst)];
        const Glyph& b = table.glyphs[static_cast<std::size_t>(second - kFirst)];
        const QChar pair[] = {QChar{first}, QChar{second}};
        const Shaped shaped = shape(QString(pair, 2), table.font);
        if (shaped.runs == 1 && shaped.run.rawFont() == table.raw) {
            const QList<quint32> indexes = shaped.run.glyphIndexes();
            const QList<QPointF> at = shaped.run.positions();
            if (indexes == QList<quint32>{a.index, b.index} &&
                at == QList<QPointF>{QPointF(table.firstX, table.baseline),
                                     QPointF(table.firstX + a.advance, table.baseline)} &&
                shaped.width == a.advance + b.width)
                known = Known::Plain;
        }
    }
    return known == Known::Plain;
}

}  // namespace quendra
