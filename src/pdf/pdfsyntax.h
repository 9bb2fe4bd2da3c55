#pragma once
// The pieces of PDF syntax the document writer composes: numbers, colour operands, dash
// patterns, strings and compressed stream data.
#include "report/base/types.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace orv::pdf {

// Every line of the file ends with carriage return and line feed.
inline constexpr char kEol[] = "\r\n";

// A coordinate, length or colour component: two decimals, "." and no thousands
// separator (595.28, -1.50, 0.00).
QByteArray fixed(double value);
// The same text appended to out.
void appendFixed(QByteArray& out, double value);
// Below this magnitude `fixed` is quick and writes at most kFixedRoom characters.
inline constexpr double kFastFixedLimit = 1e12;
inline constexpr int kFixedRoom = 24;
// The same text written at out, for a value below kFastFixedLimit; the end of the text.
char* writeFixed(char* out, double value);
// A font size: whole sizes as integers (10), others with two decimals (8.25).
QByteArray fontSize(double points);

// A colour (alpha in the high byte, ignored) as three operands: "0 0 0" for opaque black,
// "1 1 1" for opaque white, otherwise red, green and blue over 255 with two decimals.
QByteArray colorOperands(std::uint32_t argb);
// The page's own colour: each component "0", "1" or "0." and two digits of
// component x 100 / 256.
QByteArray pageColorOperands(std::uint32_t argb);

// The "d" operator (without its line end) of a frame style at a line width in pixels.
QByteArray dashLine(report::TfrxFrameStyle style, double width);

// Four upper-case hexadecimal digits.
QByteArray hex4(std::uint16_t value);
// The same digits appended to out, or written at out (returning the end).
void appendHex4(QByteArray& out, std::uint16_t value);
inline char* writeHex4(char* out, std::uint16_t value)
{
    // Inline: a text's glyph ids go through here one by one.
    constexpr char digits[] = "0123456789ABCDEF";
    out[0] = digits[value >> 12];
    out[1] = digits[(value >> 8) & 0xF];
    out[2] = digits[(value >> 4) & 0xF];
    out[3] = digits[value & 0xF];
    return out + 4;
}
// A literal string's contents: line feed, carriage return, parentheses and backslash
// escaped; every other byte as it is.
QByteArray escapeLiteral(const QByteArray& bytes);
// A text string in hexadecimal: "<FEFF" and the UTF-16 code units, ">".
QByteArray hexTextString(const QString& text);
// The bytes of a text string before encryption: FE FF and the text in UTF-16 big-endian.
QByteArray utf16beWithMarker(const QString& text);

// zlib format (window bits 15) at the fastest level.
QByteArray deflate(const QByteArray& data);

} // namespace orv::pdf
