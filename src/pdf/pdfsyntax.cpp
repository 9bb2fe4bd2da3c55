#include "pdf/pdfsyntax.h"

#include "report/base/utils.h"

#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace orv::pdf {
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

// A page holds tens of thousands of numbers, and the engine's general formatter goes
// through text it allocates. The same rounding is done here on the binary value: times
// 100 it is exact in the 64-bit mantissa of a long double, so the whole hundredths and the
// rest are exact too. The engine rounds half away from zero on the value already rounded
// to 8 decimals, which can only matter when the rest lies within a millionth of one half;
// those values, and any beyond the fast range, go the engine's way.
char* writeFixed(char* out, double value)
{
    static_assert(std::numeric_limits<long double>::digits >= 60);
    const auto engine = [out, value] {
        const QByteArray text = frxFloatToFixed(2, u'.', value).toLatin1();
        std::memcpy(out, text.constData(), std::size_t(text.size()));
        return out + text.size();
    };
    const double magnitude = std::fabs(value);
    if (!(magnitude < kFastFixedLimit))
        return engine();
    const long double hundredths = static_cast<long double>(magnitude) * 100;
    std::uint64_t whole = static_cast<std::uint64_t>(hundredths);
    const long double rest = hundredths - static_cast<long double>(whole);
    if (std::fabs(rest - 0.5L) < 1e-6L)
        return engine();
    if (rest > 0.5L)
        ++whole;
    char buffer[24];
    char* p = buffer + sizeof buffer;
    const bool negative = value < 0 && whole != 0;
    *--p = char('0' + whole % 10);
    whole /= 10;
    *--p = char('0' + whole % 10);
    whole /= 10;
    *--p = '.';
    do {
        *--p = char('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (negative)
        *--p = '-';
    const std::size_t length = std::size_t(buffer + sizeof buffer - p);
    std::memcpy(out, p, length);
    return out + length;
}

void appendFixed(QByteArray& out, double value)
{
    if (!(std::fabs(value) < kFastFixedLimit)) {
        out += frxFloatToFixed(2, u'.', value).toLatin1();
        return;
    }
    char buffer[kFixedRoom];
    out.append(buffer, writeFixed(buffer, value) - buffer);
}

QByteArray fixed(double value)
{
    QByteArray out;
    appendFixed(out, value);
    return out;
}

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
    if (style != fsDash && style != fsDot && style != fsDashDot && style != fsDashDotDot)
        return QByteArrayLiteral("[] 0 d");
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

QByteArray hex4(std::uint16_t value)
{
    QByteArray out;
    appendHex4(out, value);
    return out;
}

void appendHex4(QByteArray& out, std::uint16_t value)
{
    char digits[4];
    out.append(digits, writeHex4(digits, value) - digits);
}

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
    // One stream per thread, reset for each use: setting a stream up anew for each page
    // costs about as much as compressing the page. The bytes are those of a fresh stream.
    struct Stream {
        z_stream z{};
        bool ready = false;
        ~Stream()
        {
            if (ready)
                deflateEnd(&z);
        }
    };
    thread_local Stream stream;
    if (!stream.ready) {
        if (deflateInit2(&stream.z, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::runtime_error("Compressione del flusso non riuscita");
        stream.ready = true;
    } else if (deflateReset(&stream.z) != Z_OK) {
        throw std::runtime_error("Compressione del flusso non riuscita");
    }
    z_stream& z = stream.z;
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    if (::deflate(&z, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("Compressione del flusso non riuscita");
    out.resize(qsizetype(z.total_out));
    return out;
}

} // namespace orv::pdf
