// The contract record and what is built from it without a window.
#include <gtest/gtest.h>

#include "contract_fixture.h"

using namespace orv::customers;

using orv::test::contract;
using orv::test::contractFixture;

TEST(TContratto, FieldTableOffsetsWidthsAndControls)
{
    const struct {
        const char* name;
        int offset, width;
    } table[] = {
        {"NumContratto", 0, 30},     {"Data", 31, 10},           {"Luogo", 42, 50},          {"Ditta", 93, 50},
        {"PartitaIva", 144, 11},     {"CodFisc", 156, 16},       {"Sede", 173, 50},          {"ProvRes", 224, 2},
        {"CapRes", 227, 5},          {"Via", 233, 120},          {"TelUff", 354, 30},        {"TelCel", 385, 30},
        {"Fax", 416, 30},            {"Cliente", 447, 50},       {"ComuneCli", 498, 50},     {"ProvCli", 549, 2},
        {"CapCli", 552, 5},          {"PartitaIvaCli", 558, 11}, {"CodFiscCli", 570, 16},    {"ViaCli", 587, 120},
        {"TelCli", 708, 30},         {"QualitaCli", 739, 30},    {"TipoImpianto", 770, 50},  {"Marca", 821, 50},
        {"Matricola", 872, 50},      {"Alimentazione", 923, 50}, {"AnnoCostruz", 974, 30},   {"Caratteristiche", 1005, 250},
        {"Ubicazione", 1256, 120},   {"Durata", 1377, 30},       {"Totale", 1408, 15},       {"Periodicita", 1424, 30},
        {"ImpCanone", 1455, 15},     {"Pagamento", 1471, 50},    {"OpInc01", 1522, 120},     {"OpInc02", 1643, 120},
        {"OpInc03", 1764, 120},      {"OpInc04", 1885, 120},     {"OpEsc01", 2006, 120},     {"OpEsc02", 2127, 120},
        {"OpEsc03", 2248, 120},      {"OpEsc04", 2369, 120},     {"File01", 2490, 250},      {"File02", 2741, 250},
        {"File03", 2992, 250},       {"Desc01", 3243, 250},      {"Desc02", 3494, 250},      {"Desc03", 3745, 250},
    };
    const orv::archive::RecordLayout& l = TContratto::layout();
    ASSERT_EQ(l.fieldCount(), 48);
    EXPECT_EQ(l.size(), 3996);
    for (int i = 0; i < 48; ++i) {
        const QString name = QString::fromLatin1(table[i].name);
        EXPECT_EQ(l.field(i).name, name);
        EXPECT_EQ(l.offset(i), table[i].offset) << table[i].name;
        EXPECT_EQ(l.field(i).width, table[i].width) << table[i].name;
        EXPECT_EQ(l.field(i).control, (name.startsWith(u"File") || name.startsWith(u"Desc") ? u"lbl"_qs : u"txt"_qs) + name);
    }
    // Every member is one field of the record, in its place.
    QStringList values;
    for (int i = 0; i < 48; ++i) values << QString(QChar(u'A' + i));
    const TContratto c = TContratto::fromValues(values);
    EXPECT_EQ(c.NumContratto, u"A"_qs);
    EXPECT_EQ(c.Pagamento, u"b"_qs);
    EXPECT_EQ(c.Desc03, u"p"_qs);
    EXPECT_EQ(TContratto::decode(c.encode()).values(), values);
}

TEST(TContratto, TheFixtureDecodesTrimmedWhateverStandsBehindTheTexts)
{
    const QByteArray bytes = contractFixture("Contratti.pro");
    ASSERT_EQ(bytes.size(), 3 * 3996);
    const TContratto second = TContratto::decode(bytes.mid(3996, 3996)); // filled behind its texts
    EXPECT_EQ(second.NumContratto, u"2"_qs);
    EXPECT_EQ(second.Caratteristiche, u"Qualità «superiore»"_qs);
    EXPECT_EQ(second.Pagamento, u"Prezzo € 120"_qs);
    EXPECT_EQ(second.ComuneCli, QString());
    EXPECT_EQ(TContratto::decode(bytes.right(3996)).Cliente, u"Verdi Giuseppe"_qs);
}

TEST(TContratto, FinderLineColumns)
{
    const TContratto c = contract({{&TContratto::Cliente, " Rossi & Figli <srl> e soci dell'impresa"},
                                   {&TContratto::TelCli, "011 123456"},
                                   {&TContratto::ComuneCli, "Torino"},
                                   {&TContratto::Marca, "Caldex K-24 > 2020 modello speciale"},
                                   {&TContratto::NumContratto, "  12/B "},
                                   {&TContratto::Data, " 10/01/2026 "}});
    EXPECT_EQ(RigaTrovaContratti(c), u"Rossi & Figli <srl> e soci del  Tel. 011 123456            Torino                   "
                                     u"  Caldex K-24 > 2020 modell  Contratto n. 12/B del 10/01/2026"_qs);
    EXPECT_EQ(RigaTrovaContratti(TContratto()), QString(30, u' ') + u"  Tel. "_qs + QString(20, u' ') + u"  "_qs
                                                    + QString(25, u' ') + u"  "_qs + QString(25, u' ')
                                                    + u"  Contratto n.  del "_qs);
}

TEST(TContratto, NumberProposedByNew)
{
    const struct {
        const char* start;
        qint64 stored;
        const char* number; // nullptr: not a whole number
    } cases[] = {
        {"1", 0, "1"}, {"1", 3, "4"}, {"100", 3, "103"}, {"007", 2, "9"}, {"0", 0, "0"},
        {"12,6", 1, nullptr}, {"abc", 1, nullptr}, {"99999999999", 0, nullptr},
    };
    for (const auto& c : cases) {
        const auto n = orv::customers::proposedContractNumber(QString::fromLatin1(c.start), c.stored);
        if (c.number) {
            ASSERT_TRUE(n) << c.start;
            EXPECT_EQ(*n, QString::fromLatin1(c.number)) << c.start;
        } else {
            EXPECT_FALSE(n) << c.start;
        }
    }
}

TEST(Delivery, TheClausesSheetIsDeliveredNextToTheProgram)
{
    QFile sheet(QStringLiteral(ORV_SOURCE_DIR "/assets/install/Clausole.pdf"));
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QByteArray pdf = sheet.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("/Count 1")); // one page, for the back of the contract sheet
}
