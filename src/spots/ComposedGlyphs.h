#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace quendra {

// Lays out a one-line text of printable ASCII from glyphs measured once per character, instead
// of shaping every new text anew. Call signs, frequencies and times are nearly all a list shows,
// and a busy node brings new ones every second; shaping them was most of the cost of drawing a
// new row. A text is composed only when each of its neighbouring character pairs has been seen
// to shape exactly as its two characters do alone, so kerning and ligatures are never lost: such
// texts are left to the caller's full layout. Positions and width come out as the full layout
// gives them, to the 1/64 pixel Qt works in.
class ComposedGlyphs {
public:
    struct Layout {
        QGlyphRun run;
        qreal width = 0;  // as QStaticText and QTextLine report it
    };

    // The text laid out in the font, or nothing when it needs the full layout. `fontKey` names
    // the font (QFont::key); the run stays valid until the next call.
    const Layout* compose(const QFont& font, const QString& fontKey, const QString& text);

private:
    static constexpr char16_t kFirst = 0x20;
    static constexpr char16_t kLast = 0x7e;
    static constexpr int kChars = kLast - kFirst + 1;
    static constexpr int kMaxFonts = 8;

    enum class Known : std::uint8_t { Unmeasured, Plain, Shaped };

    struct Glyph {
        Known known = Known::Unmeasured;
        quint32 index = 0;
        qreal advance = 0;
        qreal width = 0;  // a text's width when this is its last character
    };
    struct FontGlyphs {
        QFont font;
        QRawFont raw;
        qreal firstX = 0;
        qreal baseline = 0;
        std::array<Glyph, kChars> glyphs{};
        std::vector<Known> pairs = std::vector<Known>(static_cast<std::size_t>(kChars) * kChars, Known::Unmeasured);
    };

    FontGlyphs& glyphsFor(const QFont& font, const QString& fontKey);
    static const Glyph& glyph(FontGlyphs& table, char16_t c);
    static bool plainPair(FontGlyphs& table, char16_t first, char16_t second);

    QHash<QString, FontGlyphs> fonts_;
    std::vector<quint32> indexes_;
    std::vector<QPointF> positions_;
    Layout layout_;
};

}  // namespace quendra
