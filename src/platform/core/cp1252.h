#pragma once
// Windows-1252, the code page of every archive record, settings file and export file.
// Our own table: Qt 6 has no such codec without ICU.
#include <QByteArray>
#include <QString>

namespace orv::platform::cp1252 {

// The character of one byte. The five bytes Windows-1252 leaves undefined map to the
// C1 control characters of the same value, as the original platform does.
char16_t toUnicode(unsigned char b);
// The byte of one character, or -1 when the code page has none.
int fromUnicode(char16_t c);

QString decode(const QByteArray& bytes);
QString decode(const char* data, qsizetype size);
// Characters without a byte become '?'; *lossless tells whether that happened.
QByteArray encode(const QString& text, bool* lossless = nullptr);
bool canEncode(const QString& text);

} // namespace orv::platform::cp1252
