#pragma once
// Pictures as encoded image streams: the PDF writer's JPEG images and the other encodings
// a picture type code selects.
#include <QByteArray>
#include <QIODevice>
#include <QImage>

namespace orv::pdf {

// Picture type codes: 0, 2 and 3 PNG, 1 BMP, 4 JPEG (baseline, three components, the
// encoder's default quality), 5 GIF; any other code writes nothing. Transparent parts
// of a JPEG or GIF come out white. Raises std::runtime_error when the encoder fails.
void frxBitmapToStream(const QImage& bitmap, QIODevice& stream, int pictureType);

} // namespace orv::pdf

namespace orv::pdf {

// A GIF89a picture of the image: its own colours when it has at most 256, else a
// dithered 6x6x6 cube. Raises std::runtime_error for images larger than 65535 pixels
// a side.
QByteArray encodeGif(const QImage& image);

} // namespace orv::pdf
