#pragma once
// Numbers written through pictures and format strings under the process-wide format
// settings: the picture formatting of FormatFloat ("#,##0.00") and the directives of
// Format ("%d", "%-10s", "%.2f", "%1:s"). Shared by the script engine's built-in functions
// and the report engine's display formats.
#include <QString>
#include <span>

#include "platform/core/exceptions.h"
#include "platform/core/formats.h"

namespace orv::platform {

// Picture codes: "0" digit, "#" optional digit, "." decimal point, "," thousands
// grouping, "E+" "E-" "e+" "e-" scientific notation, quoted text copied, and up to three
// sections separated by ";" for positive, negative and zero values. An empty picture
// gives the general format.
QString formatFloatPicture(const QString& picture, long double value, const FormatSettings& fs = formats());

// One argument of formatString.
struct FormatArg {
    enum class Kind { Integer, Int64, Float, String, Boolean, Other };
    Kind kind = Kind::Other;
    qint64 integer = 0;   // Integer (32-bit), Int64, Boolean (0 or 1)
    long double number = 0;
    QString text;

    static FormatArg fromInt(qint32 v) { FormatArg a; a.kind = Kind::Integer; a.integer = v; return a; }
    static FormatArg fromInt64(qint64 v) { FormatArg a; a.kind = Kind::Int64; a.integer = v; return a; }
    static FormatArg fromFloat(long double v) { FormatArg a; a.kind = Kind::Float; a.number = v; return a; }
    static FormatArg fromString(const QString& v) { FormatArg a; a.kind = Kind::String; a.text = v; return a; }
    static FormatArg fromBool(bool v) { FormatArg a; a.kind = Kind::Boolean; a.integer = v ? 1 : 0; return a; }
};

// Directives: "%" [index ":"] ["-"] [width] ["." precision] type, with the types d, u, e,
// f, g, n, m, p, s, x; "%%" is a percent sign; width and precision may be "*", taken
// from the next argument. A directive without its argument, or with an argument of the
// wrong kind, raises EConvertError; texts are never cut unless a precision asks for it.
QString formatString(const QString& format, std::span<const FormatArg> args, const FormatSettings& fs = formats());

// "Format '%s' invalid or incompatible with argument" and "No argument for format '%s'".
QString invalidFormatText(const QString& format);
QString argumentMissingText(const QString& format);

} // namespace orv::platform
