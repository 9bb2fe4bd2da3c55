// The warehouse's plain logic: the record, the computations, the result lines, the
// running-out test, the import's stock update and the inventory, without any window.
#include <gtest/gtest.h>

#include <QFile>

#include "../archive/doubles.h"
#include "fixtures.h"
#include "archive/record.h"
#include "warehouse/magazzino.h"

using namespace orv::archive;
using namespace orv::warehouse;
using orv::test::article;
using orv::test::FakeView;
using orv::test::RecordingMessages;

namespace {

TEST(TArticolo, FieldTableOffsetsAndWidths)
{
    const struct {
        const char* name;
        int offset, width;
        const char* control;
    } table[] = {
        {"Codice", 0, 30, "txtCodice"},          {"Tipologia", 31, 250, "txtTipologia"},
        {"Marca", 282, 250, "txtMarca"},         {"Modello", 533, 250, "txtModello"},
        {"Accessori", 784, 250, "txtAccessori"}, {"Descrizione", 1035, 250, "txtDescrizione"},
        {"Fornitore", 1286, 250, "txtFornitore"}, {"Recapiti", 1537, 50, "txtRecapiti"},
        {"Data", 1588, 50, "txtData"},           {"Costo", 1639, 15, "txtCosto"},
        {"Valore", 1655, 15, "txtValore"},       {"Documento", 1671, 250, "txtDocumento"},
        {"Ordine", 1922, 250, "txtOrdine"},      {"Prezzo", 2173, 15, "txtPrezzo"},
        {"PercIva", 2189, 2, "txtPercIva"},      {"Prezzo_con_Iva", 2192, 15, "txtPrezzo_con_Iva"},
        {"Collocazione", 2208, 250, "txtCollocazione"}, {"Giacenza", 2459, 15, "txtGiacenza"},
        {"Sottoscorta", 2475, 15, "txtSottoscorta"}, {"Altezza", 2491, 30, "memConsumo"},
        {"Larghezza", 2522, 30, "memAderenza"},  {"Lunghezza", 2553, 30, "memRumore"},
        {"Scadenza", 2584, 30, "memOnde"},       {"Note", 2615, 250, "txtNote"},
        {"File01", 2866, 250, "lblFile01"},      {"File02", 3117, 250, "lblFile02"},
        {"File03", 3368, 250, "lblFile03"},      {"Desc01", 3619, 250, "lblDesc01"},
        {"Desc02", 3870, 250, "lblDesc02"},      {"Desc03", 4121, 250, "lblDesc03"},
        {"Cartella", 4372, 250, "lblCartella"},  {"CartellaDesc", 4623, 250, "lblCartellaDesc"},
    };
    const RecordLayout& l = TArticolo::layout();
    ASSERT_EQ(l.fieldCount(), 32);
    EXPECT_EQ(l.size(), 4874);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(l.field(i).name, QString::fromLatin1(table[i].name)) << i;
        EXPECT_EQ(l.offset(i), table[i].offset) << table[i].name;
        EXPECT_EQ(l.field(i).width, table[i].width) << table[i].name;
        EXPECT_EQ(l.field(i).control, QString::fromLatin1(table[i].control)) << table[i].name;
    }
    const TArticolo a = article({{&TArticolo::Scadenza, "12/2027"}, {&TArticolo::CartellaDesc, "cartella"}});
    const QByteArray r = a.encode();
    EXPECT_EQ(r.mid(2584, 8), QByteArray("\x07" "12/2027"));
    EXPECT_EQ(r.mid(4623, 9), QByteArray("\x08" "cartella"));
    EXPECT_EQ(TArticolo::decode(r).values(), a.values());
}

