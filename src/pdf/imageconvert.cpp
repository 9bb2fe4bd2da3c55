#include "pdf/imageconvert.h"

#include <QImageWriter>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace orv::pdf {

namespace {

// The picture over a white background, without alpha.
QImage opaqueOnWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    const QImage src = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int rest = 255 - qAlpha(in[x]);
            line[x] = qRgb(qRed(in[x]) + rest, qGreen(in[x]) + rest, qBlue(in[x]) + rest);
        }
    }
    return out;
}

void writeWithQt(const QImage& image, QIODevice& stream, const char* format)
{
    QImageWriter writer(&stream, format);
    if (!writer.write(image))
        throw std::runtime_error("Cannot write the picture as " + std::string(format) + ": " +
                                 writer.errorString().toStdString());
}

// Variable-length codes packed from the low bit up, in sub-blocks of at most 255 bytes.
class GifCodeWriter {
public:
    explicit GifCodeWriter(QByteArray& out) : m_out(out) {}
    void write(int code, int size)
    {
        m_bits |= std::uint32_t(code) << m_count;
        m_count += size;
        while (m_count >= 8) {
            put(char(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void finish()
    {
        if (m_count > 0)
            put(char(m_bits & 0xFF));
        flushBlock();
        m_out.append('\0'); // block terminator
    }

private:
    void put(char byte)
    {
        m_block.append(byte);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }

    QByteArray& m_out;
    QByteArray m_block;
    std::uint32_t m_bits = 0;
    int m_count = 0;
};

void appendLE16(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

} // namespace

} // namespace orv::pdf

namespace orv::pdf {

QByteArray encodeGif(const QImage& image)
{
    if (image.isNull())
        throw std::runtime_error("Cannot write an empty picture as gif");
    if (image.width() > 0xFFFF || image.height() > 0xFFFF)
        throw std::runtime_error("The picture is too large for gif");
    const QImage indexed = opaqueOnWhite(image).convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    const QList<QRgb> palette = indexed.colorTable();

    int tableBits = 1; // the colour table holds 2^tableBits entries
    while ((1 << tableBits) < palette.size())
        ++tableBits;

    QByteArray out("GIF89a");
    appendLE16(out, image.width());
    appendLE16(out, image.height());
    out.append(char(0x80 | (7 << 4) | (tableBits - 1))); // global table, 8-bit colour resolution
    out.append('\0');                                    // background colour
    out.append('\0');                                    // pixel aspect ratio
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = palette.value(i, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(',');
    appendLE16(out, 0);
    appendLE16(out, 0);
    appendLE16(out, image.width());
    appendLE16(out, image.height());
    out.append('\0'); // no local table, not interlaced

    const int minCodeSize = std::max(2, tableBits);
    out.append(char(minCodeSize));
    const int clearCode = 1 << minCodeSize;
    GifCodeWriter codes(out);
    std::unordered_map<std::uint32_t, int> table;
    table.reserve(4096);
    int codeSize = minCodeSize + 1;
    int maxCode = clearCode + 1;
    codes.write(clearCode, codeSize);
    int current = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int pixel = line[x];
            if (current < 0) {
                current = pixel;
                continue;
            }
            const std::uint32_t key = std::uint32_t(current) << 8 | std::uint32_t(pixel);
            if (auto it = table.find(key); it != table.end()) {
                current = it->second;
                continue;
            }
            codes.write(current, codeSize);
            table.emplace(key, ++maxCode);
            if (maxCode >= (1 << codeSize))
                ++codeSize;
            if (maxCode == 4095) {
                codes.write(clearCode, codeSize);
                table.clear();
                codeSize = minCodeSize + 1;
                maxCode = clearCode + 1;
            }
            current = pixel;
        }
    }
    if (current >= 0)
        codes.write(current, codeSize);
    codes.write(clearCode + 1, codeSize); // end of information
    codes.finish();
    out.append(';');
    return out;
}

} // namespace orv::pdf

namespace orv::pdf {

void frxBitmapToStream(const QImage& bitmap, QIODevice& stream, int pictureType)
{
    switch (pictureType) {
    case 0:
    case 2:
    case 3:
        writeWithQt(bitmap, stream, "png");
        break;
    case 1:
        writeWithQt(bitmap, stream, "bmp");
        break;
    case 4:
        // Always three components: a grey picture would otherwise become a one-component JPEG.
        writeWithQt(bitmap.isNull() ? bitmap : opaqueOnWhite(bitmap), stream, "jpeg");
        break;
    case 5: {
        const QByteArray gif = orv::pdf::encodeGif(bitmap);
        if (stream.write(gif) != gif.size())
            throw std::runtime_error("Cannot write the picture as gif");
        break;
    }
    default:
        break;
    }
}

} // namespace orv::pdf
