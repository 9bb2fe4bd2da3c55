// The delivery-note record, its list line, the not-delivered selection and the export's
// sheet and cells, without any window.
#include "ddt/recordddt.h"

#include <gtest/gtest.h>

#include <ostream>

#include "qstring_printer.h"

using namespace orv::ddt;

namespace {

TEST(DdtRecord, FieldsOffsetsWidthsAndControls)
{
    const orv::archive::RecordLayout& l = TDDT::layout();
    EXPECT_EQ(l.fieldCount(), 247);
    EXPECT_EQ(l.size(), 4957);
    const struct {
        const char* field;
        int offset;
        int width;
        const char* control;
    } cases[] = {
        {"NumFatt", 0, 30, "txtNumFatt"},           {"Data", 31, 20, "txtData"},
        {"Ditta", 52, 50, "txtDitta"},              {"ProvDitta", 218, 2, "txtProvDitta"},
        {"Libero02", 334, 50, "txtLibero02"},       {"Cliente", 385, 50, "txtCliente"},
        {"ProvCliente", 551, 2, "txtProvCliente"},  {"CodFiscCliente", 585, 30, "txtCodFiscCliente"},
        {"Riferimenti", 616, 50, "txtRiferimenti"}, {"Iban", 769, 50, "txtIban"},
        {"Vettore", 820, 50, "memVettore"},         {"Destinazione", 871, 50, "memDestinazione"},
        {"Causale", 922, 50, "memCausale"},         {"Aspetto", 973, 50, "memAspetto"},
        {"OraPartenza", 1024, 50, "memOraPartenza"}, {"OraConsegna", 1075, 50, "memOraConsegna"},
        {"Porto", 1126, 30, "memPorto"},            {"Quant01", 1157, 6, "txtQuant01"},
        {"Quant30", 1360, 6, "txtQuant30"},         {"Codice01", 1367, 20, "txtCodice01"},
        {"Codice30", 1976, 20, "txtCodice30"},      {"Desc01", 1997, 55, "txtDesc01"},
        {"Desc30", 3621, 55, "txtDesc30"},          {"Prezzo01", 3677, 10, "txtPrezzo01"},
        {"Prezzo30", 3996, 10, "txtPrezzo30"},      {"PercSconto01", 4007, 6, "txtPercSconto01"},
        {"PercSconto30", 4210, 6, "txtPercSconto30"}, {"Importo01", 4217, 10, "txtImporto01"},
        {"Importo30", 4536, 10, "txtImporto30"},    {"Es01", 4547, 2, "chkEs01"},
        {"Es30", 4634, 2, "chkEs30"},               {"TotImponibile", 4637, 10, "txtTotImponibile"},
        {"PercIva", 4648, 10, "txtPercIva"},        {"TotImposta", 4659, 10, "txtTotImposta"},
        {"TotIva", 4670, 10, "txtTotIva"},          {"TotEsente", 4681, 10, "txtTotEsente"},
        {"TotFattura", 4692, 10, "txtTotFattura"},  {"Note", 4703, 250, "txtNote"},
        {"Saldata", 4954, 2, "chkSaldata"},
    };
    for (const auto& c : cases) {
        const int i = l.indexOf(QString::fromLatin1(c.field));
        ASSERT_GE(i, 0) << c.field;
        EXPECT_EQ(l.offset(i), c.offset) << c.field;
        EXPECT_EQ(l.field(i).width, c.width) << c.field;
        EXPECT_EQ(l.field(i).control, QString::fromLatin1(c.control)) << c.field;
    }
    // Each control feeds exactly one field.
    QStringList controls;
    for (const orv::archive::FieldDef& f : l.fields()) controls << f.control;
    controls.removeDuplicates();
    EXPECT_EQ(controls.size(), 247);

    // Flags as "Sì" and "No", texts trimmed and cut to their width.
    TDDT d;
    d.set(u"Saldata"_qs, u"Sì"_qs);
    d.set(u"Es30"_qs, u"No"_qs);
    d.set(u"Porto"_qs, u"  "_qs + QString(40, u'p') + u"  "_qs);
    const QByteArray r = d.encode();
    EXPECT_EQ(r.mid(4954, 3), QByteArray("\x02S\xec"));
    EXPECT_EQ(r.mid(4634, 3), QByteArray("\x02No"));
    EXPECT_EQ(TDDT::decode(r)[u"Porto"_qs], QString(30, u'p'));
}

TEST(DdtRecord, ListLineColumnsAndCuts)
{
    TDDT d;
    d.set(u"NumFatt"_qs, u"12"_qs);
    d.set(u"Data"_qs, u"05/03/2026"_qs);
    d.set(u"Cliente"_qs, u"Rossi Mario"_qs);
    d.set(u"IvaCliente"_qs, u"01234567890"_qs);
    d.set(u"Riferimenti"_qs, u"Caldaia"_qs);
    d.set(u"TotFattura"_qs, u"106,56"_qs);
    const QString line = RigaDDT(d);
    // Number, " del ", date and 8 blanks; the customer and 24 blanks; the total unpadded.
    EXPECT_EQ(line, u"DDT n. 12 del 05/03/2026"_qs + QString(8, u' ') + u"  Rossi Mario"_qs + QString(24, u' ')
                        + u"  P.I. 01234567890  Rif. Caldaia"_qs + QString(28, u' ') + u"  Tot. \u20ac 106,56"_qs);
    EXPECT_EQ(line.indexOf(u"106,56"), 138); // 138 characters before the total

    // Long values are cut; a number of 25 characters leaves no room for the date.
    d.set(u"NumFatt"_qs, QString(25, u'9'));
    d.set(u"Cliente"_qs, QString(40, u'c'));
    d.set(u"IvaCliente"_qs, u"IT01234567890"_qs);
    d.set(u"TotFattura"_qs, u"1506,09"_qs);
    const QString cut = RigaDDT(d);
    EXPECT_EQ(cut.mid(7, 27), QString(25, u'9') + u"  "_qs);
    EXPECT_EQ(cut.mid(34, 35), QString(35, u'c'));
    EXPECT_EQ(cut.mid(76, 11), u"IT012345678"_qs);
    EXPECT_TRUE(cut.endsWith(u"  Tot. \u20ac 1506,09"));
    EXPECT_EQ(cut.size(), 138 + 7);
}

TEST(DdtRecord, NotDeliveredIsTheExactNo)
{
    for (const auto& [flag, expected] :
         {std::pair{"No", true}, {"no", false}, {"NO", false}, {"Sì", false}, {"", false}, {"N", false}}) {
        TDDT d;
        d.set(u"Saldata"_qs, QString::fromUtf8(flag));
        EXPECT_EQ(orv::ddt::notDelivered(d.encode()), expected) << flag;
    }
}

TEST(DdtRecord, ExportSheetHeadingsAndCells)
{
    const orv::archive::ExportSheet sheet = orv::documents::exportSheet(orv::ddt::exportTexts());
    EXPECT_EQ(sheet.fileName, u"DDT.xls"_qs);
    EXPECT_EQ(sheet.sheetName, u"Riepilogo DDT"_qs);
    ASSERT_EQ(sheet.columns.size(), 25);
    const struct {
        int column;
        const char* heading;
        int width;
    } cases[] = {{0, "DDT n.", 160},         {6, "Cognome e nome Cliente", 250}, {8, "CAP", 70},
                 {16, "IBAN", 250},           {22, "TOTALE DDT", 150},            {24, "Consegnato", 100}};
    for (const auto& c : cases) {
        EXPECT_EQ(sheet.columns[c.column].heading, QString::fromUtf8(c.heading)) << c.column;
        EXPECT_EQ(sheet.columns[c.column].width, c.width) << c.column;
    }
    for (int c = 0; c < 25; ++c) EXPECT_EQ(sheet.columns[c].rightAligned, c >= 17 && c <= 22) << c;

    TDDT d;
    d.set(u"NumFatt"_qs, u"7"_qs);
    d.set(u"Iban"_qs, u"IT60X"_qs);
    d.set(u"TotFattura"_qs, u"1234,50"_qs);
    d.set(u"Saldata"_qs, u"No"_qs);
    d.set(u"Vettore"_qs, u"Alpi"_qs); // transport values are not exported
    const QStringList cells = orv::documents::exportRow(TDDT::layout(), d.values);
    ASSERT_EQ(cells.size(), 25);
    EXPECT_EQ(cells[0], u"7"_qs);
    EXPECT_EQ(cells[16], u"IT60X"_qs);
    EXPECT_EQ(cells[22], u"1234,50"_qs);
    EXPECT_EQ(cells[24], u"No"_qs);
    EXPECT_FALSE(cells.contains(u"Alpi"_qs));
}

} // namespace
