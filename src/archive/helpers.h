#pragma once
// The text and number helpers every window of the program uses: one copy for all.
#include <QString>

namespace orv::archive {

// The first n characters of s; all of s when it is shorter.
QString Sinistra(const QString& s, int n);
// The last n characters of s; all of s when it is shorter.
QString Destra(const QString& s, int n);
// True when every character is a digit 0-9; true for an empty text.
bool SoloCifre(const QString& s);
// True when s is a day/month[/year] date under the process-wide format that exists.
bool DataValida(const QString& s);
// x rounded half up to n decimals: Floor(x * 10^n + 0.5) / 10^n, in extended precision.
double Arrotonda(double x, int n);

enum class AmountKind {
    Money, // amounts: an empty or non-numeric text becomes "0,00", two decimals at least
    Short, // quantities, discounts, rates: an empty text stays empty, no ",00" added
    Whole, // stock and rates of the warehouse: a whole number (n is always 0), "0" when empty or wrong
};

// The text of a number field normalised on leaving it, or after a computation: read,
// rounded to n decimals and written in its shortest form, then the comma rules of its
// kind. `fallback` is what the short kind gives for a text that is not a number.
QString NormalizzaImporto(const QString& text, orv::archive::AmountKind kind, int n,
                          const QString& fallback = QString());

} // namespace orv::archive
