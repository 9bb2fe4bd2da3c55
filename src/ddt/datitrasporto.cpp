#include "ddt/datitrasporto.h"

#include "customers/common/bridge.h"
#include "ddt/ddt.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"

using namespace orv::ui;

TfrmDatiTrasporto* frmDatiTrasporto = nullptr;

namespace {

const QColor kCaption(0x00, 0x00, 0x8B);
const FontSpec kFieldFont{u"Verdana"_qs, 12, true, false, false, QColor()};

// Places of the fields: two columns, the carriage terms alone on the last line.
struct Place {
    int x, y, w;
};
const Place kPlaces[] = {
    {20, 86, 350}, {396, 86, 350}, {20, 150, 350}, {396, 150, 350}, {20, 214, 320}, {396, 214, 320}, {20, 278, 200},
};

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout l{label(u"lblIstruzioni"_qs, 20, 16, 726, 40,
                       u"Inserire i dati, fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le "
                       u"modifiche."_qs)
                     .font({u"Verdana"_qs, 12, false, false, false, QColor(0x1F, 0x3F, 0x6E)}).wrap()};
        int i = 0;
        for (const TfrmDatiTrasporto::Pair& p : TfrmDatiTrasporto::pairs()) {
            const Place& at = kPlaces[i++];
            l.push_back(label(u"lbl"_qs + p.edit.mid(3), at.x, at.y - 19, at.w + 30, 16, p.caption)
                            .font({u"Verdana"_qs, 11, true, false, false, kCaption}));
            Item field = p.edit == u"txtPorto" ? combo(p.edit, at.x, at.y, at.w, 22).items({u"Franco"_qs, u"Assegnato"_qs})
                                               : edit(p.edit, at.x, at.y, at.w, 22);
            l.push_back(field.font(kFieldFont).highlighted());
        }
        // The time stamps at the right end of the two time fields.
        for (const char16_t* name : {u"impOraPartenza", u"impOraConsegna"}) {
            const Place& at = kPlaces[name == std::u16string_view(u"impOraPartenza") ? 4 : 5];
            l.push_back(command(QString::fromUtf16(name), at.x + at.w + 6, at.y, 24, 22,
                                art::icon(art::Icon::Schedule, QColor(0xC6, 0x28, 0x28))));
        }
        // Applica comes first in the tab order, though it stands right of Annulla.
        l.push_back(button(u"btnApplica"_qs, 606, 318, 140, 30, u"Applica e chiudi"_qs));
        l.push_back(button(u"btnAnnulla"_qs, 456, 318, 140, 30, u"Annulla"_qs));
        l.push_back(label(u"lblMemory"_qs, 0, 0, 10, 10, QString()).hidden());
        return l;
    }();
    return l;
}

} // namespace

const QList<TfrmDatiTrasporto::Pair>& TfrmDatiTrasporto::pairs()
{
    static const QList<Pair> p = {
        {u"txtVettore"_qs, u"memVettore"_qs, 50, u"Vettore:"_qs},
        {u"txtDestinazione"_qs, u"memDestinazione"_qs, 50, u"Destinazione merce:"_qs},
        {u"txtCausale"_qs, u"memCausale"_qs, 50, u"Causale del trasporto:"_qs},
        {u"txtAspetto"_qs, u"memAspetto"_qs, 50, u"Aspetto esteriore dei beni:"_qs},
        {u"txtOraPartenza"_qs, u"memOraPartenza"_qs, 50, u"Ora e data inizio trasporto:"_qs},
        {u"txtOraConsegna"_qs, u"memOraConsegna"_qs, 50, u"Ora e data consegna:"_qs},
        {u"txtPorto"_qs, u"memPorto"_qs, 30, u"Porto:"_qs},
    };
    return p;
}

TfrmDatiTrasporto::TfrmDatiTrasporto(QWidget* owner)
    : Form(owner,
           {u"frmDatiTrasporto"_qs, u" Dati trasporto"_qs, 766, 363, Border::Single, Placement::OwnerCenter,
            QColor(0xE8, 0xEE, 0xF4), QColor()},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    chainEnter({&txtVettore, &txtDestinazione, &txtCausale, &txtAspetto, &txtOraPartenza, &txtOraConsegna, &txtPorto});
    txtPorto.onCanFocus = [this](bool&) { txtPortoCanFocus(); };
    impOraPartenza.onClick = [this] { impOraPartenzaClick(); };
    impOraConsegna.onClick = [this] { impOraConsegnaClick(); };
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

void TfrmDatiTrasporto::FormCreate()
{
    orv::applyProgramFormats();
    for (const Pair& p : pairs()) {
        Control& c = control<Control>(p.edit);
        if (auto* e = dynamic_cast<Edit*>(&c)) e->setMaxLength(p.width);
        else static_cast<ComboEdit&>(c).setMaxLength(p.width);
    }
}

// Only the list's selection is cleared: the carriage terms handed over stay.
void TfrmDatiTrasporto::FormShow()
{
    txtPorto.setItemIndex(-1);
    txtVettore.setFocus();
}

void TfrmDatiTrasporto::txtPortoCanFocus() { txtPorto.setItemIndex(-1); }

void TfrmDatiTrasporto::impOraPartenzaClick() { txtOraPartenza.setText(orv::ddt::timeStamp()); }
void TfrmDatiTrasporto::impOraConsegnaClick() { txtOraConsegna.setText(orv::ddt::timeStamp()); }

void TfrmDatiTrasporto::btnApplicaClick()
{
    if (orv::trimmed(lblMemory.text()) == orv::ddt::kTag && frmDDT) {
        for (const Pair& p : pairs())
            frmDDT->control<Label>(p.label).setText(orv::trimmed(orv::forms::controlText(control<Control>(p.edit))));
    }
    close();
}

void TfrmDatiTrasporto::btnAnnullaClick() { close(); }

namespace orv::ddt {

QString timeStamp()
{
    const TDateTime now = nowDateTime();
    return u"Ore "_qs + formatDateTime(u"hh"_qs, now) + u':' + formatDateTime(u"nn"_qs, now) + u" del "_qs
           + dateToStr(now);
}

} // namespace orv::ddt
