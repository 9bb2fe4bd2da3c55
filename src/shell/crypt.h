#pragma once
// The scrambling of the stored password: each character's low byte is XORed with the
// high byte of a running 16-bit key and written as two upper-case hexadecimal digits;
// the key then advances by key = ((s + key) * 40493 + 52841) mod 65536 over the
// scrambled byte s. The constants are fixed: a store written with others cannot be read.
#include <QString>

#include <stdexcept>

namespace orv::shell {

// A text that is not a scrambled value (a digit pair that is not hexadecimal).
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plain text to hexadecimal text; only the low 8 bits of each character take part.
QString Cifra(const QString& plain);
// Hexadecimal text (either case) to plain text of characters U+0000 to U+00FF; an odd
// last digit is ignored. Throws orv::shell::ConversionError on a pair that is not hexadecimal.
QString Decifra(const QString& hex);

} // namespace orv::shell
