// Number fields are never cut: the codec tells which value would not fit, counting the
// text as it is stored (trimmed, one byte per Windows-1252 character). Text fields stay
// cut at their width, as every archive expects.
#include <gtest/gtest.h>

#include "archive/record.h"

using namespace orv::archive;

TEST(NumberWidth, TheFirstNumberThatWouldBeCutIsFoundTextsNeverAre)
{
    const RecordLayout l{{u"Nome"_qs, 3, u"txtNome"_qs},
                         {u"Prezzo"_qs, 5, u"txtPrezzo"_qs, FieldKind::Number, u"Prezzo"_qs},
                         {u"Flag"_qs, 2, u"chkFlag"_qs, FieldKind::Flag},
                         {u"Totale"_qs, 4, u"txtTotale"_qs, FieldKind::Number}};
    const struct {
        QStringList values;
        int overlong;
    } cases[] = {
        {{u"Rossi Mario"_qs, u"12,50"_qs, u"Sì"_qs, u"9,00"_qs}, -1}, // a long text is cut, not refused
        {{u"a"_qs, u"  1,00 \t"_qs, u"Sì"_qs, u"€ 10"_qs}, -1},        // blanks trimmed, "€" one byte
        {{u"a"_qs, u"123,50"_qs, u"Sì"_qs, u"99,00"_qs}, 1},           // the first in record order
        {{u"a"_qs, u"1,00"_qs, u"Sì"_qs, u"99,00"_qs}, 3},
        {{u"a"_qs}, -1},                                                // missing values are empty
    };
    for (const auto& c : cases)
        EXPECT_EQ(l.firstOverlongNumber(c.values), c.overlong) << c.values.join(u'|').toStdString();
    EXPECT_EQ(l.field(1).title(), u"Prezzo"_qs);
    EXPECT_EQ(l.field(3).title(), u"Totale"_qs); // no caption: the field's name
}
