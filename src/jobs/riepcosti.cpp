#include "jobs/riepcosti.h"

#include "kit/dialogs/guida.h"
#include "archive/lists.h"
#include "kit/listwindow.h"
#include "kit/reports.h"
#include "jobs/menuriepcosti.h"
#include "jobs/riepilogo.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/services.h"

#include <QListView>

namespace orv::jobs {
using namespace orv::archive;
} // namespace orv::jobs

namespace orv::jobs {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmRiepCosti* frmRiepCosti = nullptr;
QString TfrmRiepCosti::UltimaRicerca;

namespace {

const QColor kTitle(0x1F, 0x3F, 0x6E);
const QColor kDarkCyan(0x00, 0x8B, 0x8B);
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kTitle};
const FontSpec kCaption{u"Verdana"_qs, 12, true, false, false, kTitle};
const FontSpec kValue{u"Verdana"_qs, 13, true, false, false, kDarkCyan};

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = u"panContainer"_qs;
        Layout l{panel(in, 0, 0, 995, 692).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6)};
        l.push_back(picture(u"imgTitolo"_qs, 0, 0, 995, 84,
                            art::heading(u"Riepilogo Schede di Lavoro"_qs,
                                         u"Estratto conto degli importi fatturati nel periodo"_qs, art::Icon::JobSheet))
                        .in(in));
        l.push_back(label(u"titCliente"_qs, 16, 96, 200, 22, u"Cliente selezionato:"_qs).font(kCaption).in(in));
        l.push_back(label(u"titTipologia"_qs, 220, 96, 755, 22, u"- - -"_qs).font(kValue).in(in));
        Item box = list(u"lstRecords"_qs, 16, 126, 963, 362).in(in);
        box.isSorted = true;
        l.push_back(box);
        l.push_back(label(u"lblRigo01"_qs, 16, 496, 963, 20,
                          u"Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
                          u"premere il pulsante Trova."_qs).font(kText).in(in));
        l.push_back(label(u"lblRigo02"_qs, 16, 516, 963, 20,
                          u"Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
                          u"nuovo clic su Trova."_qs).font(kText).in(in));
        l.push_back(edit(u"txtTrova"_qs, 16, 546, 360).font({u"Verdana"_qs, 12, true, false, false, QColor()})
                        .highlighted().in(in));
        l.push_back(button(u"btnTrova"_qs, 388, 543, 120, 30, u"Trova"_qs).in(in));
        l.push_back(label(u"titIntervallo"_qs, 540, 546, 210, 22, u"Intervallo selezionato:"_qs).font(kCaption).in(in));
        l.push_back(label(u"lblIntervallo"_qs, 700, 546, 279, 22, u"Dal gg/mm/aaaa al gg/mm/aaaa"_qs)
                        .align(Align::Right).font(kValue).in(in));
        l.push_back(label(u"titTotCosti"_qs, 540, 578, 240, 22, u"Totale importi fatturati:"_qs).font(kCaption).in(in));
        l.push_back(label(u"lblTotCosti"_qs, 780, 578, 199, 22, u"0,00"_qs).align(Align::Right).font(kValue).in(in));
        l.push_back(button(u"btnStampa"_qs, 16, 632, 200, 34, u"Stampa riepilogo"_qs).in(in));
        l.push_back(button(u"btnEsci"_qs, 228, 632, 120, 34, u"Esci"_qs).in(in));
        l.push_back(command(u"imgGuida"_qs, 925, 624, 50, 50, art::icon(art::Icon::Help)).in(in));
        l.push_back(label(u"lblConta"_qs, 0, 0, 10, 10, u"0"_qs).hidden().in(in));
        return l;
    }();
    return l;
}

QStringList helpParagraphs()
{
    return {
        u"Questa finestra fornisce un estratto conto degli incassi derivanti dalle riparazioni e dalle revisioni "
        u"eseguite dal laboratorio in un qualsiasi intervallo di tempo, con il nome del Cliente e il numero di "
        u"matricola dell'impianto come filtri di ricerca."_qs,
        u"Per ottenerlo, fare clic su Riepilogo Schede di Lavoro emesse nella finestra delle Schede di Lavoro, "
        u"indicare il nome del Cliente e/o il numero di matricola insieme alle date di inizio e di fine "
        u"dell'intervallo e premere Visualizza riepilogo."_qs,
        u"L'estratto conto elenca tutti gli incassi del periodo riportando per ogni Scheda di Lavoro la data di "
        u"emissione, il nome del Cliente, il suo recapito telefonico preferenziale, la marca e il modello "
        u"dell'impianto e il totale della ricevuta o della fattura corrispondente."_qs,
        u"Lasciando in bianco i campi di ricerca si ottiene il riepilogo di tutte le Schede di Lavoro emesse a "
        u"tutti i Clienti nell'intervallo indicato. Il riepilogo può essere stampato con l'apposito pulsante."_qs,
    };
}

} // namespace

