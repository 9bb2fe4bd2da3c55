// The quote record, its list line and export cells, and what the quote and delivery-note
// editors compute without a window: row amounts and totals, numbers, year files.
#include "documents/documento.h"
#include "quotes/preventivo.h"

#include "platform/core/services.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

#include <ostream>

#include "qstring_printer.h"

using namespace orv::documents;
using namespace orv::quotes;

using namespace orv::documents;

namespace {

// The editor's controls as plain texts and check states.
class Controls : public orv::archive::EditorView {
public:
    QHash<QString, QString> texts;
    QSet<QString> checked;
    QString text(const QString& c) const override { return texts.value(c); }
    void setText(const QString& c, const QString& t) override { texts[c] = t; }
    bool isChecked(const QString& c) const override { return checked.contains(c); }
    void setChecked(const QString& c, bool on) override
    {
        if (on) checked.insert(c);
        else checked.remove(c);
    }
    void setFocus(const QString&) override {}

    // Row n's quantity, price and discount.
    void row(int n, const char* quantity, const char* price, const char* discount = "", bool exempt = false)
    {
        texts[rowControl(u"txtQuant", n)] = QString::fromUtf8(quantity);
        texts[rowControl(u"txtPrezzo", n)] = QString::fromUtf8(price);
        texts[rowControl(u"txtPercSconto", n)] = QString::fromUtf8(discount);
        setChecked(rowControl(u"chkEs", n), exempt);
    }
    QString amount(int n) const { return text(rowControl(u"txtImporto", n)); }
    QStringList totals() const
    {
        QStringList t;
        for (const QString& name : totalLabels()) t << text(name);
        return t;
    }
};

TEST(QuoteRecord, FieldsOffsetsWidthsAndControls)
{
    const orv::archive::RecordLayout& l = TPreventivo::layout();
    EXPECT_EQ(l.fieldCount(), 246);
    EXPECT_EQ(l.size(), 4886);
    const struct {
        const char* field;
        int offset;
        int width;
        const char* control;
    } cases[] = {
        {"NumFatt", 0, 30, "txtNumFatt"},          {"Data", 31, 20, "txtData"},
        {"ProvDitta", 218, 2, "txtProvDitta"},     {"Libero02", 334, 50, "txtLibero02"},
        {"Cliente", 385, 50, "txtCliente"},        {"CodFiscCliente", 585, 30, "txtCodFiscCliente"},
        {"Iban", 769, 50, "txtIban"},              {"Destinazione", 820, 50, "memVeicolo"},
        {"Vettore", 871, 50, "memMarca"},          {"Aspetto", 922, 50, "memColore"},
        {"Porto", 973, 30, "memImmatricolazione"}, {"Causale", 1004, 50, "memAlimentazione"},
        {"NumeroColli", 1055, 30, "memTarga"},     {"Quant01", 1086, 6, "txtQuant01"},
        {"Quant30", 1289, 6, "txtQuant30"},        {"Codice01", 1296, 20, "txtCodice01"},
        {"Codice30", 1905, 20, "txtCodice30"},     {"Desc01", 1926, 55, "txtDesc01"},
        {"Desc30", 3550, 55, "txtDesc30"},         {"Prezzo01", 3606, 10, "txtPrezzo01"},
        {"Prezzo30", 3925, 10, "txtPrezzo30"},     {"PercSconto01", 3936, 6, "txtPercSconto01"},
        {"PercSconto30", 4139, 6, "txtPercSconto30"}, {"Importo01", 4146, 10, "txtImporto01"},
        {"Importo30", 4465, 10, "txtImporto30"},   {"Es01", 4476, 2, "chkEs01"},
        {"Es30", 4563, 2, "chkEs30"},              {"TotImponibile", 4566, 10, "txtTotImponibile"},
        {"PercIva", 4577, 10, "txtPercIva"},       {"TotImposta", 4588, 10, "txtTotImposta"},
        {"TotIva", 4599, 10, "txtTotIva"},         {"TotEsente", 4610, 10, "txtTotEsente"},
        {"TotFattura", 4621, 10, "txtTotFattura"}, {"Note", 4632, 250, "txtNote"},
        {"Saldata", 4883, 2, "chkSaldata"},
    };
    for (const auto& c : cases) {
        const int i = l.indexOf(QString::fromLatin1(c.field));
        ASSERT_GE(i, 0) << c.field;
        EXPECT_EQ(l.offset(i), c.offset) << c.field;
        EXPECT_EQ(l.field(i).width, c.width) << c.field;
        EXPECT_EQ(l.field(i).control, QString::fromLatin1(c.control)) << c.field;
    }
    // Flags as "Sì" and "No", texts trimmed and cut to their width.
    TPreventivo p;
    p.set(u"Saldata"_qs, u"Sì"_qs);
    p.set(u"Es01"_qs, u"No"_qs);
    p.set(u"Cliente"_qs, u"  "_qs + QString(60, u'x') + u"  "_qs);
    const QByteArray r = p.encode();
    EXPECT_EQ(r.mid(4883, 3), QByteArray("\x02S\xec"));
    EXPECT_EQ(r.mid(4476, 3), QByteArray("\x02No"));
    EXPECT_EQ(TPreventivo::decode(r)[u"Cliente"_qs], QString(50, u'x'));
}

TEST(QuoteRecord, ListLineColumnsAndCuts)
{
    TPreventivo p;
    p.set(u"NumFatt"_qs, u"12/2026"_qs);
    p.set(u"Data"_qs, u"05/03/2026"_qs);
    p.set(u"Cliente"_qs, u"Rossi Mario"_qs);
    p.set(u"IvaCliente"_qs, u"01234567890"_qs);
    p.set(u"Riferimenti"_qs, u"Caldaia"_qs);
    p.set(u"TotFattura"_qs, u"106,56"_qs);
    const QString line = RigaPreventivo(p);
    EXPECT_EQ(line, u"Prev. n. 12/2026 del 05/03/2026   " u"  Rossi Mario                        "
                    u"  P.I. 01234567890  Rif. Caldaia                            "
                    u"  Tot. \u20ac 106,56"_qs);
    EXPECT_EQ(line.indexOf(u"106,56"), 140); // the total starts at character 141

    // Long values are cut; an empty number keeps " del ".
    p.set(u"NumFatt"_qs, QString());
    p.set(u"Cliente"_qs, QString(40, u'c'));
    p.set(u"IvaCliente"_qs, u"IT01234567890"_qs);
    const QString cut = RigaPreventivo(p);
    EXPECT_TRUE(cut.startsWith(u"Prev. n.  del 05/03/2026"));
    EXPECT_EQ(cut.mid(36, 35), QString(35, u'c'));
    EXPECT_EQ(cut.mid(78, 11), u"IT012345678"_qs);
    EXPECT_EQ(cut.indexOf(u"106,56"), 140);
}

TEST(QuoteRecord, PendingIsTheExactYesAndExportCellsFollowTheSheet)
{
    for (const auto& [flag, expected] : {std::pair{"Sì", true}, {"sì", false}, {"No", false}, {"", false}}) {
        TPreventivo p;
        p.set(u"Saldata"_qs, QString::fromUtf8(flag));
        EXPECT_EQ(orv::quotes::pending(p.encode()), expected) << flag;
    }
    const orv::archive::ExportSheet& sheet = orv::quotes::exportSheet();
    EXPECT_EQ(sheet.fileName, u"Preventivi.xls"_qs);
    EXPECT_EQ(sheet.sheetName, u"Riepilogo annuale preventivi"_qs);
    ASSERT_EQ(sheet.columns.size(), 25);
    EXPECT_EQ(sheet.columns[6].heading, u"Cognome e nome Cliente"_qs);
    EXPECT_EQ(sheet.columns[8].width, 70);
    for (int c = 0; c < 25; ++c) EXPECT_EQ(sheet.columns[c].rightAligned, c >= 17 && c <= 22) << c;
    TPreventivo p;
    p.set(u"TotFattura"_qs, u"1234,50"_qs);
    p.set(u"Saldata"_qs, u"Sì"_qs);
    const QStringList cells = orv::quotes::exportRow(p);
    EXPECT_EQ(cells[22], u"1234,50"_qs);
    EXPECT_EQ(cells[24], u"Sì"_qs);
}

TEST(DocumentCalculation, RowAmounts)
{
    const struct {
        const char* quantity;
        const char* price;
        const char* discount;
        const char* quantityAfter;
        const char* priceAfter;
        const char* amount;
    } cases[] = {
        {"3", "1,99", "10", "3", "1,99", "5,373"},
        {"", "12,5", "", "1", "12,5", "12,50"},
        {"2", "", "", "2", "0,00", "0,00"},
        {"4", "2,5", "", "4", "2,5", "10,00"},
        {"1", "19,99", "15", "1", "19,99", "16,9915"},
        {"3", "0,3333", "", "3", "0,3333", "0,9999"},
        {"7", "117,05", "12,5", "7", "117,05", "716,9312"},
        {"9", "944,71", "12,5", "9", "944,71", "7439,5913"},
        {",", "5", "", ",", "5", "0,00"},
        {"3", "12,345", "10", "3", "12,345", "33,3315"},
        {"1", "0,33333", "", "1", "0,33333", "0,3333"},
        {"1", "0,12345", "", "1", "0,12345", "0,1235"},
        {"1", "0,33335", "", "1", "0,33335", "0,3333"},
        {"4", "2,5", "50", "4", "2,5", "5,00"},
        {"3", "0,1", "", "3", "0,1", "0,30"},
        {"1", "5", "200", "1", "5", "-4,9999"},
        {"3", "1,5", "150", "3", "1,5", "-2,2499"},
    };
    for (const auto& c : cases) {
        Controls v;
        v.row(1, c.quantity, c.price, c.discount);
        Calcola(v);
        EXPECT_EQ(v.text(u"txtQuant01"_qs), QString::fromUtf8(c.quantityAfter)) << c.quantity << " " << c.price;
        EXPECT_EQ(v.text(u"txtPrezzo01"_qs), QString::fromUtf8(c.priceAfter)) << c.quantity << " " << c.price;
        EXPECT_EQ(v.amount(1), QString::fromUtf8(c.amount)) << c.quantity << " " << c.price;
    }
}

TEST(DocumentCalculation, TotalsFromTheAmountsAsShown)
{
    // Taxable, VAT, VAT included, exempt, total.
    {
        Controls v;
        v.row(1, "3", "1,99", "10");
        v.row(2, "2", "50", "", true);
        v.texts[u"txtPercIva"_qs] = u"22"_qs;
        Calcola(v);
        EXPECT_EQ(v.totals(), QStringList({"5,37", "1,18", "6,56", "100,00", "106,56"}));
        v.texts[u"txtPercIva"_qs] = QString();
        Calcola(v);
        EXPECT_EQ(v.text(u"txtPercIva"_qs), u"0"_qs);
        EXPECT_EQ(v.totals(), QStringList({"5,37", "0,00", "5,37", "100,00", "105,37"}));
    }
    const struct {
        const char* price;
        QStringList totals;
    } single[] = {
        {"1,005", {"1,00", "0,22", "1,23", "0,00", "1,23"}},
        {"10,005", {"10,01", "2,20", "12,21", "0,00", "12,21"}},
        {"0,125", {"0,13", "0,03", "0,15", "0,00", "0,15"}},
    };
    for (const auto& s : single) {
        Controls v;
        v.row(1, "1", s.price);
        v.texts[u"txtPercIva"_qs] = u"22"_qs;
        Calcola(v);
        EXPECT_EQ(v.totals(), s.totals) << s.price;
    }
    // Amounts as shown, a skipped row's too: the total with VAT a cent above the two totals.
    Controls v;
    v.texts[u"txtImporto01"_qs] = u"2,675"_qs;
    v.texts[u"txtImporto02"_qs] = u"1,005"_qs;
    v.setChecked(u"chkEs02"_qs, true);
    v.texts[u"txtPercIva"_qs] = u"22"_qs;
    Calcola(v);
    EXPECT_EQ(v.totals(), QStringList({"2,67", "0,59", "3,26", "1,00", "4,27"}));
    EXPECT_EQ(v.amount(1), u"2,675"_qs);

    Controls none;
    Calcola(none);
    EXPECT_EQ(none.totals(), QStringList({"0,00", "0,00", "0,00", "0,00", "0,00"}));
    EXPECT_EQ(none.text(u"txtPercIva"_qs), u"0"_qs);
}

TEST(DocumentCalculation, ATextThatIsNotANumberEndsItWithZeroTotals)
{
    Controls v;
    v.row(1, "2", "10");
    v.row(2, "1,2,3", "5");
    v.row(3, "1", "7");
    v.texts[u"txtImporto02"_qs] = u"9,00"_qs;
    v.texts[u"txtImporto03"_qs] = u"8,00"_qs;
    v.texts[u"txtPercIva"_qs] = QString();
    Calcola(v);
    EXPECT_EQ(v.amount(1), u"20,00"_qs);
    EXPECT_EQ(v.amount(2), u"9,00"_qs);
    EXPECT_EQ(v.amount(3), u"8,00"_qs);
    EXPECT_EQ(v.text(u"txtPercIva"_qs), QString()); // not reached
    EXPECT_EQ(v.totals(), QStringList({"0,00", "0,00", "0,00", "0,00", "0,00"}));

    // A row without quantity and price keeps the text it shows, counted in the totals.
    Controls loaded;
    loaded.row(1, "1", "10");
    loaded.texts[u"txtImporto05"_qs] = u"abc"_qs;
    Calcola(loaded);
    EXPECT_EQ(loaded.amount(1), u"10,00"_qs);
    EXPECT_EQ(loaded.totals(), QStringList({"0,00", "0,00", "0,00", "0,00", "0,00"}));

    // A rate with a point: every row computed, the totals zero.
    Controls rate;
    rate.row(1, "1", "10");
    rate.row(2, "2", "3");
    rate.texts[u"txtPercIva"_qs] = u"22.5"_qs;
    Calcola(rate);
    EXPECT_EQ(rate.amount(2), u"6,00"_qs);
    EXPECT_EQ(rate.totals(), QStringList({"0,00", "0,00", "0,00", "0,00", "0,00"}));
}

TEST(DocumentNumbering, StartNumberPlusStoredAndTheYearSwitch)
{
    EXPECT_EQ(documentNumber(u"1"_qs, 0, QString(), 2026), u"1"_qs);
    EXPECT_EQ(documentNumber(u"100"_qs, 5, QString(), 2024), u"105"_qs);
    EXPECT_EQ(documentNumber(u"100"_qs, 5, u"Sì"_qs, 2024), u"105/2024"_qs);
    EXPECT_EQ(documentNumber(u"100"_qs, 5, u" Sì "_qs, 2024), u"105/2024"_qs);
    for (const char* other : {"si", "SI", "Si", "sì", "ANNO"})
        EXPECT_EQ(documentNumber(u"100"_qs, 5, QString::fromUtf8(other), 2024), u"105"_qs) << other;
    EXPECT_EQ(documentNumber(u"abc"_qs, 5, QString(), 2024), std::nullopt);
}

TEST(DocumentYearFiles, FourDigitsBecomeAPathNothingElse)
{
    orv::platform::setProgramFolder(u"/tmp/orvanta/"_qs);
    EXPECT_EQ(yearFile(u"2024"_qs, u".pre"_qs), u"/tmp/orvanta/2024.pre"_qs);
    EXPECT_EQ(yearFile(u"0000"_qs, u".ddt"_qs), u"/tmp/orvanta/0000.ddt"_qs);
    for (const char* bad : {"202", "20245", "", "20a4", "../x", " 202"})
        EXPECT_EQ(yearFile(QString::fromLatin1(bad), u".pre"_qs), std::nullopt) << bad;
    orv::platform::setProgramFolder(QString());
}

} // namespace
