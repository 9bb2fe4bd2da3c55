#include "jobs/menuriepcosti.h"

#include "kit/windowtable.h"
#include "customers/trovaclienti.h"
#include "jobs/riepcosti.h"
#include "jobs/riepilogo.h"
#include "jobs/scheda.h"
#include "archive/helpers.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"

namespace orv::jobs {
using namespace orv::archive;
using namespace orv::customers;
} // namespace orv::jobs

namespace orv::jobs {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmMenuRiepCosti* frmMenuRiepCosti = nullptr;

namespace {

const QColor kTitle(0x1F, 0x3F, 0x6E);
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kTitle};
const FontSpec kCaption{u"Verdana"_qs, 11, true, false, false, kTitle};
const FontSpec kField{u"Verdana"_qs, 12, true, false, false, QColor()};

// One interval group: day and month lists, the year it lies in and the built date.
void addIntervalGroup(Layout& l, const QString& groupName, int x, const QString& caption, const QString& end)
{
    l.push_back(group(groupName, x, 250, 370, 100, caption).font(kCaption).in(u"panContainer"_qs));
    l.push_back(label(u"titGiorno"_qs + end, 16, 28, 80, 18, u"Giorno:"_qs).font(kCaption).in(groupName));
    l.push_back(combo(u"txtGiorno"_qs + end, 16, 48, 80).items(orv::jobs::intervalDays()).maxLen(2).font(kField)
                    .highlighted().in(groupName));
    l.push_back(label(u"titMese"_qs + end, 110, 28, 150, 18, u"Mese:"_qs).font(kCaption).in(groupName));
    l.push_back(combo(u"txtMese"_qs + end, 110, 48, 150).items(orv::jobs::intervalMonths()).maxLen(9).font(kField)
                    .highlighted().in(groupName));
    l.push_back(label(u"lblAnno"_qs + end, 276, 50, 80, 22, u"ANNO"_qs).font(kField).in(groupName));
    l.push_back(label(u"lblData"_qs + end, 0, 0, 10, 10, QString()).hidden().in(groupName));
}

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = u"panContainer"_qs;
        Layout l{panel(in, 0, 0, 800, 480).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6)};
        l.push_back(picture(u"imgTitolo"_qs, 0, 0, 800, 84,
                            art::heading(u"Riepilogo Schede di Lavoro"_qs,
                                         u"Estratto conto degli importi fatturati"_qs, art::Icon::JobSheet))
                        .in(in));
        const char* const rows[] = {
            "Indicare l'anno solare di interesse, il nome del Cliente e il numero di matricola dell'impianto.",
            "Per ottenere il riepilogo di tutte le Schede di Lavoro, lasciare in bianco i campi di testo.",
            "Indicare l'intervallo di tempo relativo al periodo da riepilogare in base alla data di emissione "
            "delle Schede di Lavoro.",
        };
        for (int i = 0; i < 3; ++i)
            l.push_back(label(numbered(u"lblRigo"_qs, i + 1), 24, 94 + i * 22, 752, 20, QString::fromUtf8(rows[i]))
                            .font(kText).in(in));
        l.push_back(label(u"titAnno"_qs, 24, 174, 100, 18, u"Anno:"_qs).font(kCaption).in(in));
        l.push_back(edit(u"txtAnno"_qs, 24, 194, 100).maxLen(4).centre().font(kField).highlighted().in(in));
        l.push_back(label(u"titCliente"_qs, 140, 174, 300, 18, u"Cognome e nome Cliente:"_qs).font(kCaption).in(in));
        l.push_back(edit(u"txtCliente"_qs, 140, 194, 300).maxLen(50).font(kField).highlighted().in(in));
        l.push_back(label(u"titMatricola"_qs, 456, 174, 260, 18, u"N. matricola impianto:"_qs).font(kCaption).in(in));
        l.push_back(edit(u"txtMatricola"_qs, 456, 194, 260).maxLen(50).font(kField).highlighted().in(in));
        l.push_back(command(u"impCodTariffa"_qs, 724, 192, 28, 28, art::icon(art::Icon::Customers)).in(in));
        addIntervalGroup(l, u"grpInizio"_qs, 24, u" Data inizio intervallo: "_qs, u"Inizio"_qs);
        addIntervalGroup(l, u"grpFine"_qs, 406, u" Data fine intervallo: "_qs, u"Fine"_qs);
        l.push_back(button(u"btnVisualizza"_qs, 24, 374, 220, 34, u"Visualizza riepilogo"_qs).in(in));
        l.push_back(button(u"btnEsci"_qs, 256, 374, 120, 34, u"Esci"_qs).in(in));
        l.push_back(label(u"lblAttendere"_qs, 24, 424, 600, 24, u"Caricamento riepilogo in corso. Attendere..."_qs)
                        .font({u"Verdana"_qs, 13, true, false, false, QColor(0x00, 0x8B, 0x8B)}).hidden().in(in));
        l.push_back(label(u"lblFile"_qs, 0, 0, 10, 10, u"FilePath"_qs).hidden().in(in));
        return l;
    }();
    return l;
}

} // namespace

