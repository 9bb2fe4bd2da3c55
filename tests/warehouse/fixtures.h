#pragma once
// Articles for the warehouse tests.
#include "warehouse/articolo.h"

#include <initializer_list>
#include <utility>

namespace orv::test {

// An article with the given values; the other fields empty.
inline warehouse::TArticolo article(std::initializer_list<std::pair<QString warehouse::TArticolo::*, const char*>> values)
{
    warehouse::TArticolo a;
    for (const auto& [field, value] : values) a.*field = QString::fromUtf8(value);
    return a;
}

inline QByteArray archiveOf(const QList<warehouse::TArticolo>& articles)
{
    QByteArray bytes;
    for (const warehouse::TArticolo& a : articles) bytes += a.encode();
    return bytes;
}

} // namespace orv::test
