#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

#include "pdf/imageconvert.h"

using namespace orv::pdf;

namespace {

QByteArray encode(const QImage& image, int code)
{
    QByteArray data;
    QBuffer stream(&data);
    stream.open(QIODevice::WriteOnly);
    frxBitmapToStream(image, stream, code);
    return data;
}

QImage sample(int w, int h, int colours)
{
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(7);
    QList<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette << qRgb(i, (i * 37) % 256, 255 - i);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            // Runs and noise, so the codes grow, repeat and the code table fills up.
            image.setPixel(x, y, palette[(x / 3 + y) % 5 == 0 ? random.bounded(colours) : (x + y) % colours]);
    return image;
}

struct JpegFrame {
    int marker = 0;
    int components = 0;
};

// The frame header of a JPEG stream: which start-of-frame marker, how many components.
JpegFrame jpegFrame(const QByteArray& jpeg)
{
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && std::uint8_t(jpeg[at]) == 0xFF) {
        const int marker = std::uint8_t(jpeg[at + 1]);
        const int length = std::uint8_t(jpeg[at + 2]) << 8 | std::uint8_t(jpeg[at + 3]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {marker, std::uint8_t(jpeg[at + 9])};
        at += 2 + length;
    }
    return {};
}

} // namespace

TEST(PictureEncoding, TypeCodesSelectTheEncoding)
{
    const QImage image = sample(40, 30, 50);
    const struct {
        int code;
        QByteArray signature;
    } cases[] = {
        {0, "\x89PNG"}, {1, "BM"}, {2, "\x89PNG"}, {3, "\x89PNG"},
        {4, "\xff\xd8\xff"}, {5, "GIF89a"}, {6, ""}, {-1, ""},
    };
    for (const auto& c : cases) {
        const QByteArray data = encode(image, c.code);
        if (c.signature.isEmpty()) {
            EXPECT_TRUE(data.isEmpty()) << c.code;
            continue;
        }
        EXPECT_TRUE(data.startsWith(c.signature)) << c.code;
        EXPECT_EQ(QImage::fromData(data).size(), image.size()) << c.code;
    }
}

TEST(PictureEncoding, JpegIsBaselineWithThreeComponentsEvenForGreyPictures)
{
    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(128);
    QImage mono(16, 16, QImage::Format_Mono);
    mono.fill(1);
    for (const QImage& image : {grey, mono, sample(16, 16, 3)}) {
        const JpegFrame frame = jpegFrame(encode(image, 4));
        EXPECT_EQ(frame.marker, 0xC0);
        EXPECT_EQ(frame.components, 3);
    }
}

TEST(PictureEncoding, TransparentPartsOfJpegAndGifAreWhite)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int code : {4, 5}) {
        const QImage back = QImage::fromData(encode(image, code));
        EXPECT_GE(qRed(back.pixel(10, 10)), 250) << code;
        EXPECT_GE(qBlue(back.pixel(0, 0)), 250) << code;
    }
}

TEST(PictureEncoding, GifKeepsPicturesOfUpTo256ColoursExactly)
{
    for (const QImage& image : {sample(301, 211, 256), sample(37, 5, 2), sample(1, 1, 1), sample(64, 64, 17)}) {
        const QImage back = QImage::fromData(encode(image, 5), "GIF").convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), image.size());
        EXPECT_EQ(back, image) << image.width() << "x" << image.height();
    }
}

TEST(PictureEncoding, GifOfMoreColoursStaysClose)
{
    QImage image(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y * 4, 255 - x));
    const QImage back = QImage::fromData(encode(image, 5), "GIF").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), image.size());
    // Dithered to a cube of colours: each 8 x 8 area keeps its mean colour.
    for (int by = 0; by < 64; by += 8)
        for (int bx = 0; bx < 256; bx += 8) {
            int diff[3] = {};
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x) {
                    diff[0] += qRed(back.pixel(x, y)) - qRed(image.pixel(x, y));
                    diff[1] += qGreen(back.pixel(x, y)) - qGreen(image.pixel(x, y));
                    diff[2] += qBlue(back.pixel(x, y)) - qBlue(image.pixel(x, y));
                }
            for (int d : diff)
                EXPECT_LE(std::abs(d) / 64, 26) << bx << "," << by;
        }
}

TEST(PictureEncoding, AnEmptyPictureIsAnError)
{
    for (int code : {1, 4, 5})
        EXPECT_THROW(encode(QImage(), code), std::runtime_error) << code;
}
