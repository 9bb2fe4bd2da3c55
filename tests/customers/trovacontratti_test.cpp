// The contract finder, opened from the contract window and driven with real keys and
// clicks; the chosen contract loaded into the window.
#include "contract_fixture.h"

#include "customers/trovacontratti.h"

#include <QDir>

using namespace orv::customers;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::contract;
using orv::test::doubleClickLine;
using orv::test::ContractWindowTest;
using orv::test::MessageCall;

namespace {

const TContratto kFoundRossi = contract({{&TContratto::NumContratto, "1"},
                                    {&TContratto::Data, "10/01/2026"},
                                    {&TContratto::Cliente, "Rossi Mario"},
                                    {&TContratto::TelCli, "011 1"},
                                    {&TContratto::ComuneCli, "Torino"},
                                    {&TContratto::Marca, "Caldex"},
                                    {&TContratto::OpInc02, "Analisi fumi"}});
const TContratto kFoundBianchi = contract({{&TContratto::NumContratto, "2"},
                                      {&TContratto::Data, "03/02/2026"},
                                      {&TContratto::Cliente, "Bianchi Anna"},
                                      {&TContratto::ComuneCli, "Roma"},
                                      {&TContratto::Marca, "Frescura"}});
const TContratto kRossini = contract({{&TContratto::NumContratto, "3"},
                                      {&TContratto::Data, "28/02/2026"},
                                      {&TContratto::Cliente, "rossini gioacchino"},
                                      {&TContratto::ComuneCli, "Pesaro"},
                                      {&TContratto::Marca, "Caldex"},
                                      {&TContratto::OpInc02, "analisi FUMI annuale"}});

class ContractFinderTest : public ContractWindowTest {
protected:
    void inFinder(std::function<void(TfrmTrovaContratti&)> script)
    {
        modal.scripts[u"frmTrovaContratti"_qs] = [script](Form& f) { script(static_cast<TfrmTrovaContratti&>(f)); };
        click(window().cmdTrova);
        ASSERT_EQ(modal.shown.count(u"frmTrovaContratti"_qs), 1);
        modal.shown.clear();
    }
    static void search(TfrmTrovaContratti& f)
    {
        QTest::mousePress(f.btnCerca.widget(), Qt::LeftButton);
        EXPECT_TRUE(f.lblAttendere.visible());
        QTest::mouseRelease(f.btnCerca.widget(), Qt::LeftButton);
    }
};

TEST_F(ContractFinderTest, SearchesByCriteriaAndListsSortedLines)
{
    writeContracts({kFoundRossi, kFoundBianchi, kRossini});
    inFinder([&](TfrmTrovaContratti& f) {
        EXPECT_EQ(f.caption(), u" Trova contratti in archivio"_qs);
        EXPECT_EQ(f.lblMemory.text(), u"contratti"_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtCliente);
        EXPECT_TRUE(f.findControl(u"effCliente"_qs)->visible());
        const char* const captions[] = {
            "Cognome e nome Utente:", "Comune di residenza:", "Partita IVA:", "Codice fiscale:",
            "Data stipula contratto:", "Marca e modello impianto:", "Matricola n.", "Caratteristiche tecniche:",
            "Operazione 1 compresa in contratto:", "Operazione 2 compresa in contratto:",
        };
        const QList<Edit*> criteria = f.criteria();
        ASSERT_EQ(criteria.size(), 10);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(f.control<Label>(u"lbl"_qs + criteria[i]->name().mid(3)).text(), QString::fromUtf8(captions[i]));
            EXPECT_TRUE(f.findControl(u"eff"_qs + criteria[i]->name().mid(3))) << i;
        }
        EXPECT_EQ(criteria[4], &f.txtData);
        EXPECT_EQ(criteria[9], &f.txtOpInc02);
        for (Edit* c : criteria) {
            EXPECT_EQ(f.focusedControl(), c);
            key(f, Qt::Key_Return);
        }
        EXPECT_EQ(f.focusedControl(), &f.txtCliente);

        // The date matched as text: a month and year finds the contracts of that month.
        f.txtData.setFocus();
        keys(f, u"02/2026"_qs);
        search(f);
        EXPECT_EQ(f.lblConta.text(), u"1"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente riepilogo contiene 2 schede."_qs);
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList({RigaTrovaContratti(kFoundBianchi), RigaTrovaContratti(kRossini)}));
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);
        EXPECT_EQ(f.lstRecords.item(0), u"Bianchi Anna                    Tel.                       Roma                     "
                                        u"  Frescura                   Contratto n. 2 del 03/02/2026"_qs);

        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Riepilogo contratti di manutenzione"_qs);
        EXPECT_EQ(prints.lines, f.lstRecords.itemsText());
        click(f.btnChiudi);
    });
    // Two criteria at once, each in its own field, A-Z folded.
    inFinder([&](TfrmTrovaContratti& f) {
        keys(f, u"ROSS"_qs);
        f.txtOpInc02.setFocus();
        keys(f, u"analisi fumi"_qs);
        search(f);
        EXPECT_EQ(f.lblConta.text(), u"2"_qs);
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList({RigaTrovaContratti(kFoundRossi), RigaTrovaContratti(kRossini)}));
        click(f.btnChiudi);
    });
    EXPECT_EQ(window().lblPosizione.text(), QString()); // closing loaded nothing
}

