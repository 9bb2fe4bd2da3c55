#include "report/model/memoformat.h"

#include "platform/core/formats.h"
#include "platform/core/numberformat.h"
#include "report/base/errors.h"
#include "report/model/views.h"

namespace orv::report {
using namespace orv::script;
} // namespace orv::report


namespace orv::report {

QString frxFormatNumeric(const orv::report::Value& V, const TfrxFormat& Format)
{
    const QString& f = Format.FormatStr();
    const orv::platform::FormatSettings& fs = orv::platform::formats();
    QString result;
    if (f.contains(u'#') || f.startsWith(u'0')) {
        result = orv::platform::formatFloatPicture(f, static_cast<long double>(V.toDouble()));
    } else if (f.contains(u'd') || f.contains(u'u')) {
        const orv::platform::FormatArg arg = orv::platform::FormatArg::fromInt(V.toInt());
        result = orv::platform::formatString(f, std::span<const orv::platform::FormatArg>(&arg, 1));
    } else {
        const orv::platform::FormatArg arg = orv::platform::FormatArg::fromFloat(static_cast<long double>(V.toDouble()));
        result = orv::platform::formatString(f, std::span<const orv::platform::FormatArg>(&arg, 1));
    }
    // The format's own separators replace the process's: the decimal one only at its
    // last place, so that a thousand separator turned into the same character stays.
    qsizetype decimalAt = -1;
    if (Format.DecimalSeparator().size() == 1 && Format.DecimalSeparator()[0] != fs.decimalSeparator)
        decimalAt = result.lastIndexOf(fs.decimalSeparator);
    if (Format.ThousandSeparator().size() == 1 && Format.ThousandSeparator()[0] != fs.thousandSeparator)
        result.replace(fs.thousandSeparator, Format.ThousandSeparator()[0]);
    if (decimalAt >= 0)
        result[decimalAt] = Format.DecimalSeparator()[0];
    return result;
}

} // namespace orv::report