TfrmMenuRiepCosti::TfrmMenuRiepCosti(QWidget* owner)
    : Form(owner,
           {u"frmMenuRiepCosti"_qs, u" Orvanta 4.0 - Riepilogo Schede di Lavoro"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };

    txtAnno.onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar); };
    txtAnno.onKeyUp = [this](Word&, QChar&, ShiftState) { txtAnnoChanged(); };
    txtAnno.onExit = [this] { txtAnnoChanged(); };
    // Days and months are picked from their lists: typing does nothing, Backspace and
    // Delete empty the field, a text that is none of the list's goes when it is left.
    for (ComboEdit* c : {&txtGiornoInizio, &txtMeseInizio, &txtGiornoFine, &txtMeseFine}) {
        c->onKeyDown = [c](Word& key, QChar& keyChar, ShiftState) {
            if (key == vk::Back || key == vk::Delete) c->setText(QString());
            if (key != vk::Left && key != vk::Right) swallow(key, keyChar);
        };
        c->onCanFocus = [c](bool&) { c->setItemIndex(-1); };
    }
    for (ComboEdit* day : {&txtGiornoInizio, &txtGiornoFine})
        day->onExit = [day] {
            if (!orv::jobs::isIntervalDay(day->text())) day->setText(QString());
        };
    for (ComboEdit* month : {&txtMeseInizio, &txtMeseFine})
        month->onExit = [month] {
            if (!orv::jobs::isIntervalMonth(month->text())) month->setText(QString());
        };
    chainEnter({&txtAnno, &txtCliente, &txtMatricola, &txtGiornoInizio, &txtMeseInizio, &txtGiornoFine, &txtMeseFine,
                &btnVisualizza},
               false);

    impCodTariffa.onClick = [this] { impCodTariffaClick(); };
    btnVisualizza.onMouseDown = [this](MouseButton, ShiftState, double, double) { btnVisualizzaMouseDown(); };
    btnVisualizza.onClick = [this] { btnVisualizzaClick(); };
    btnEsci.onClick = [this] { btnEsciClick(); };
    created();
}

void TfrmMenuRiepCosti::FormCreate()
{
    orv::platform::applyProgramFormats();
    txtAnno.setMaxLength(4);
    txtCliente.setMaxLength(50);
    txtMatricola.setMaxLength(50);
    txtGiornoInizio.setMaxLength(2);
    txtGiornoFine.setMaxLength(2);
    txtMeseInizio.setMaxLength(9);
    txtMeseFine.setMaxLength(9);
}

void TfrmMenuRiepCosti::FormShow()
{
    txtCliente.setText(QString());
    txtMatricola.setText(QString());
    for (ComboEdit* c : {&txtGiornoInizio, &txtMeseInizio, &txtGiornoFine, &txtMeseFine}) {
        c->setItemIndex(-1);
        c->setText(QString());
    }
    txtAnnoChanged();
    txtCliente.setFocus();
}

