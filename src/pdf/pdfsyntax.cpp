#include "pdf/pdfsyntax.h"

#include "report/base/utils.h"

#include <zlib.h>

#include <cmath>
#include <stdexcept>

namespace orv::pdf {

QByteArray fixed(double value) { return frxFloatToFixed(2, u'.', value).toLatin1(); }

QByteArray fontSize(double points)
{
    const double whole = std::round(points);
    if (std::fabs(points - whole) < 0.005)
        return QByteArray::number(qint64(whole));
    return fixed(points);
}

QByteArray colorOperands(std::uint32_t argb)
{
    if (argb == 0xFF000000u)
        return QByteArrayLiteral("0 0 0");
    if (argb == 0xFFFFFFFFu)
        return QByteArrayLiteral("1 1 1");
    const auto part = [argb](int shift) { return fixed(double((argb >> shift) & 0xFF) / 255); };
    return part(16) + ' ' + part(8) + ' ' + part(0);
}

QByteArray pageColorOperands(std::uint32_t argb)
{
    const auto part = [argb](int shift) -> QByteArray {
        const int c = int((argb >> shift) & 0xFF);
        if (c == 0)
            return QByteArrayLiteral("0");
        if (c == 255)
            return QByteArrayLiteral("1");
        return "0." + QByteArray::number(c * 100 / 256).rightJustified(2, '0');
    };
    return part(16) + ' ' + part(8) + ' ' + part(0);
}

QByteArray dashLine(TfrxFrameStyle style, double width)
{
    const QByteArray a = fixed(width * 6) + ' ';
    const QByteArray b = fixed(width * 2) + ' ';
    switch (style) {
    case fsDash:
        return '[' + a + "] 0 d";
    case fsDot:
        return '[' + b + a + "] 0 d";
    case fsDashDot:
        return '[' + a + a + b + a + "] 0 d";
    case fsDashDotDot:
        return '[' + a + a + b + a + b + a + "] 0 d";
    case fsSolid:
    case fsDouble:
    case fsAltDot:
    case fsSquare:
        break;
    }
    return QByteArrayLiteral("[] 0 d");
}

QByteArray hex4(std::uint16_t value) { return QByteArray::number(value, 16).toUpper().rightJustified(4, '0'); }

QByteArray escapeLiteral(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8 + 2);
    for (char c : bytes) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '(':
        case ')':
        case '\\':
            out += '\\';
            out += c;
            break;
        default:
            out += c;
        }
    }
    return out;
}

QByteArray hexTextString(const QString& text)
{
    QByteArray out = "<FEFF";
    for (QChar c : text)
        out += hex4(c.unicode());
    return out + '>';
}

QByteArray utf16beWithMarker(const QString& text)
{
    QByteArray out;
    out.reserve(2 + 2 * text.size());
    out += char(0xFE);
    out += char(0xFF);
    for (QChar c : text) {
        out += char(c.unicode() >> 8);
        out += char(c.unicode() & 0xFF);
    }
    return out;
}

QByteArray deflate(const QByteArray& data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
                  uLong(data.size()), Z_BEST_SPEED) != Z_OK)
        throw std::runtime_error("Stream compression failed");
    out.resize(qsizetype(size));
    return out;
}

} // namespace orv::pdf
