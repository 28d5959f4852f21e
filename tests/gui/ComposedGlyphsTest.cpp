#include "spots/ComposedGlyphs.h"

#include <QFontDatabase>
#include <QTextLayout>
#include <QtTest>

#include <random>

using namespace quendra;

namespace {

struct FullLayout {
    QList<quint32> indexes;
    QList<QPointF> positions;
    qreal width = 0;
};

FullLayout fullLayout(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    FullLayout full;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        full.indexes += run.glyphIndexes();
        full.positions += run.positions();
    }
    full.width = line.naturalTextWidth();
    return full;
}

QList<QFont> someFonts() {
    QFont plain;
    QFont bold = plain;
    bold.setBold(true);
    QFont large = plain;
    large.setPointSizeF(plain.pointSizeF() * 1.75);
    QList<QFont> fonts{plain, bold, large, QFontDatabase::systemFont(QFontDatabase::FixedFont)};
    const QStringList families = QFontDatabase::families();
    if (!families.isEmpty())
        fonts.append(QFont(families.last()));
    return fonts;
}

}  // namespace

class ComposedGlyphsTest : public QObject {
    Q_OBJECT

private slots:
    // Whatever is composed is glyph for glyph what the full layout gives, in every font tried,
    // for texts drawn from all of printable ASCII, kerning pairs and ligatures included.
    void composedTextsAreWhatTheFullLayoutGives() {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> character(0x20, 0x7e);
        std::uniform_int_distribution<int> length(1, 14);
        QStringList texts{QStringLiteral("14025.0"), QStringLiteral("AV"), QStringLiteral("office"),
                          QStringLiteral("To LT Wa"), QStringLiteral("DL/ZZ9XYZ/P")};
        for (int i = 0; i < 3000; ++i) {
            QString text;
            for (int n = length(random); n > 0; --n)
                text += QChar(character(random));
            texts << text;
        }
        for (const QFont& font : someFonts()) {
            ComposedGlyphs composer;
            int composed = 0;
            for (const QString& text : texts) {
                const ComposedGlyphs::Layout* layout = composer.compose(font, font.key(), text);
                if (!layout)
                    continue;
                ++composed;
                const FullLayout full = fullLayout(text, font);
                QVERIFY2(layout->run.glyphIndexes() == full.indexes, qPrintable(font.key() + " " + text));
                QVERIFY2(layout->run.positions() == full.positions, qPrintable(font.key() + " " + text));
                QVERIFY2(layout->width == full.width, qPrintable(font.key() + " " + text));
            }
            QVERIFY2(composed > 1000, qPrintable(font.key()));  // the quick way is the usual one
        }
    }

    void textsTheFullLayoutMustDrawAreLeftToIt() {
        ComposedGlyphs composer;
        const QFont font;
        QVERIFY(composer.compose(font, font.key(), QStringLiteral("ZZ1AB")));
        for (const QString& text : {QString(), QStringLiteral(" lead"), QStringLiteral("trail "),
                                    QStringLiteral("tab\there"), QStringLiteral("Z\u00fcrich"), QStringLiteral("two\nlines")})
            QVERIFY2(!composer.compose(font, font.key(), text), qPrintable(text));
        QFont underlined = font;
        underlined.setUnderline(true);
        QVERIFY(!composer.compose(underlined, underlined.key(), QStringLiteral("ZZ1AB")));
    }
};

QTEST_MAIN(ComposedGlyphsTest)
#include "ComposedGlyphsTest.moc"
