#include "ddt/ddt.h"

#include "customers/trovaclienti.h"
#include "ddt/datitrasporto.h"
#include "ddt/expddt.h"
#include "ddt/sospesiddt.h"
#include "ddt/trovaddt.h"
#include "platform/ui/form.h"
#include "warehouse/importamagazzino.h"

namespace orv::ddt {
using namespace orv::customers;
} // namespace orv::ddt

namespace orv::ddt {

using namespace orv::platform::ui;

TfrmDDT* frmDDT = nullptr;

namespace {

orv::documents::EditorSpec ddtSpec()
{
    orv::documents::EditorSpec s;
    s.formName = u"frmDDT"_qs;
    s.caption = u" Orvanta 4.0 - Archivio Documenti di Trasporto"_qs;
    s.record = &TDDT::layout();
    s.callerTag = orv::ddt::kTag;
    s.rowTagPrefix = u"ddt_art_"_qs;
    s.numberCaption = u"DDT n."_qs;
    s.totalCaption = u"TOTALE DDT:"_qs;
    s.flagCaption = u"Consegnato"_qs;
    s.extraCommand = u"cmdDatiTrasporto"_qs;
    s.extraCaption = u"Dati trasporto"_qs;
    s.pendingWords = u"In sospeso"_qs;
    s.pageWords = u"Articoli"_qs;
    s.saveTexts = {u"Attenzione: per salvare la scheda è necessario indicare il numero del Documento di Trasporto."_qs,
                   u"Attenzione: per salvare la scheda è necessario indicare la data del Documento di Trasporto."_qs};
    s.hints = {
        {u"cmdNuovo"_qs, u"Predispone la schermata per l'emissione di un nuovo Documento di Trasporto."_qs},
        {u"cmdSalva"_qs, u"Salva o aggiorna il Documento di Trasporto corrente."_qs},
        {u"cmdPrimo"_qs, u"Visualizza il primo Documento di Trasporto in archivio."_qs},
        {u"cmdIndietro"_qs, u"Visualizza il Documento di Trasporto precedente in archivio."_qs},
        {u"cmdAvanti"_qs, u"Visualizza il Documento di Trasporto successivo in archivio."_qs},
        {u"cmdUltimo"_qs, u"Visualizza l'ultimo Documento di Trasporto in archivio."_qs},
        {u"cmdStampa"_qs, u"Stampa il Documento di Trasporto corrente."_qs},
        {u"cmdAnteprima"_qs, u"Visualizza l'anteprima di stampa del Documento di Trasporto corrente."_qs},
        {u"cmdPDF"_qs, u"Esporta il Documento di Trasporto corrente in formato PDF."_qs},
        {u"cmdTrova"_qs, u"Trova un Documento di Trasporto in archivio."_qs},
        {u"cmdSospese"_qs, u"Visualizza il riepilogo dei DDT relativi ai carichi non ancora consegnati."_qs},
        {u"cmdNumerazione"_qs, u"Imposta il numero iniziale per la numerazione dei Documenti di Trasporto."_qs},
        {u"cmdEsporta"_qs, u"Esporta i Documenti di Trasporto in archivio in un file di Microsoft Excel."_qs},
        {u"chkSaldata"_qs, u"Contrassegna come Documento di Trasporto in sospeso."_qs},
    };
    s.findCustomer = [](QWidget* editor, const QString& tag) {
        runDialog<TfrmTrovaClienti>(editor, [&tag](TfrmTrovaClienti& f) { f.lblMemory.setText(tag); });
    };
    s.importArticle = &orv::warehouse::importArticle;
    return s;
}

} // namespace

TfrmDDT::TfrmDDT(QWidget* owner) : DocumentEditor(owner, ddtSpec()) { created(); }

void TfrmDDT::cmdTrovaClick()
{
    runDialog<TfrmTrovaDDT>(this, [](TfrmTrovaDDT& f) { f.lblMemory.setText(orv::ddt::kTag); });
}

void TfrmDDT::cmdSospeseClick() { runDialog<TfrmSospesiDDT>(this); }
void TfrmDDT::cmdEsportaClick() { runDialog<TfrmExpDDT>(this); }

void TfrmDDT::cmdDatiTrasportoClick()
{
    runDialog<TfrmDatiTrasporto>(this, [this](TfrmDatiTrasporto& f) { f.showValues(*this); });
}

} // namespace orv::ddt

namespace orv::ddt {

QString openYearFile() { return frmDDT ? frmDDT->yearFile() : QString(); }

void loadIntoEditor(const archive::FoundRecord& found)
{
    if (frmDDT) frmDDT->loadFound(found);
}

kit::ListSpec ddtList(const QString& printTitle)
{
    return documents::documentList(TDDT::layout(), openYearFile, kLinePrefix, printTitle);
}

} // namespace orv::ddt
