#include <gtest/gtest.h>

#include "archive/record.h"

using namespace orv::archive;

namespace {
const RecordLayout& smallLayout()
{
    static const RecordLayout l{{u"Nome"_qs, 5, u"txtNome"_qs}, {u"Flag"_qs, 2, u"chkFlag"_qs, FieldKind::Flag},
                                {u"Note"_qs, 3, u"txtNote"_qs}};
    return l;
}
} // namespace

TEST(RecordCodec, OffsetsAreWidthPlusLengthByte)
{
    const RecordLayout& l = smallLayout();
    EXPECT_EQ(l.size(), 6 + 3 + 4);
    EXPECT_EQ(l.offset(0), 0);
    EXPECT_EQ(l.offset(1), 6);
    EXPECT_EQ(l.offset(2), 9);
    EXPECT_EQ(l.indexOf(u"Note"_qs), 2);
    EXPECT_EQ(l.indexOf(u"Nessuno"_qs), -1);
}

TEST(RecordCodec, StoreTrimsConvertsAndCuts)
{
    const QByteArray r = smallLayout().encode({u"  \tRossi Mario "_qs, u"Sì"_qs, u"€uro"_qs});
    ASSERT_EQ(r.size(), 13);
    // Trimmed first, then cut to the width: the first five bytes remain.
    EXPECT_EQ(r.mid(0, 6), QByteArray("\x05Rossi", 6));
    EXPECT_EQ(r.mid(6, 3), QByteArray("\x02S\xEC", 3));
    // The euro sign is one Windows-1252 byte, so three characters fit.
    EXPECT_EQ(r.mid(9, 4), QByteArray("\x03\x80ur", 4));
    // A character the code page lacks is stored as '?'.
    EXPECT_EQ(smallLayout().encode({u"a\u4e2db"_qs}).mid(0, 4), QByteArray("\x03" "a?b", 4));
}

TEST(RecordCodec, LoadConvertsTrimsAndClampsTheLengthByte)
{
    QByteArray r(13, '\0');
    r.replace(0, 6, QByteArray("\x04 ab \xE8", 6)); // bytes behind the length are ignored
    r.replace(6, 3, QByteArray("\x02N\x6F", 3));
    r.replace(9, 4, QByteArray("\xFFxyz", 4)); // a damaged length byte reads the width only
    const QStringList v = smallLayout().decode(r);
    EXPECT_EQ(v, (QStringList{u"ab"_qs, u"No"_qs, u"xyz"_qs}));
    EXPECT_EQ(smallLayout().fieldText(r, 2), u"xyz"_qs);
}

TEST(RecordCodec, MissingValuesAreStoredEmptyAndRoundTrip)
{
    const QByteArray r = smallLayout().encode({u"Ugo"_qs});
    EXPECT_EQ(r, QByteArray("\x03Ugo\0\0" "\0\0\0" "\0\0\0\0", 13));
    EXPECT_EQ(smallLayout().decode(r), (QStringList{u"Ugo"_qs, QString(), QString()}));
    EXPECT_EQ(smallLayout().encode(smallLayout().decode(r)), r);
}
