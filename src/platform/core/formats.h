#pragma once
// The process-wide format settings and the number and date texts written and read under
// them. Numbers are never formatted or parsed through the C or C++ locale: Qt calls
// setlocale, and a user's locale must not change what the archives hold.
#include <QString>
#include <QStringList>

namespace orv::platform {

static_assert(sizeof(long double) > sizeof(double) && __LDBL_MANT_DIG__ == 64,
              "amounts are computed in x86 extended precision");

struct FormatSettings {
    QChar decimalSeparator = u',';
    QChar thousandSeparator = u'.';
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
    QString longDateFormat = QStringLiteral("dddd d mmmm yyyy");
    QString shortTimeFormat = QStringLiteral("hh:nn");
    QString longTimeFormat = QStringLiteral("hh:nn:ss");
    QString timeAMString = QStringLiteral("AM");
    QString timePMString = QStringLiteral("PM");
    int twoDigitYearCenturyWindow = 50;
    QStringList shortMonthNames, longMonthNames; // 12 each, January first
    QStringList shortDayNames, longDayNames;     // 7 each, Sunday first

    FormatSettings();
};

// The one process-wide settings object. applyProgramFormats() makes the program's own
// settings (date "dd/mm/yyyy", separator "/", decimal ","); start-up calls it before any
// window exists, tests may change fields and call it again to restore.
FormatSettings& formats();
void applyProgramFormats();

// Floating value in the general format: up to `precision` significant digits, no
// trailing zeros, exponent ("1E20", "1,5E-7") only when the fixed form would need more
// than `precision` integer digits or the value is below 0.00001.
QString floatToStr(long double v, const FormatSettings& fs = formats(), int precision = 15);
// Plain decimal number: optional blanks around, optional sign, digits with an optional
// decimal separator, optional exponent. No thousands separators.
bool tryStrToFloat(const QString& s, long double& out, const FormatSettings& fs = formats());
bool tryStrToFloat(const QString& s, double& out, const FormatSettings& fs = formats());
// Whole number: optional blanks before, optional sign, decimal digits or "$"/"0x" hex.
bool tryStrToInt64(const QString& s, qint64& out);
bool tryStrToInt(const QString& s, int& out);

// Date and time as a count of days since 30 December 1899, the fraction the time of day.
using TDateTime = double;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool tryEncodeDate(int year, int month, int day, TDateTime& out);
bool tryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out);
void decodeDate(TDateTime dt, int& year, int& month, int& day);
void decodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec);
int dayOfWeek(TDateTime dt); // 1 = Sunday .. 7 = Saturday

// A date typed as day, month and optional year under the date separator. Blanks may
// stand around each number and separator, one trailing separator is allowed, a missing
// year is `currentYear`, a one- or two-digit year is completed into the century window
// that starts twoDigitYearCenturyWindow years before `currentYear`.
bool tryStrToDate(const QString& s, TDateTime& out, int currentYear,
                  const FormatSettings& fs = formats());
// "hh:nn[:ss]" with optional AM/PM; blanks around numbers allowed.
bool tryStrToTime(const QString& s, TDateTime& out, const FormatSettings& fs = formats());

// Date-time picture codes: c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn
// s ss z zzz t tt am/pm a/p ampm / : and quoted literals; "m" right after an hour is the
// minute. Codes are case-insensitive.
QString formatDateTime(const QString& picture, TDateTime dt, const FormatSettings& fs = formats());
QString dateToStr(TDateTime dt, const FormatSettings& fs = formats());
QString timeToStr(TDateTime dt, const FormatSettings& fs = formats());
// The date, and the long time after a blank unless the time is exactly midnight.
QString dateTimeToStr(TDateTime dt, const FormatSettings& fs = formats());

} // namespace orv::platform