TEST_F(ContractFinderTest, DoubleClickLoadsTheWholeContractReplacingTheOneOnScreen)
{
    QStringList all;
    for (int i = 0; i < 48; ++i) all << u"F"_qs + QString(QChar(u'a' + i % 26)) + QString::number(i);
    TContratto full = TContratto::fromValues(all);
    full.ProvRes = u"zz"_qs; // a province outside the list
    full.ProvCli = u"MI"_qs;
    full.Cliente = u"  Verdi Luca  "_qs;
    writeContracts({kFoundRossi, full, kFoundBianchi});
    typeInto(window().txtCliente, u"non salvato"_qs);
    typeInto(window().txtDitta, u"Ditta sullo schermo"_qs);

    inFinder([&](TfrmTrovaContratti& f) {
        f.txtCliente.setFocus();
        keys(f, u"verdi"_qs);
        search(f);
        ASSERT_EQ(f.lstRecords.count(), 1);
        doubleClickLine(f.lstRecords, 0);
        EXPECT_FALSE(f.isVisible());
    });
    const QStringList shown = orv::archive::readControls(orv::kit::FormView(window()), TContratto::layout());
    QStringList expected = TContratto::decode(full.encode()).values();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(window().txtCliente.text(), u"Verdi Luca"_qs);
    EXPECT_EQ(window().txtProvRes.text(), u"zz"_qs);
    EXPECT_EQ(window().lblDesc03.text(), expected.last());
    EXPECT_EQ(window().lblPosizione.text(), u"2"_qs);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ContractFinderTest, OtherTagsWriteNothingAndFailuresAreReported)
{
    writeContracts({kFoundRossi});
    for (const char* tag : {"contratto", "Contratti", ""}) {
        modal.scripts[u"frmTrovaContratti"_qs] = [](Form& form) {
            auto& f = static_cast<TfrmTrovaContratti&>(form);
            search(f);
            doubleClickLine(f.lstRecords, 0);
        };
        orv::platform::ui::runDialog<TfrmTrovaContratti>(&window(), [&](TfrmTrovaContratti& f) {
            f.lblMemory.setText(QString::fromLatin1(tag));
        });
        EXPECT_EQ(window().txtCliente.text(), QString()) << tag;
        EXPECT_EQ(window().lblPosizione.text(), QString()) << tag;
    }

    modal.shown.clear();
    QFile::remove(orv::platform::programFile(TContratto::kFileName));
    ASSERT_TRUE(QDir(programFolder()).mkdir(TContratto::kFileName));
    inFinder([&](TfrmTrovaContratti& f) {
        search(f);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi "
                                        u"di possedere i privilegi di scrittura nella cartella di installazione del "
                                        u"programma."_qs);
        EXPECT_TRUE(f.panAvvio.visible());
        click(f.btnAnnulla);
    });
}

} // namespace