TEST(ArticleComputations, PriceVatAndStockValue)
{
    struct Case {
        const char *a, *b;
        std::optional<QString> withVat, withoutVat, value;
    };
    // withVat: price a, rate b; withoutVat: price including VAT a, rate b; value: cost a, stock b.
    const Case cases[] = {
        {"10,00", "22", u"12,20"_qs, u"8,20"_qs, u"220,00"_qs},
        {"10", "0", u"10,00"_qs, u"10,00"_qs, u"0,00"_qs},
        {"12,20", "22", u"14,88"_qs, u"10,00"_qs, u"268,40"_qs},
        {"100,00", "22", u"122,00"_qs, u"81,97"_qs, u"2200,00"_qs},
        {"2,50", "3", u"2,58"_qs, u"2,43"_qs, u"7,50"_qs},
        {"1,2345", "3", u"1,27"_qs, u"1,20"_qs, u"3,70"_qs},
        {"1,333", "3", u"1,37"_qs, u"1,29"_qs, u"4,00"_qs},
        {"abc", "22", std::nullopt, std::nullopt, std::nullopt},
        {"10", "x", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_EQ(prezzoConIva(a, b, u"0,00"_qs), c.withVat) << c.a << " " << c.b;
        EXPECT_EQ(prezzoSenzaIva(a, b), c.withoutVat) << c.a << " " << c.b;
        EXPECT_EQ(valoreGiacenza(a, b), c.value) << c.a << " " << c.b;
    }
    // The current price including VAT is read only to check it.
    EXPECT_EQ(prezzoConIva(u"10"_qs, u"22"_qs, u"a"_qs), std::nullopt);
    // Empty cost or stock count as nothing.
    EXPECT_EQ(valoreGiacenza(QString(), u"5"_qs), u"0,00"_qs);
    EXPECT_EQ(valoreGiacenza(u"3"_qs, u" "_qs), u"0,00"_qs);
}

TEST(ArticleComputations, EditorButtonsFillResetAndWarn)
{
    FakeView card;
    RecordingMessages messages;
    // Scorpora with an empty rate and an empty price including VAT.
    card.texts = {{u"txtPrezzo"_qs, u"5"_qs}, {u"txtPercIva"_qs, u""_qs}, {u"txtPrezzo_con_Iva"_qs, u" "_qs}};
    scorporaIva(card, messages);
    EXPECT_EQ(card.texts[u"txtPrezzo"_qs], u"0,00"_qs);
    EXPECT_EQ(card.texts[u"txtPercIva"_qs], u"0"_qs);
    EXPECT_EQ(card.texts[u"txtPrezzo_con_Iva"_qs], u"0,00"_qs);
    // A rate typed 07 is written back as 7.
    card.texts = {{u"txtPercIva"_qs, u"07"_qs}, {u"txtPrezzo_con_Iva"_qs, u"10,70"_qs}};
    scorporaIva(card, messages);
    EXPECT_EQ(card.texts[u"txtPrezzo"_qs], u"10,00"_qs);
    EXPECT_EQ(card.texts[u"txtPercIva"_qs], u"7"_qs);
    EXPECT_TRUE(messages.shown.isEmpty());

    // A text that is not a number: the warning, then price, rate and price including VAT reset.
    card.texts = {{u"txtPrezzo"_qs, u"1,2,3"_qs}, {u"txtPercIva"_qs, u"22"_qs}, {u"txtPrezzo_con_Iva"_qs, u"9"_qs}};
    calcolaPrezzoConIva(card, messages);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], std::pair(MessageKind::Warning, kCalcolaWarning));
    EXPECT_EQ(card.texts[u"txtPrezzo"_qs], u"0,00"_qs);
    EXPECT_EQ(card.texts[u"txtPercIva"_qs], u"0"_qs);
    EXPECT_EQ(card.texts[u"txtPrezzo_con_Iva"_qs], u"0,00"_qs);
    EXPECT_EQ(card.focus, u"txtPrezzo_con_Iva"_qs);
    card.texts[u"txtPrezzo_con_Iva"_qs] = u"x"_qs;
    scorporaIva(card, messages);
    EXPECT_EQ(messages.shown.back(), std::pair(MessageKind::Warning, kScorporaWarning));

    // Calcola valore resets cost, stock and value silently.
    card.texts = {{u"txtCosto"_qs, u"2,5"_qs}, {u"txtGiacenza"_qs, u"y"_qs}, {u"txtValore"_qs, u"9,00"_qs}};
    calcolaValore(card);
    EXPECT_EQ(card.texts[u"txtCosto"_qs], u"0,00"_qs);
    EXPECT_EQ(card.texts[u"txtGiacenza"_qs], u"0"_qs);
    EXPECT_EQ(card.texts[u"txtValore"_qs], u"0,00"_qs);
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST(ArticleComputations, StockWindowTotal)
{
    struct Case {
        QString direction;
        const char *stock, *quantity, *total;
        const char *stockAfter, *quantityAfter, *totalAfter;
    };
    const Case cases[] = {
        {kAdd, "10", "5", "10", "10", "5", "15"},
        {kSubtract, "2", "5", "2", "2", "5", "-3"},
        {u" Quantità da sottrarre: "_qs, "7", "7", "", "7", "7", "0"},
        {u"Quantità:"_qs, "4", "1", "4", "4", "1", "4"}, // any other label leaves the total
        {kAdd, "", "", "", "0", "0", "0"},
        {kAdd, "3", "x", "3", "0", "0", "0"},
    };
    for (const Case& c : cases) {
        QString stock = QString::fromUtf8(c.stock), quantity = QString::fromUtf8(c.quantity),
                total = QString::fromUtf8(c.total);
        calcolaTotale(c.direction, stock, quantity, total);
        EXPECT_EQ(QStringList({stock, quantity, total}),
                  QStringList({QString::fromUtf8(c.stockAfter), QString::fromUtf8(c.quantityAfter),
                               QString::fromUtf8(c.totalAfter)}))
            << c.direction.toStdString() << " " << c.stock << " " << c.quantity;
    }
}

