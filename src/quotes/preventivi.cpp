#include "quotes/preventivi.h"

#include "customers/trovaclienti.h"
#include "platform/core/text.h"
#include "platform/ui/form.h"
#include "quotes/dativeicolo.h"
#include "quotes/exppreventivi.h"
#include "quotes/sospesi.h"
#include "quotes/trovapreventivi.h"
#include "warehouse/importamagazzino.h"

namespace orv::quotes {
using namespace orv::customers;
} // namespace orv::quotes

namespace orv::quotes {

using namespace orv::platform::ui;

TfrmPreventivi* frmPreventivi = nullptr;

namespace {

orv::documents::EditorSpec quoteSpec()
{
    orv::documents::EditorSpec s;
    s.formName = u"frmPreventivi"_qs;
    s.caption = u" Orvanta 4.0 - Emissione preventivi"_qs;
    s.record = &TPreventivo::layout();
    s.callerTag = orv::quotes::kTag;
    s.rowTagPrefix = u"pre_art_"_qs;
    s.numberCaption = u"Preventivo n."_qs;
    s.totalCaption = u"TOTALE PREVENTIVO:"_qs;
    s.flagCaption = u"In sospeso"_qs;
    s.extraCommand = u"cmdDatiComputer"_qs;
    s.extraCaption = u"Altre informazioni"_qs;
    s.pendingWords = u"In sospeso"_qs;
    s.pageWords = u"Articoli"_qs;
    s.saveTexts = {u"Attenzione: per salvare la scheda è necessario indicare il numero del preventivo."_qs,
                   u"Attenzione: per salvare la scheda è necessario indicare la data del preventivo."_qs};
    s.hints = {
        {u"cmdNuovo"_qs, u"Predispone la schermata per l'emissione di un nuovo preventivo."_qs},
        {u"cmdSalva"_qs, u"Salva o aggiorna il preventivo corrente."_qs},
        {u"cmdPrimo"_qs, u"Visualizza il primo preventivo in archivio."_qs},
        {u"cmdIndietro"_qs, u"Visualizza il preventivo precedente in archivio."_qs},
        {u"cmdAvanti"_qs, u"Visualizza il preventivo successivo in archivio."_qs},
        {u"cmdUltimo"_qs, u"Visualizza l'ultimo preventivo in archivio."_qs},
        {u"cmdStampa"_qs, u"Stampa il preventivo corrente."_qs},
        {u"cmdAnteprima"_qs, u"Visualizza l'anteprima di stampa del preventivo corrente."_qs},
        {u"cmdPDF"_qs, u"Esporta il preventivo corrente in formato PDF."_qs},
        {u"cmdTrova"_qs, u"Trova un preventivo in archivio."_qs},
        {u"cmdSospese"_qs, u"Visualizza il riepilogo dei preventivi in sospeso."_qs},
        {u"cmdNumerazione"_qs, u"Imposta il numero iniziale per la numerazione dei preventivi."_qs},
        {u"cmdEsporta"_qs, u"Esporta i preventivi in archivio in un file di Microsoft Excel."_qs},
        {u"chkSaldata"_qs, u"Contrassegna come preventivo in sospeso."_qs},
    };
    s.findCustomer = [](QWidget* editor, const QString& tag) {
        runDialog<TfrmTrovaClienti>(editor, [&tag](TfrmTrovaClienti& f) { f.lblMemory.setText(tag); });
    };
    s.importArticle = &orv::warehouse::importArticle;
    return s;
}

} // namespace

TfrmPreventivi::TfrmPreventivi(QWidget* owner) : DocumentEditor(owner, quoteSpec()) { created(); }

void TfrmPreventivi::cmdTrovaClick()
{
    runDialog<TfrmTrovaPreventivi>(this, [](TfrmTrovaPreventivi& f) { f.lblMemory.setText(orv::quotes::kTag); });
}

void TfrmPreventivi::cmdSospeseClick() { runDialog<TfrmSospesi>(this); }
void TfrmPreventivi::cmdEsportaClick() { runDialog<TfrmExpPreventivi>(this); }

void TfrmPreventivi::cmdDatiComputerClick()
{
    runDialog<TfrmDatiVeicolo>(this, [this](TfrmDatiVeicolo& f) { f.showValues(*this); });
}

} // namespace orv::quotes

namespace orv::quotes {

QString openYearFile() { return frmPreventivi ? frmPreventivi->yearFile() : QString(); }

void loadIntoEditor(const archive::FoundRecord& found)
{
    if (frmPreventivi) frmPreventivi->loadFound(found);
}

} // namespace orv::quotes
