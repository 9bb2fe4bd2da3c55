#include "quotes/dativeicolo.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/input.h"
#include "quotes/preventivi.h"

using namespace orv::ui;

TfrmDatiVeicolo* frmDatiVeicolo = nullptr;

namespace {

const QColor kCaption(0x00, 0x00, 0x8B);

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout l{label(u"lblIstruzioni"_qs, 20, 16, 600, 36,
                       u"Inserire i dati, fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le "
                       u"modifiche."_qs)
                     .font({u"Verdana"_qs, 12, false, false, false, QColor(0x1F, 0x3F, 0x6E)}).wrap()};
        const char* captions[] = {"Destinazione merce:", "Vettore:", "Aspetto esteriore dei beni:", "Porto:",
                                  "Causale del trasporto:", "Numero colli:"};
        int i = 0;
        for (const TfrmDatiVeicolo::Pair& p : TfrmDatiVeicolo::pairs()) {
            const int x = i % 2 == 0 ? 20 : 330;
            const int y = 82 + (i / 2) * 58;
            l.push_back(label(u"lbl"_qs + p.edit.mid(3), x, y - 18, 290, 16, QString::fromUtf8(captions[i]))
                            .font({u"Verdana"_qs, 11, true, false, false, kCaption}));
            l.push_back(edit(p.edit, x, y, 290, 22).maxLen(p.width)
                            .font({u"Verdana"_qs, 12, true, false, false, QColor()}).highlighted());
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

const QList<TfrmDatiVeicolo::Pair>& TfrmDatiVeicolo::pairs()
{
    static const QList<Pair> p = {
        {u"txtVeicolo"_qs, u"memVeicolo"_qs, 50},
        {u"txtMarca"_qs, u"memMarca"_qs, 50},
        {u"txtColore"_qs, u"memColore"_qs, 50},
        {u"txtImmatricolazione"_qs, u"memImmatricolazione"_qs, 30},
        {u"txtAlimentazione"_qs, u"memAlimentazione"_qs, 50},
        {u"txtTarga"_qs, u"memTarga"_qs, 30},
    };
    return p;
}

TfrmDatiVeicolo::TfrmDatiVeicolo(QWidget* owner)
    : Form(owner,
           {u"frmDatiVeicolo"_qs, u" Altre informazioni"_qs, 640, 310, Border::Single, Placement::OwnerCenter,
            QColor(0xE8, 0xEE, 0xF4), QColor()},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    chainEnter({&txtVeicolo, &txtMarca, &txtColore, &txtImmatricolazione, &txtAlimentazione, &txtTarga});
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

void TfrmDatiVeicolo::FormCreate() { orv::applyProgramFormats(); }

void TfrmDatiVeicolo::FormShow() { txtVeicolo.setFocus(); }

void TfrmDatiVeicolo::btnApplicaClick()
{
    if (orv::trimmed(lblMemory.text()) == orv::quotes::kTag && frmPreventivi) {
        for (const Pair& p : pairs())
            frmPreventivi->control<Label>(p.label).setText(orv::trimmed(control<Edit>(p.edit).text()));
    }
    close();
}

void TfrmDatiVeicolo::btnAnnullaClick() { close(); }
