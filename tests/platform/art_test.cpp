// Sizes of the words drawn on pictures: the largest that fits, found without trying every
// size (each size tried is a font load), and the same as trying every size from the top.
#include "platform/ui/art.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

using namespace orv::platform::ui;

using namespace orv::platform::ui;

namespace {

double widthAt(QFont f, int px, const QString& text)
{
    f.setPixelSize(px);
    return QFontMetricsF(f).horizontalAdvance(text);
}

// Every size from the starting one down, as a user would shrink the words by hand.
int shrunkOneByOne(const QFont& f, const QString& text, double width)
{
    int px = f.pixelSize();
    if (px <= 6) return px;
    while (px > 6 && widthAt(f, px, text) > width) --px;
    return px;
}

} // namespace

TEST(Artwork, FittingFontIsTheLargestSizeThatFits)
{
    const QStringList texts{"Orvanta 4.0", "Accesso al programma", "Riepilogo dei costi per commessa", "W"};
    for (const bool bold : {true, false}) {
        for (const int start : {39, 19, 12, 7}) {
            QFont f(QStringLiteral("Verdana"));
            f.setBold(bold);
            f.setPixelSize(start);
            for (const QString& text : texts) {
                for (double width = -5; width < 400; width += 3.7) {
                    SCOPED_TRACE(QStringLiteral("%1 at %2 px%3 in %4").arg(text).arg(start).arg(bold ? " bold" : "").arg(width).toStdString());
                    EXPECT_EQ(art::fittingFont(f, text, width).pixelSize(), shrunkOneByOne(f, text, width));
                }
            }
        }
    }
}

TEST(Artwork, CommandCaptionSizeIsTheFirstSizeFromTheTopThatFits)
{
    const QStringList captions{"Esci", "Stampa", "Crea PDF", "Nuovo lavoro", "Anteprima di stampa",
                               "Salva e chiudi la scheda", "Sottoscorta"};
    for (const double height : {26.0, 36.0, 56.0}) {
        // A picture wide enough for any caption on one line shows the height's own size.
        const int base = art::largestCommandSize(QStringLiteral("X"), QSizeF(4000, height));
        for (const QString& caption : captions) {
            for (double width = 20; width <= 180; width += 4) {
                SCOPED_TRACE(QStringLiteral("%1 in %2 x %3").arg(caption).arg(width).arg(height).toStdString());
                int expected = base;
                while (expected > 6 && !art::commandFits(caption, expected, QSizeF(width, height))) --expected;
                EXPECT_EQ(art::largestCommandSize(caption, QSizeF(width, height)), expected);
            }
        }
    }
}