TEST(ArticleLines, FinderRunningOutImportAndInventory)
{
    const TArticolo a = article({{&TArticolo::Codice, " A-1 "},
                                 {&TArticolo::Marca, ""},
                                 {&TArticolo::Modello, "X1"},
                                 {&TArticolo::Descrizione, "Valvola"},
                                 {&TArticolo::Costo, "2,50"},
                                 {&TArticolo::Giacenza, "3"},
                                 {&TArticolo::Valore, "7,50"},
                                 {&TArticolo::Prezzo, "12,5"},
                                 {&TArticolo::Note, " prenotato "}});
    const QString code = u"A-1"_qs + QString(27, u' ');
    // A model without a brand keeps the joining blank in front.
    const QString brand = u" X1"_qs + QString(37, u' ');
    EXPECT_EQ(RigaTrovaMagazzino(a), code + u"  "_qs + brand + u"  Costo: 2,50        " u"  Giacenza: 3           "
                                         u"  Note: prenotato"_qs);
    EXPECT_EQ(RigaSottoscorta(a), RigaTrovaMagazzino(a));
    EXPECT_EQ(RigaImportaMagazzino(a), code + u"  Valvola"_qs + QString(38, u' ') + u"  Prezzo: 12,5"_qs
                                           + QString(11, u' ') + u"  Giacenza: 3"_qs);
    EXPECT_EQ(RigaInventario(a), code + u"  "_qs + brand + u"  Costo: € 2,50        " u"  Giacenza: 3           "
                                     u"  Valore: € 7,50"_qs);
    // Brand and model longer than the column are cut to 40 together.
    const TArticolo b = article({{&TArticolo::Marca, "Marca lunghissima di prova"}, {&TArticolo::Modello, "Modello esteso 123"}});
    EXPECT_EQ(RigaTrovaMagazzino(b).mid(32, 40), u"Marca lunghissima di prova Modello estes"_qs);
}

