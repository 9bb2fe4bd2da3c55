#pragma once
// Lets GoogleTest print QString values in failure messages. One definition for every test
// folder: several test sources that include it may be compiled as one unit.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
