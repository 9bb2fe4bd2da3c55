#include "report/model/memoformat.h"

#include "report/base/errors.h"
#include "report/model/views.h"

QString frxFormatNumeric(const orv::report::Value& V, const TfrxFormat& Format)
{
    throw orv::report::ConvertError(QStringLiteral("Numeric formats are not available"));
}
