#include "warehouse/giacenza.h"

#include "kit/dialogs/pictures.h"
#include "archive/helpers.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "warehouse/articolo.h"
#include "warehouse/magazzino.h"

namespace orv::warehouse {
using namespace orv::archive;
} // namespace orv::warehouse

namespace orv::warehouse {

using namespace orv::platform::ui;

TfrmGiacenza* frmGiacenza = nullptr;

namespace {

const FontSpec kCaption{u"Verdana"_qs, 12, true, false, false, QColor(0x00, 0x00, 0x8B)};
const FontSpec kNumber{u"Verdana"_qs, 13, true, false, false, QColor()};

const Layout& windowLayout()
{
    static const Layout l = {
        picture(u"imgLogo"_qs, 0, 0, 420, 120,
                orv::kit::instructions(u"Aggiornamento giacenza"_qs,
                                       u"Indicare la quantità, premere Calcola totale e poi Applica e chiudi. La "
                                       u"giacenza viene salvata in archivio premendo il pulsante Salva."_qs)),
        picture(u"imgMerce"_qs, 24, 150, 80, 80, art::tile(art::Icon::Warehouse, QColor(0xEF, 0x6C, 0x00))),
        label(u"lblGiacenza"_qs, 124, 134, 170, 20, u"Giacenza attuale:"_qs).font(kCaption),
        edit(u"txtGiacenza"_qs, 296, 130, 100, 28).align(Align::Right).font(kNumber).highlighted(),
        label(u"lblAggiunta"_qs, 124, 174, 170, 20, orv::warehouse::kAdd).font(kCaption),
        edit(u"txtAggiunta"_qs, 296, 170, 100, 28).align(Align::Right).font(kNumber).highlighted(),
        button(u"btnTotale"_qs, 124, 210, 160, 30, u"Calcola totale"_qs),
        edit(u"txtTotale"_qs, 296, 211, 100, 28).align(Align::Right).font(kNumber).readOnly(),
        button(u"btnChiudi"_qs, 40, 262, 160, 36, u"Annulla"_qs),
        button(u"btnAggiorna"_qs, 220, 262, 160, 36, u"Applica e chiudi"_qs),
    };
    return l;
}

} // namespace

TfrmGiacenza::TfrmGiacenza(QWidget* owner)
    : Form(owner,
           {.name = u"frmGiacenza"_qs, .caption = u" Aggiornamento giacenza"_qs, .clientWidth = 420,
            .clientHeight = 316, .placement = Placement::OwnerCenter, .background = Qt::white, .gradientTo = QColor()},
           windowLayout())
{
    for (Edit* e : {&txtGiacenza, &txtAggiunta, &txtTotale}) e->setText(u"0"_qs);
    txtGiacenza.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtGiacenzaKeyDown(k, c, s); };
    txtAggiunta.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtAggiuntaKeyDown(k, c, s); };
    txtGiacenza.onExit = [this] { txtGiacenzaExit(); };
    txtAggiunta.onExit = [this] { txtAggiuntaExit(); };
    btnTotale.onClick = [this] { btnTotaleClick(); };
    btnAggiorna.onClick = [this] { btnAggiornaClick(); };
    btnChiudi.onClick = [this] { btnChiudiClick(); };
    created();
}

void TfrmGiacenza::stockKey(Edit& edit, Control& next, Word& key, QChar& keyChar)
{
    if (key == vk::Return) {
        next.setFocus();
        return;
    }
    if (isEditingKey(key)) return;
    acceptOnly(key, keyChar);
    if (!orv::platform::trimmed(edit.text()).isEmpty() && edit.text().size() > 15) edit.setText(QString());
}

void TfrmGiacenza::txtGiacenzaKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    stockKey(txtGiacenza, txtAggiunta, key, keyChar);
}

void TfrmGiacenza::txtAggiuntaKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    stockKey(txtAggiunta, btnTotale, key, keyChar);
}

void TfrmGiacenza::txtGiacenzaExit()
{
    txtGiacenza.setText(NormalizzaImporto(txtGiacenza.text(), orv::archive::AmountKind::Whole, 0));
}

void TfrmGiacenza::txtAggiuntaExit()
{
    txtAggiunta.setText(NormalizzaImporto(txtAggiunta.text(), orv::archive::AmountKind::Whole, 0));
}

void TfrmGiacenza::btnTotaleClick()
{
    QString stock = txtGiacenza.text(), quantity = txtAggiunta.text(), total = txtTotale.text();
    orv::warehouse::calcolaTotale(lblAggiunta.text(), stock, quantity, total);
    txtGiacenza.setText(stock);
    txtAggiunta.setText(quantity);
    txtTotale.setText(total);
}

void TfrmGiacenza::btnAggiornaClick()
{
    btnTotaleClick();
    if (frmMagazzino) frmMagazzino->txtGiacenza.setText(orv::platform::trimmed(txtTotale.text()));
    close();
}

void TfrmGiacenza::btnChiudiClick() { close(); }

} // namespace orv::warehouse
