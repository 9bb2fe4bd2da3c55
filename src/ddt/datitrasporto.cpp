#include "ddt/datitrasporto.h"

#include "ddt/ddt.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/ui/art.h"

namespace orv::ddt {
using namespace orv::platform;
} // namespace orv::ddt

namespace orv::ddt {

using namespace orv::platform::ui;

TfrmDatiTrasporto* frmDatiTrasporto = nullptr;

namespace {

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
        for (const orv::documents::ValueField& f : TfrmDatiTrasporto::valueFields()) {
            const Place& at = kPlaces[i++];
            l.push_back(orv::documents::valueCaption(f, at.x, at.y - 19, at.w + 30));
            Item field = f.edit == u"txtPorto" ? combo(f.edit, at.x, at.y, at.w, 22).items({u"Franco"_qs, u"Assegnato"_qs})
                                               : edit(f.edit, at.x, at.y, at.w, 22);
            l.push_back(field.font(orv::documents::valueFont()).highlighted());
        }
        // The time stamps at the right end of the two time fields.
        const std::pair<const char16_t*, const Place&> stamps[] = {{u"impOraPartenza", kPlaces[4]},
                                                                   {u"impOraConsegna", kPlaces[5]}};
        for (const auto& [name, at] : stamps)
            l.push_back(command(QString::fromUtf16(name), at.x + at.w + 6, at.y, 24, 22,
                                art::icon(art::Icon::Clock, QColor(0xC6, 0x28, 0x28))));
        // Applica comes first in the tab order, though it stands right of Annulla.
        l.push_back(button(u"btnApplica"_qs, 606, 318, 140, 30, u"Applica e chiudi"_qs));
        l.push_back(button(u"btnAnnulla"_qs, 456, 318, 140, 30, u"Annulla"_qs));
        l.push_back(label(u"lblMemory"_qs, 0, 0, 10, 10, QString()).hidden());
        return l;
    }();
    return l;
}

} // namespace

const QList<orv::documents::ValueField>& TfrmDatiTrasporto::valueFields()
{
    static const QList<orv::documents::ValueField> f = {
        {u"txtVettore"_qs, u"memVettore"_qs, 50, u"Vettore:"_qs},
        {u"txtDestinazione"_qs, u"memDestinazione"_qs, 50, u"Destinazione merce:"_qs},
        {u"txtCausale"_qs, u"memCausale"_qs, 50, u"Causale del trasporto:"_qs},
        {u"txtAspetto"_qs, u"memAspetto"_qs, 50, u"Aspetto esteriore dei beni:"_qs},
        {u"txtOraPartenza"_qs, u"memOraPartenza"_qs, 50, u"Ora e data inizio trasporto:"_qs},
        {u"txtOraConsegna"_qs, u"memOraConsegna"_qs, 50, u"Ora e data consegna:"_qs},
        {u"txtPorto"_qs, u"memPorto"_qs, 30, u"Porto:"_qs},
    };
    return f;
}

TfrmDatiTrasporto::TfrmDatiTrasporto(QWidget* owner)
    : ValuesDialog(owner,
                   {u"frmDatiTrasporto"_qs, u" Dati trasporto"_qs, 766, 363, Border::Single, Placement::OwnerCenter,
                    QColor(0xE8, 0xEE, 0xF4), QColor()},
                   windowLayout(), valueFields(), orv::ddt::kTag, [] { return frmDDT; })
{
    onShow = [this] { FormShow(); };
    txtPorto.onCanFocus = [this](bool&) { txtPortoCanFocus(); };
    impOraPartenza.onClick = [this] { impOraPartenzaClick(); };
    impOraConsegna.onClick = [this] { impOraConsegnaClick(); };
    created();
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

} // namespace orv::ddt

namespace orv::ddt {

QString timeStamp()
{
    const TDateTime now = nowDateTime();
    return u"Ore "_qs + formatDateTime(u"hh"_qs, now) + u':' + formatDateTime(u"nn"_qs, now) + u" del "_qs
           + dateToStr(now);
}

} // namespace orv::ddt
