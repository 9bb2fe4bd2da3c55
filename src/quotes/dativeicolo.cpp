#include "quotes/dativeicolo.h"

#include "quotes/preventivi.h"

namespace orv::quotes {

using namespace orv::platform::ui;

TfrmDatiVeicolo* frmDatiVeicolo = nullptr;

namespace {

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout l{label(u"lblIstruzioni"_qs, 20, 16, 600, 36,
                       u"Inserire i dati, fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le "
                       u"modifiche."_qs)
                     .font({u"Verdana"_qs, 12, false, false, false, QColor(0x1F, 0x3F, 0x6E)}).wrap()};
        int i = 0;
        for (const orv::documents::ValueField& f : TfrmDatiVeicolo::valueFields()) {
            const int x = i % 2 == 0 ? 20 : 330;
            const int y = 82 + (i / 2) * 58;
            l.push_back(orv::documents::valueCaption(f, x, y - 18, 290));
            l.push_back(edit(f.edit, x, y, 290, 22).font(orv::documents::valueFont()).highlighted());
            ++i;
        }
        l.push_back(button(u"btnAnnulla"_qs, 330, 262, 140, 30, u"Annulla"_qs));
        l.push_back(button(u"btnApplica"_qs, 480, 262, 140, 30, u"Applica e chiudi"_qs));
        l.push_back(label(u"lblMemory"_qs, 0, 0, 10, 10, QString()).hidden());
        return l;
    }();
    return l;
}

} // namespace

const QList<orv::documents::ValueField>& TfrmDatiVeicolo::valueFields()
{
    static const QList<orv::documents::ValueField> f = {
        {u"txtVeicolo"_qs, u"memVeicolo"_qs, 50, u"Destinazione merce:"_qs},
        {u"txtMarca"_qs, u"memMarca"_qs, 50, u"Vettore:"_qs},
        {u"txtColore"_qs, u"memColore"_qs, 50, u"Aspetto esteriore dei beni:"_qs},
        {u"txtImmatricolazione"_qs, u"memImmatricolazione"_qs, 30, u"Porto:"_qs},
        {u"txtAlimentazione"_qs, u"memAlimentazione"_qs, 50, u"Causale del trasporto:"_qs},
        {u"txtTarga"_qs, u"memTarga"_qs, 30, u"Numero colli:"_qs},
    };
    return f;
}

TfrmDatiVeicolo::TfrmDatiVeicolo(QWidget* owner)
    : ValuesDialog(owner,
                   {u"frmDatiVeicolo"_qs, u" Altre informazioni"_qs, 640, 310, Border::Single, Placement::OwnerCenter,
                    QColor(0xE8, 0xEE, 0xF4), QColor()},
                   windowLayout(), valueFields(), orv::quotes::kTag, [] { return frmPreventivi; })
{
    onShow = [this] { FormShow(); };
    created();
}

void TfrmDatiVeicolo::FormShow() { txtVeicolo.setFocus(); }

} // namespace orv::quotes