TEST(ArticleTests, RunningOutAndInventorySelection)
{
    const auto stock = [](const char* g, const char* s) {
        return InEsaurimento(article({{&TArticolo::Giacenza, g}, {&TArticolo::Sottoscorta, s}}));
    };
    EXPECT_TRUE(stock("0", "0"));
    EXPECT_FALSE(stock("6", "5"));
    EXPECT_TRUE(stock("5", "5"));
    EXPECT_TRUE(stock("-3", "0"));
    EXPECT_TRUE(stock("7,5", "8"));
    EXPECT_THROW(stock("", "5"), orv::platform::ArchiveError);
    EXPECT_THROW(stock("4", "x"), orv::platform::ArchiveError);

    const auto category = [](const char* tipologia, const char* filter) {
        return inInventory(article({{&TArticolo::Tipologia, tipologia}}), QString::fromUtf8(filter));
    };
    EXPECT_TRUE(category("", ""));
    EXPECT_TRUE(category("", "   "));
    EXPECT_TRUE(category("Caldaie", "cald"));
    EXPECT_TRUE(category("RICAMBI CALDAIE", "cald"));
    EXPECT_FALSE(category("", "cald"));
    EXPECT_FALSE(category("Caldaie", " cald"));
    EXPECT_TRUE(category("pezzi cald", " cald"));
    EXPECT_FALSE(category("Èlite", "èl")); // only A-Z are folded

    EXPECT_EQ(inventoryTotal(10.50 + 2.25), u"€ 12,75"_qs);
    EXPECT_EQ(inventoryTotal(10), u"€ 10,00"_qs);
    EXPECT_EQ(inventoryTotal(0), u"€ 0,00"_qs);
    EXPECT_EQ(inventoryTotal(0.1 + 0.2), u"€ 0,30"_qs);
    EXPECT_EQ(inventoryTotal(1.23456), u"€ 1,2346"_qs);
}

TEST(ArticleStockUnload, RewritesStockAndValueOnly)
{
    TArticolo a = article({{&TArticolo::Codice, "A1"}, {&TArticolo::Costo, "2"}, {&TArticolo::Giacenza, "10"},
                           {&TArticolo::Valore, "20,00"}, {&TArticolo::Note, "n"}});
    QByteArray record = a.encode();
    // Bytes behind the texts, which the import must keep as stored.
    for (int i = 0; i < record.size(); ++i)
        if (record[i] == 0) record[i] = char(0x5A);
    record[0] = 2;

    struct Case {
        const char* quantity;
        const char *stock, *value;
    };
    const Case cases[] = {{"2,5", "7,5", "15,00"}, {"10", "0", "0,00"}, {"0", "10", "20,00"}, {"0,0001", "9,9999", "20,00"}};
    for (const Case& c : cases) {
        const StockUnload u = unloadStock(record, QString::fromUtf8(c.quantity));
        ASSERT_FALSE(u.aboveStock) << c.quantity;
        EXPECT_EQ(u.giacenza, QString::fromUtf8(c.stock)) << c.quantity;
        EXPECT_EQ(u.valore, QString::fromUtf8(c.value)) << c.quantity;
        const TArticolo after = TArticolo::decode(u.record);
        EXPECT_EQ(after.Giacenza, u.giacenza);
        EXPECT_EQ(after.Valore, u.valore);
        // Every byte outside the stock and value fields as stored.
        QByteArray outside = u.record, expected = record;
        for (QByteArray* r : {&outside, &expected}) {
            r->remove(1655, 16);
            r->remove(2459 - 16, 16);
        }
        EXPECT_EQ(outside, expected) << c.quantity;
    }
    EXPECT_TRUE(unloadStock(record, u"10,5"_qs).aboveStock);
    EXPECT_THROW(unloadStock(record, QString()), orv::platform::ArchiveError);
    EXPECT_THROW(unloadStock(record, u","_qs), orv::platform::ArchiveError);

    // The stock written back in its shortest form; an empty cost gives a value of nothing.
    a.Giacenza = u"5,50"_qs;
    a.Costo = QString();
    const StockUnload shortest = unloadStock(a.encode(), u"0"_qs);
    EXPECT_EQ(shortest.giacenza, u"5,5"_qs);
    EXPECT_EQ(shortest.valore, u"0,00"_qs);
    a.Giacenza = QString();
    EXPECT_THROW(unloadStock(a.encode(), u"0"_qs), orv::platform::ArchiveError);
}

