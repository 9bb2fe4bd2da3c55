#pragma once
// Articles for the warehouse tests.
#include "warehouse/articolo.h"

#include <initializer_list>
#include <utility>

namespace orv::test {

// An article with the given values; the other fields empty.
inline TArticolo article(std::initializer_list<std::pair<QString TArticolo::*, const char*>> values)
{
    TArticolo a;
    for (const auto& [field, value] : values) a.*field = QString::fromUtf8(value);
    return a;
}

inline QByteArray archiveOf(const QList<TArticolo>& articles)
{
    QByteArray bytes;
    for (const TArticolo& a : articles) bytes += a.encode();
    return bytes;
}

} // namespace orv::test