void TfrmMenuRiepCosti::FormClose(CloseAction&)
{
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmMenuRiepCosti::openYear(const QString& year, const QString& path)
{
    lblFile.setText(path);
    setCaption(u" Orvanta 4.0 - Riepilogo Schede di Lavoro anno "_qs + year);
    txtAnno.setText(year);
    lblAnnoInizio.setText(year);
    lblAnnoFine.setText(year);
}

void TfrmMenuRiepCosti::txtAnnoChanged()
{
    const QString year = trimmed(txtAnno.text());
    lblAnnoInizio.setText(year);
    lblAnnoFine.setText(year);
}

void TfrmMenuRiepCosti::impCodTariffaClick()
{
    runDialog<TfrmTrovaClienti>(this, [](TfrmTrovaClienti& f) { f.lblMemory.setText(u"riepilogo"_qs); });
}

void TfrmMenuRiepCosti::btnVisualizzaMouseDown()
{
    lblAttendere.show();
    lblAttendere.widget()->repaint(); // the summary that follows holds the event loop
}

void TfrmMenuRiepCosti::refuse(const QString& message, Control* focus, bool warning)
{
    lblAttendere.hide();
    if (warning) warningBox(message);
    else showMessage(message);
    if (focus) focus->setFocus();
}

void TfrmMenuRiepCosti::btnVisualizzaClick()
{
    lblDataInizio.setText(QString());
    lblDataFine.setText(QString());
    // Four digits, which alone become the year file's name.
    if (!orv::jobs::yearFile(txtAnno.text())) return refuse(orv::jobs::kYearWarning, &txtAnno, true);
    const struct {
        ComboEdit* field;
        const char* message;
    } required[] = {
        {&txtGiornoInizio, "Attenzione: indicare il giorno di inizio intervallo selezionandolo dall'elenco a cascata."},
        {&txtMeseInizio, "Attenzione: indicare il mese di inizio intervallo selezionandolo dall'elenco a cascata."},
        {&txtGiornoFine, "Attenzione: indicare il giorno di fine intervallo selezionandolo dall'elenco a cascata."},
        {&txtMeseFine, "Attenzione: indicare il mese di fine intervallo selezionandolo dall'elenco a cascata."},
    };
    for (const auto& r : required)
        if (trimmed(r.field->text()).isEmpty()) return refuse(QString::fromUtf8(r.message), r.field, true);

    const QString validDate = u"\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare una data valida."_qs;
    lblDataInizio.setText(orv::jobs::ComponiData(txtGiornoInizio.text(), txtMeseInizio.text(), lblAnnoInizio.text()));
    if (!DataValida(lblDataInizio.text()))
        return refuse(u"Attenzione: la data "_qs + lblDataInizio.text() + u" di inizio intervallo non esiste."_qs + validDate,
                      &txtGiornoInizio, false);
    lblDataFine.setText(orv::jobs::ComponiData(txtGiornoFine.text(), txtMeseFine.text(), lblAnnoFine.text()));
    if (!DataValida(lblDataFine.text()))
        return refuse(u"Attenzione: la data "_qs + lblDataFine.text() + u" di fine intervallo non esiste."_qs + validDate,
                      &txtGiornoFine, false);
    orv::platform::TDateTime start = 0, end = 0;
    orv::platform::tryStrToDate(lblDataInizio.text(), start, orv::platform::currentYear());
    orv::platform::tryStrToDate(lblDataFine.text(), end, orv::platform::currentYear());
    if (start > end)
        return refuse(u"Attenzione: la data di fine intervallo ("_qs + lblDataFine.text()
                          + u") non può essere anteriore a quella di inizio intervallo ("_qs + lblDataInizio.text()
                          + u")."_qs
                          + u"\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare un intervallo di tempo valido."_qs,
                      nullptr, false);

    try {
        // The year in the field is the one summarised, also when it was changed here.
        lblFile.setText(*orv::jobs::yearFile(trimmed(txtAnno.text())));
        runDialog<TfrmRiepCosti>(this);
    } catch (const std::exception&) {
        refuse(u"Attenzione: il file di archivio non risulta accessibile."_qs, nullptr, false);
    }
}

void TfrmMenuRiepCosti::btnEsciClick() { close(); }

} // namespace orv::jobs
