#pragma once
// The check routines behind the four checker windows: pure functions of the text, with
// no window and no state, so the editors and the tests can use them directly.
#include <QString>

namespace orv::kit {

// Italian tax code of 16 characters: true when the 16th character is the control letter
// of the first fifteen. A text of another length, or with characters the tables do not
// know, is wrong. Omocodic codes (digits replaced by letters) use the same tables.
bool ControllaCodFisc(const QString& text);

// Italian VAT number: exactly eleven digits whose last one is the control digit.
bool ControllaPartitaIva(const QString& text);
// The tax office of a three-digit office code (digits 8 to 10 of a VAT number); the
// empty text for a code not in the table.
QString UfficioIva(const QString& code);

// Card number: 0 when wrong; for a number that passes the Luhn check, the value of its
// first digit minus 2 (1 for 3, 2 for 4, 3 for 5, 4 for 6, other values for the rest).
// Only the digits among the first 20 characters count.
int ControllaCarta(const QString& text);

// IBAN (ISO 13616, MOD 97-10): spaces removed, valid when ModuloIban gives 1.
bool ControllaIban(const QString& text);
// The remainder modulo 97 of the rearranged IBAN: upper-cased, the first "IBAN" removed,
// the first four characters moved to the end, letters turned into numbers. 0 when the
// text holds a character other than 0-9 and A-Z, or nothing at all.
int ModuloIban(const QString& text);
// Every letter A-Z replaced by its number 10-35; other characters stay.
QString NumeriIban(const QString& text);

} // namespace orv::kit

namespace orv::kit {

// The card family the card window names for a ControllaCarta result; for 1 (first
// digit 3) it depends on the first two characters of the trimmed number. Empty when no
// family is named: for 1 with an unlisted prefix the window says nothing, for any other
// result it reports the number as wrong.
QString cardFamily(int result, const QString& trimmedNumber);

// The tax-code buttons of the editors open the VAT checker for a value of digits only
// and the tax-code checker for anything else, the empty value included.
bool opensVatChecker(const QString& fieldValue);

} // namespace orv::kit