TEST(ArticleInventory, SkipsAValueThatIsNotANumberAndGoesOn)
{
    orv::test::ProgramFolder folder;
    const QList<TArticolo> articles = {
        article({{&TArticolo::Codice, "B"}, {&TArticolo::Tipologia, "Caldaie"}, {&TArticolo::Valore, "10,50"}}),
        article({{&TArticolo::Codice, "A"}, {&TArticolo::Tipologia, "Tubi"}, {&TArticolo::Valore, "99"}}),
        article({{&TArticolo::Codice, "C"}, {&TArticolo::Tipologia, "caldaie"}, {&TArticolo::Valore, "2,25"}}),
        article({{&TArticolo::Codice, "D"}, {&TArticolo::Tipologia, "CALDAIE"}, {&TArticolo::Valore, ""}}),
        article({{&TArticolo::Codice, "E"}, {&TArticolo::Tipologia, "Caldaie"}, {&TArticolo::Valore, "1"}}),
    };
    const QString path = folder.file(TArticolo::kFileName);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(orv::test::archiveOf(articles));
    }
    ResultList lines;
    QList<double> totals;
    const bool ok = runArchiveCommandSilently(path, TArticolo::kSize, [&](orv::platform::ArchiveFile& file) {
        fillInventory(file, u"cald"_qs, lines, [&](double t) { totals.append(t); });
    });
    // D's empty value leaves it out; E after it is still listed and summed.
    EXPECT_TRUE(ok);
    EXPECT_EQ(lines.texts(), QStringList({RigaInventario(articles[0]), RigaInventario(articles[2]), RigaInventario(articles[4])}));
    EXPECT_EQ(totals, QList<double>({10.5, 12.75, 13.75}));
}

TEST(ArticleExport, SheetColumnsAndRow)
{
    const ExportSheet& s = exportSheet();
    EXPECT_EQ(s.fileName, u"Magazzino.xls"_qs);
    EXPECT_EQ(s.sheetName, u"Magazzino"_qs);
    QStringList headings;
    QList<int> widths;
    for (const ExportColumn& c : s.columns) {
        headings << c.heading;
        widths << c.width;
        EXPECT_FALSE(c.rightAligned);
    }
    EXPECT_EQ(headings, QStringList({"Codice articolo", "Tipologia", "Marca", "Modello", "Descrizione", "Accessori",
                                     "Fornitore", "Recapito preferenziale", "Data acquisto",
                                     "Estremi documento acquisto", "Modalità ordine merce", "Giacenza", "Costo", "Valore",
                                     "Prezzo senza IVA", "Perc. IVA", "Prezzo con IVA", "Collocazione in magazzino",
                                     "Altezza", "Larghezza", "Lunghezza", "Scadenza", "Note"}));
    EXPECT_EQ(widths, QList<int>({250, 250, 250, 250, 400, 400, 250, 250, 200, 350, 350, 200, 200, 200, 200, 150, 200,
                                  350, 200, 200, 200, 200, 400}));
    TArticolo a;
    QStringList v = a.values();
    for (int i = 0; i < v.size(); ++i) v[i] = u" v%1 "_qs.arg(i);
    EXPECT_EQ(exportRow(TArticolo::fromValues(v)),
              QStringList({"v0", "v1", "v2", "v3", "v5", "v4", "v6", "v7", "v8", "v11", "v12", "v17", "v9", "v10",
                           "v13", "v14", "v15", "v16", "v19", "v20", "v21", "v22", "v23"}));
}

TEST(ArticleWebSearch, BrandAndModelBehindTheSearchAddress)
{
    const QString address = TfrmMagazzino::kWebSearch;
    EXPECT_EQ(webSearchCommand(u" ACME "_qs, u"X1"_qs), u'"' + address + u"ACME X1\""_qs);
    EXPECT_EQ(webSearchCommand(u"ACME"_qs, QString()), u'"' + address + u"ACME \""_qs);
    // What would cut the query short or split it is encoded; the rest goes as typed.
    EXPECT_EQ(webSearchCommand(u"B&D"_qs, u"C++ #2 100%"_qs), u'"' + address + u"B%26D C%2B%2B %232 100%25\""_qs);
    EXPECT_EQ(webSearchCommand(u"Caffè"_qs, u"x/y"_qs), u'"' + address + u"Caffè x/y\""_qs);
}

} // namespace
