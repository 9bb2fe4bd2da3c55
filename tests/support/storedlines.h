#pragma once
// A window's line built from the stored fields of a record must be the line its builder
// gives on the decoded record, for records of every kind of field text: empty, blanks
// around the text, texts longer than any column, accented letters and characters that
// take two bytes in a list (the euro sign, typographic quotes), and records cut short.
#include "archive/lists.h"
#include "archive/record.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv::test {

inline void expectStoredLinesAsDecoded(const archive::RecordLayout& layout,
                                       const std::function<QString(const QByteArray&)>& line,
                                       const archive::StoredLine& stored, int records = 2000)
{
    static const char16_t* const texts[] = {
        u"", u" ", u"Rossi", u"  Rossi Mario  ", u"12", u"01/02/2026", u"ÈCCO è", u"€ 12,50", u"“citata”",
        u"Ferraris Costruzioni Meccaniche Nord Ovest Srl con un nome più lungo di ogni colonna",
        u"0123456789012345678901234567890123456789012345678901234567890"};
    quint32 seed = 17;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    archive::StoredLineBuilder b(layout);
    for (int i = 0; i < records; ++i) {
        QStringList values;
        for (int f = 0; f < layout.fieldCount(); ++f) values << QString::fromUtf16(texts[next() % std::size(texts)]);
        QByteArray record = layout.encode(values);
        // Now and then a record cut short, as the last one of a damaged file.
        if (i % 50 == 49) record = record.left(int(next() % record.size()));
        const QByteArray whole = record + QByteArray(layout.size() - record.size(), '\0');
        b.start(record.constData(), record.size());
        stored(b);
        // A short record's missing fields read as empty: the decoded line of the record
        // padded with zeros, which stores empty texts there.
        ASSERT_EQ(b.str(), line(record.size() == layout.size() ? record : whole)) << i;
    }
}

} // namespace orv::test
