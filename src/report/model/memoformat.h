#pragma once
// Numbers of memos by a numeric display format.
#include "report/base/values.h"

#include <QString>

namespace orv::report {

class TfrxFormat;

// The value through the picture formatting of floats when the format text holds "#" or
// begins with "0", through a format directive otherwise (as an integer for "d" and "u"),
// then with the format's own decimal and thousand separators. Raises when the format
// does not suit the value.
QString frxFormatNumeric(const orv::report::Value& V, const TfrxFormat& Format);

} // namespace orv::report
