#pragma once
// How the quote and delivery-note editors turn amount texts into numbers and back, and
// what their number fields do with a text when the focus leaves them. Numbers are read
// into the x87 extended format and written with 15 significant digits; every value kept
// between two steps of a computation is a double.
#include <QString>

namespace orv::documents {

// A text as a number under the process-wide decimal comma: blanks around, an optional
// sign, digits with an optional comma (at least a digit or the comma: the comma alone
// reads as 0), an optional exponent (E or e, optional sign, digits; no digits mean 0).
// Anything else (a point, a second comma, a blank between digits) is not a number.
// The value is the text's decimal value rounded once to the extended format.
bool readNumber(const QString& text, long double& out);

// The general number format: the magnitude scaled to 18 digits and rounded there (ties
// to even), those digits rounded half up to 15 significant digits, trailing zeros
// dropped, the decimal comma, no thousands separator; the exponent form ("1E15",
// "5E-5") only below 0,0001 or from 10^15 on. Zero is "0".
QString numberText(long double v);

// x rounded to n decimals as the documents round: x times 10^n plus 0.5, formed in the
// extended format, truncated toward zero and divided by 10^n, returned as a double. A
// double lying just below a half rounds down; a negative amount moves toward zero.
double Arrotonda(double x, int n);

// The long form of the amount rule, for prices, row amounts and totals: a text without
// a comma gets ",00", a lone comma becomes "0,00", a leading comma gets "0" before it, a
// trailing comma "00" after it, a comma and one digit at the end another "0".
QString NormalizzaImporto(const QString& text);
// The short form, for quantities, discounts and the VAT rate: a lone comma becomes
// empty, a leading comma gets "0" before it, a trailing comma "00" after it.
QString shortForm(const QString& text);

// A quantity, discount or VAT rate when the focus leaves its field: read, rounded to 4
// decimals, written back in the general format, then the short form. A blank text is
// left as it is; a text that is not a number becomes empty.
QString numberOnExit(const QString& text);
// A price when the focus leaves its field: the same with the long form; a blank text
// becomes empty, a text that is not a number "0,00".
QString priceOnExit(const QString& text);

} // namespace orv::documents
