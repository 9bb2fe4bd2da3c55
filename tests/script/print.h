#pragma once
// Readable test messages for Qt texts.
#include <QString>
#include <ostream>

#include "qstring_printer.h"
