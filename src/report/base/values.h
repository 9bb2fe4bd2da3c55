#pragma once
// Values of report expressions are script values, with the script engine's conversion and
// comparison rules; variables, datasets and program events hand QVariants over, which
// cross into script values here.
#include "script/core/value.h"

#include <QVariant>

namespace orv::report {

using Value = orv::script::Value;

// Invalid and null variants give Null; dates and date-times keep their date type.
Value toValue(const QVariant& v);
// Empty gives an invalid variant, Null a null one, dates a QDateTime.
QVariant toVariant(const Value& v);
// True for a value that is a number equal to 0 (not for texts).
bool isNumericZero(const Value& v);

} // namespace orv::report
