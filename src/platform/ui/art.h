#pragma once
// Pictures drawn at run time for the windows: command pictures that carry their words,
// caption bands, module tiles, small icons and heading bands. Each returns an Artwork
// that an Image draws at its own size when first painted, so nothing is drawn at start.
#include "platform/ui/controls.h"

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>

#include <utility>
#include <vector>

namespace orv::platform::ui::art {

enum class Icon {
    Info, Help, Copyright, Exit, Mail, Globe, Pdf, Key, Logo, Customers, Contract, Warehouse,
    Inventory, Schedule, JobSheet, Quote, Truck, ArrowFirst, ArrowPrev, ArrowNext, ArrowLast,
    Printer, PrintPreview, Clock,
};

// A command picture showing its words (the `cmd` images of the working windows). The words
// take the largest size that fits; a caption of several words may break onto two lines.
Artwork command(const QString& words, const QColor& colour = QColor(0x2F, 0x5D, 0x8A));
// The same picture with its words at a given pixel size, so a whole command bar can share
// one size (see commandTextSize).
Artwork command(const QString& words, const QColor& colour, int pixelSize);
// The largest pixel size at which every caption fits a command picture of its size: the
// one size a command bar gives all its captions, so they do not read as mixed sizes.
int commandTextSize(const std::vector<std::pair<QString, QSizeF>>& captions);
// The largest pixel size, from the caption's own down to 6, at which it fits a command
// picture of the size on one line or two.
int largestCommandSize(const QString& words, const QSizeF& size);
// Whether the caption fits a command picture of the size at the pixel size.
bool commandFits(const QString& words, int pixelSize, const QSizeF& size);
// The font made smaller, down to 6 pixels, until the words fit the width: the largest
// size that does.
QFont fittingFont(QFont font, const QString& words, double width);
// A band with centred words in white bold capitals (caption pictures).
Artwork captionBand(const QString& words, const QColor& from, const QColor& to);
// A module tile: rounded square in the colour with the icon in white.
Artwork tile(Icon icon, const QColor& colour);
// A small icon in the colour, on a transparent ground.
Artwork icon(Icon icon, const QColor& colour = QColor(0x2F, 0x5D, 0x8A));
// A heading band: icon, title and an optional subtitle.
Artwork heading(const QString& title, const QString& subtitle, Icon icon = Icon::Logo,
                const QColor& from = QColor(0x1F, 0x3F, 0x6E), const QColor& to = QColor(0x4A, 0x7D, 0xB5));
// Words in the given font and colour, centred (title and version pictures).
Artwork words(const QString& text, const FontSpec& font, Qt::Alignment align = Qt::AlignCenter);
// A euro sign in a gold-rimmed circle.
void euroSign(QPainter& p, const QRectF& circle, double rim, const QColor& fill);
// The default company logo, shared by the logo window and the printed documents: a euro
// sign on white.
Artwork euroLogo();
// Two artworks drawn one over the other.
Artwork layered(Artwork below, Artwork above);

} // namespace orv::platform::ui::art