TfrmRiepCosti::TfrmRiepCosti(QWidget* owner)
    : Form(owner,
           {u"frmRiepCosti"_qs, u" Orvanta 4.0 - Riepilogo Schede di Lavoro"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout())
{
    lstRecords.withWidget([](QWidget* w) {
        auto* l = static_cast<QListView*>(w);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    });
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    btnTrova.onClick = [this] { btnTrovaClick(); };
    btnStampa.onClick = [this] { btnStampaClick(); };
    btnEsci.onClick = [this] { btnEsciClick(); };
    imgGuida.onClick = [this] { imgGuidaClick(); };
    created();
}

void TfrmRiepCosti::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmRiepCosti::FormShow() { CalcolaRiepilogoCosti(); }

void TfrmRiepCosti::CalcolaRiepilogoCosti()
{
    const TfrmMenuRiepCosti& criteria = *frmMenuRiepCosti;
    const QString cliente = criteria.txtCliente.text();
    const QString matricola = criteria.txtMatricola.text();
    lblConta.setText(QString::number(orv::archive::criteriaInUse({cliente, matricola})));
    titTipologia.setText(trimmed(cliente).isEmpty() ? u"- - -"_qs : trimmed(cliente));
    orv::jobs::SummaryResult result;
    {
        orv::kit::ListBoxLines lines(lstRecords);
        result = orv::jobs::CalcolaRiepilogoCosti(
            trimmed(criteria.lblFile.text()),
            {cliente, matricola, criteria.lblDataInizio.text(), criteria.lblDataFine.text()}, lines);
    }
    lblTotCosti.setText(result.total);
    if (!result.read) {
        // Said rather than shown as a summary without sheets.
        showMessage(u"Attenzione: il file di archivio non risulta accessibile."_qs);
        return;
    }
    lblIntervallo.setText(orv::jobs::intervalText(criteria.lblDataInizio.text(), criteria.lblDataFine.text()));
    txtTrova.setFocus();
}

void TfrmRiepCosti::btnTrovaClick()
{
    try {
        const auto found = TrovaInLista(lstRecords.itemsText(), lstRecords.itemIndex(), txtTrova.text(), UltimaRicerca);
        if (!found) {
            showMessage(orv::archive::kEmptyListMessage);
            return;
        }
        lstRecords.setItemIndex(int(*found));
    } catch (const std::exception&) {
        // Find-in-list drops its failures.
    }
}

void TfrmRiepCosti::btnStampaClick()
{
    if (lstRecords.count() == 0) {
        warningBox(u"Operazione di stampa non applicabile: il riepilogo non contiene nessuna voce."_qs);
        return;
    }
    if (!confirmBox(u"Si vuole stampare il presente riepilogo?"_qs)) return;
    QStringList lines = lstRecords.itemsText();
    lines << u"- - - - - - - - - - - - - - - -"_qs
          << u"INTERVALLO SELEZIONATO:    "_qs + trimmed(lblIntervallo.text())
          << u"TOTALE IMPORTI FATTURATI:  \u20ac "_qs + trimmed(lblTotCosti.text());
    orv::kit::printList(this, u"Riepilogo Schede di Lavoro - Cliente: "_qs + trimmed(titTipologia.text()), lines);
}

void TfrmRiepCosti::imgGuidaClick()
{
    orv::kit::showHelp(this, u"Riepilogo Schede di Lavoro."_qs, orv::kit::helpText(helpParagraphs()));
}

void TfrmRiepCosti::btnEsciClick() { close(); }

void TfrmRiepCosti::FormClose(CloseAction&)
{
    lstRecords.clear();
    if (frmMenuRiepCosti) frmMenuRiepCosti->lblAttendere.hide();
}

} // namespace orv::jobs
