#include "printing/contract.h"

#include "printing/doclayout.h"

namespace orv::printing {
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

using namespace Qt::StringLiterals;

TfrmStampaCon* frmStampaCon = nullptr;
TfrmAnteprimaCon* frmAnteprimaCon = nullptr;

} // namespace orv::printing

namespace orv::printing {

namespace {

const QString kTitle = QStringLiteral("CONTRATTO DI MANUTENZIONE PROGRAMMATA");
const QString kParties = QStringLiteral("LE PARTI CONVENGONO E STIPULANO QUANTO SEGUE:");
const QString kConfirmed = QStringLiteral("Letto, confermato e sottoscritto.");
const QString kPageNumber = QStringLiteral("Pagina 1 di 2");
const QString kUserSignature = QStringLiteral("FIRMA DELL'UTENTE");

// Captions the fill writes again over the layout's own text.
struct Caption {
    const char16_t* name;
    const char16_t* text;
};
constexpr Caption kInstallationCaptions[] = {
    {u"titTipoImpianto", u"Tipo:"},           {u"titMarca", u"Marca e modello:"},
    {u"titMatricola", u"Matricola n."},       {u"titAlimentazione", u"Alimentazione:"},
    {u"titAnnoCostruz", u"Anno costruz."},    {u"titCaratteristiche", u"Caratteristiche tecniche:"},
    {u"titUbicazione", u"Ubicazione:"},
};
constexpr Caption kTermsCaptions[] = {
    {u"titDurata", u"Durata contratto:"},   {u"titTotale", u"Totale corrispettivo:"},
    {u"titPeriodicita", u"Periodicit\u00e0 canone:"}, {u"titImpCanone", u"Importo canone:"},
    {u"titPagamento", u"Modalit\u00e0 di pagamento:"},
};

QString caption(const Caption& c) { return QString::fromUtf16(c.text); }

} // namespace

// Memos that receive the editor's values never evaluate bracketed text: what the user
// typed prints as typed. Fixed texts keep the switches they were laid out with.
std::unique_ptr<TfrxReport> contractLayout(Output output)
{
    auto report = newDocumentReport(QStringLiteral("Contratto di Manutenzione"));
    LayoutBuilder b(*report);

    // Heading
    b.logo(1, 1, 79, 39);
    b.shape(u"shpSfondo01"_s, 83, 1, 106, 6.8, kLavender);
    b.memo(u"txtTitolo"_s, 84, 2.5, 103.8, 4.2, 9, Bold | Centre, kTitle);
    b.shape(u"shpSfondo02"_s, 83, 10, 106, 9, kLightSteelBlue);
    b.memo(u"titNumContratto"_s, 84, 12.5, 31, 4, 9, Plain, u"CONTRATTO N."_s);
    b.memo(u"txtNumContratto"_s, 117, 12.5, 71, 4, 9, Bold);
    b.shape(u"shpSfondo03"_s, 83, 21, 106, 8, kLightSteelBlue);
    b.memo(u"titData"_s, 84, 23, 31, 4, 9, Plain, u"Data stipula:"_s);
    b.memo(u"txtData"_s, 117, 23, 71, 4, 9, Bold);
    b.shape(u"shpSfondo04"_s, 83, 31, 106, 8, kLightSteelBlue);
    b.memo(u"titLuogo"_s, 84, 33, 31, 4, 9, Plain, u"Luogo stipula:"_s);
    b.memo(u"txtLuogo"_s, 117, 33, 71, 4, 9, Bold);

    // Parties
    b.memo(u"titTesto01"_s, 1, 42, 79, 4, 8, Plain, u"Il presente contratto \u00e8 stipulato tra la Ditta:"_s);
    b.shape(u"shpSfondo05"_s, 1, 47, 188, 14);
    b.memo(u"txtDitta"_s, 2, 49, 185, 10, 8, Tags);
    b.memo(u"titTesto02"_s, 1, 63, 79, 4, 8, Expressions, u"e l'Utente:"_s);
    b.shape(u"shpSfondo08"_s, 1, 68, 188, 14);
    b.memo(u"txtUtente"_s, 2, 70, 185, 10, 8, Tags);
    b.memo(u"titTesto03"_s, 1, 84, 188, 8, 8, Wrap,
           u"Premesso che scopo del presente contratto \u00e8 quello di fornire all'Utente le prestazioni "
           u"tecnico-professionali di seguito specificate affinch\u00e9 l'Utente medesimo possa rispettare gli "
           u"obblighi di legge previsti per la manutenzione periodica degli impianti,"_s);
    b.memo(u"txtParti"_s, 1, 94, 188, 4, 8, Bold | Centre | Expressions | Tags, kParties);

    // Installation
    b.shape(u"shpSfondo06"_s, 1, 100, 188, 5.8, kLavender);
    b.memo(u"titTesto04"_s, 2, 101, 185.8, 4.2, 9, Expressions | Tags,
           u"Il presente contratto regolamenta le operazioni di manutenzione dell'impianto o apparecchio di "
           u"seguito indicato:"_s);
    b.shape(u"shpSfondo07"_s, 1, 106, 188, 24);
    b.vline(u"linLinea07"_s, 70, 106.2, 11.2);
    b.memo(u"titTipoImpianto"_s, 2, 107, 10, 4, 8, Plain, u"Tipo:"_s);
    b.memo(u"txtTipoImpianto"_s, 13, 107, 56, 4, 8, Bold);
    b.memo(u"titMarca"_s, 70.8, 107, 29, 4, 8, Plain, u"Marca e modello:"_s);
    b.memo(u"txtMarca"_s, 101, 107, 87, 4, 8, Bold);
    b.hline(u"linSepara01"_s, 1, 112, 188);
    b.vline(u"linLinea08"_s, 122, 112.2, 5.2);
    b.memo(u"titMatricola"_s, 2, 113, 21, 4, 8, Plain, u"Matricola n."_s);
    b.memo(u"txtMatricola"_s, 24, 113, 45, 4, 8, Bold);
    b.memo(u"titAnnoCostruz"_s, 70.8, 113, 22, 4, 8, Plain, u"Anno costruz."_s);
    b.memo(u"txtAnnoCostruz"_s, 94, 113, 27, 4, 8, Bold);
    b.memo(u"titAlimentazione"_s, 123, 113, 23, 4, 8, Plain, u"Alimentazione:"_s);
    b.memo(u"txtAlimentazione"_s, 147, 113, 41, 4, 8, Bold);
    b.hline(u"linSepara02"_s, 1, 117.5, 188);
    b.memo(u"titCaratteristiche"_s, 2, 118.4, 38, 4, 8, Plain, u"Caratteristiche tecniche:"_s);
    b.memo(u"txtCaratteristiche"_s, 41, 118.4, 147, 4, 8, Bold);
    b.hline(u"linSepara03"_s, 1, 123.5, 188);
    b.memo(u"titUbicazione"_s, 2, 124.5, 20, 4, 8, Plain, u"Ubicazione:"_s);
    b.memo(u"txtUbicazione"_s, 23, 124.5, 165, 4, 8, Bold);

    // Operations included in and excluded from the fee
    b.shape(u"shpSfondo09"_s, 1, 134, 188, 5.8, kLightSteelBlue);
    b.memo(u"titTesto06"_s, 2, 135, 185.8, 4.2, 9, Plain,
           u"Operazioni previste e comprese nella quota di contratto:"_s);
    b.shape(u"shpSfondo10"_s, 1, 140, 188, 22.5);
    for (int i = 0; i < 4; ++i) b.memo(u"txtOpInc0%1"_s.arg(i + 1), 2, 142 + 5 * i, 186, 4, 8);
    b.shape(u"shpSfondo11"_s, 1, 165, 188, 5.8, kLightSteelBlue);
    b.memo(u"titTesto07"_s, 2, 166, 185.8, 4.2, 9, Plain, u"Operazioni escluse dalla quota di contratto:"_s);
    b.shape(u"shpSfondo12"_s, 1, 171, 188, 22.5);
    for (int i = 0; i < 4; ++i) b.memo(u"txtOpEsc0%1"_s.arg(i + 1), 2, 173 + 5 * i, 186, 4, 8);

    // Economic terms
    b.shape(u"shpSfondo13"_s, 1, 196, 188, 12);
    b.vline(u"linLinea05"_s, 64, 196, 12.2);
    b.vline(u"linLinea06"_s, 131.8, 196, 5.8);
    b.memo(u"titTotale"_s, 2, 197, 32, 4, 8, Expressions | Tags, u"Totale corrispettivo:"_s);
    b.memo(u"txtTotale"_s, 35, 197, 28, 4, 8, Bold);
    b.memo(u"titPeriodicita"_s, 64.8, 197, 31, 4, 8, Expressions | Tags, u"Periodicit\u00e0 canone:"_s);
    b.memo(u"txtPeriodicita"_s, 97, 197, 34, 4, 8, Bold);
    b.memo(u"titImpCanone"_s, 132.8, 197, 27, 4, 8, Expressions | Tags, u"Importo canone:"_s);
    b.memo(u"txtImpCanone"_s, 161, 197, 27, 4, 8, Bold);
    b.hline(u"linLinea09"_s, 1, 202, 188);
    b.memo(u"titDurata"_s, 2, 203, 28, 4, 8, Expressions | Tags, u"Durata contratto:"_s);
    b.memo(u"txtDurata"_s, 31, 203, 32, 4, 8, Bold);
    b.memo(u"titPagamento"_s, 65, 203, 38, 4, 8, Expressions | Tags, u"Modalit\u00e0 di pagamento:"_s);
    b.memo(u"txtPagamento"_s, 104, 203, 84, 4, 8, Bold);

    // Confirmation, signatures, data protection, clause approval
    b.memo(u"txtConfermato"_s, 1, 209, 188, 4.2, 8, Middle, kConfirmed);
    b.hline(u"linLinea03"_s, 2, 221, 78);
    b.hline(u"linLinea04"_s, 100, 221, 78);
    b.memo(u"titFirmaMeccanico"_s, 2, 222, 38, 3.8, 7, Plain, kUserSignature);
    b.memo(u"titFirmaCliente"_s, 100, 222, 41, 3.8, 7, Plain, u"FIRMA DEL MANUTENTORE"_s);
    b.shape(u"shpSfondo17"_s, 1, 227, 188, 14);
    b.memo(u"titTesto13"_s, 2, 228, 186, 12.5, 6, Expressions | Tags,
           u"TUTELA DEI DATI PERSONALI:  I dati personali forniti dall'Utente sono utilizzati ai fini "
           u"dell'esecuzione del presente contratto, per tutta la durata dello stesso, e specificatamente per "
           u"finalit\u00e0 funzionali all'andamento delle prestazioni di manutenzione e riparazione. I dati possono "
           u"essere comunicati a soggetti che svolgono funzioni strettamente connesse all'attivit\u00e0 del "
           u"Manutentore nonch\u00e9 ai dipendenti della Ditta. Titolare del trattamento dati \u00e8 il Manutentore. "
           u"L'Utente, secondo quanto previsto dalla normativa sulla tutela dei dati personali, pu\u00f2 accedere "
           u"ai propri dati, chiedendone la correzione, l'integrazione e, ricorrendone gli estremi, la "
           u"cancellazione o il blocco. L'Utente dichiara di acconsentire al trattamento dei dati personali "
           u"forniti al Manutentore e di essere a conoscenza dei diritti degli artt. dal 7 al 10 del nuovo "
           u"Codice."_s);
    b.hline(u"linLinea02"_s, 2, 250, 78);
    b.memo(u"titTesto14"_s, 2, 251, 38, 3.8, 7, Plain, kUserSignature);
    b.memo(u"titTesto15"_s, 2, 255, 188, 6.2, 8, Middle | Wrap,
           u"L'Utente dichiara di aver letto e approvato il presente contratto e tutti gli articoli delle "
           u"clausole riportate a tergo, e specificatamente gli artt. 1, 2, 3, 4, 5, 6, 7, 8, 9 e 10."_s);
    b.memo(u"txtPagina"_s, 146, 268, 42.8, 4, 8, Italic | Centre, kPageNumber);
    b.hline(u"linLinea01"_s, 2, 271, 78);
    b.memo(u"titTesto16"_s, 2, output == Output::Print ? 272 : 271, 38, 3.8, 7, Plain, kUserSignature);
    return report;
}

void fillContract(DocumentFill& f)
{
    f.set(u"txtTitolo"_s, kTitle);
    f.set(u"txtNumContratto"_s, f.value(u"txtNumContratto"_s));
    f.set(u"txtData"_s, f.value(u"txtData"_s));
    f.set(u"txtLuogo"_s, f.value(u"txtLuogo"_s));

    // The parties' paragraphs: every value in bold between the connecting words.
    f.set(u"txtDitta"_s, u"<b>"_s + f.value(u"txtDitta"_s) +
                             u"</b>, di seguito denominata Manutentore, con sede legale in <b>"_s +
                             f.value(u"txtSede"_s) + u"</b>, prov. <b>"_s + f.value(u"txtProvRes"_s) +
                             u"</b>, CAP: <b>"_s + f.value(u"txtCapRes"_s) + u"</b>, in <b>"_s +
                             f.value(u"txtVia"_s) + u"</b>, Codice Fiscale: <b>"_s + f.value(u"txtCodFisc"_s) +
                             u"</b>, Partita IVA: <b>"_s + f.value(u"txtPartitaIva"_s) +
                             u"</b>, tel. ufficio: <b>"_s + f.value(u"txtTelUff"_s) +
                             u"</b>, tel. cellulare: <b>"_s + f.value(u"txtTelCel"_s) + u"</b>, fax: <b>"_s +
                             f.value(u"txtFax"_s) + u"</b>,"_s);
    f.set(u"txtUtente"_s, u"<b>"_s + f.value(u"txtCliente"_s) + u"</b>, residente in <b>"_s +
                              f.value(u"txtComuneCli"_s) + u"</b>, prov. <b>"_s + f.value(u"txtProvCli"_s) +
                              u"</b>, CAP: <b>"_s + f.value(u"txtCapCli"_s) + u"</b>, in <b>"_s +
                              f.value(u"txtViaCli"_s) + u"</b>, Codice Fiscale: <b>"_s +
                              f.value(u"txtCodFiscCli"_s) + u"</b>, Partita IVA: <b>"_s +
                              f.value(u"txtPartitaIvaCli"_s) + u"</b>, tel. <b>"_s + f.value(u"txtTelCli"_s) +
                              u"</b>, in qualit\u00e0 di <b>"_s + f.value(u"txtQualitaCli"_s) + u"</b>."_s);
    f.set(u"txtParti"_s, kParties);

    for (const Caption& c : kInstallationCaptions) f.set(QString::fromUtf16(c.name), caption(c));
    for (const char16_t* name : {u"txtTipoImpianto", u"txtMarca", u"txtMatricola", u"txtAlimentazione",
                                 u"txtAnnoCostruz", u"txtCaratteristiche", u"txtUbicazione"}) {
        const QString n = QString::fromUtf16(name);
        f.set(n, f.value(n));
    }
    for (const QString& prefix : {u"txtOpInc"_s, u"txtOpEsc"_s}) {
        for (int i = 1; i <= 4; ++i) {
            const QString n = prefix + u"0%1"_s.arg(i);
            f.set(n, f.value(n));
        }
    }

    for (const Caption& c : kTermsCaptions) f.set(QString::fromUtf16(c.name), caption(c));
    f.set(u"txtDurata"_s, f.value(u"txtDurata"_s));
    f.set(u"txtTotale"_s, u"\u20ac "_s + f.value(u"txtTotale"_s));
    f.set(u"txtPeriodicita"_s, f.value(u"txtPeriodicita"_s));
    f.set(u"txtImpCanone"_s, u"\u20ac "_s + f.value(u"txtImpCanone"_s));
    f.set(u"txtPagamento"_s, f.value(u"txtPagamento"_s));
    f.set(u"txtConfermato"_s, kConfirmed);
    f.set(u"txtPagina"_s, kPageNumber);
}

ContractWindow::ContractWindow(QWidget* owner, const QString& name, Output output, int pictureTop)
    : DocumentWindow(owner,
                     {.name = name, .output = output, .buttons = Buttons::Wide, .editor = u"frmContratto"_s,
                      .pdfFile = {}, .pictureTop = pictureTop},
                     [output] { return contractLayout(output); })
{
}

void ContractWindow::fill(DocumentFill& f) { fillContract(f); }

} // namespace orv::printing

namespace orv::printing {

using namespace orv::printing;

// On paper the explanatory picture sits 2 pixels lower than in the other windows.
TfrmStampaCon::TfrmStampaCon(QWidget* owner) : ContractWindow(owner, u"frmStampaCon"_s, Output::Print, 32) {}

TfrmAnteprimaCon::TfrmAnteprimaCon(QWidget* owner) : ContractWindow(owner, u"frmAnteprimaCon"_s, Output::Preview, 0) {}

} // namespace orv::printing
