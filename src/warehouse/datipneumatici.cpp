#include "warehouse/datipneumatici.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"
#include "warehouse/magazzino.h"

namespace orv::warehouse {

using namespace orv::platform::ui;

TfrmDatiPneumatici* frmDatiPneumatici = nullptr;

namespace {

const FontSpec kCaption{u"Verdana"_qs, 11, true, false, false, QColor(0x00, 0x00, 0x8B)};
const FontSpec kField{u"Verdana"_qs, 12, true, false, false, QColor()};

// Each edit with its caption; the editor's hidden label it fills.
struct Extra {
    const char* edit;
    const char* caption;
};
const Extra kExtras[] = {
    {"txtConsumo", "Altezza:"}, {"txtAderenza", "Larghezza:"}, {"txtRumore", "Lunghezza:"}, {"txtOnde", "Scadenza:"}};

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout l{picture(u"imgSezione"_qs, 0, 0, 420, 72,
                         art::heading(u"Altre informazioni"_qs, u"Dati aggiuntivi dell'articolo"_qs,
                                      art::Icon::Warehouse))};
        for (int i = 0; i < 4; ++i) {
            const int y = 88 + i * 52;
            const QString name = QString::fromLatin1(kExtras[i].edit);
            l.push_back(label(u"lbl"_qs + name.mid(3), 40, y, 340, 18, QString::fromUtf8(kExtras[i].caption)).font(kCaption));
            l.push_back(edit(name, 40, y + 18, 340).maxLen(30).font(kField).highlighted());
        }
        l.push_back(label(u"lblIstruzioni"_qs, 40, 296, 340, 36,
                          u"Inserire i dati, fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le "
                          u"modifiche."_qs).wrap());
        l.push_back(button(u"btnAnnulla"_qs, 40, 344, 160, 36, u"Annulla"_qs));
        l.push_back(button(u"btnApplica"_qs, 220, 344, 160, 36, u"Applica e chiudi"_qs));
        return l;
    }();
    return l;
}

} // namespace

TfrmDatiPneumatici::TfrmDatiPneumatici(QWidget* owner)
    : Form(owner,
           {.name = u"frmDatiPneumatici"_qs, .caption = u" Altre informazioni"_qs, .clientWidth = 420,
            .clientHeight = 396, .placement = Placement::OwnerCenter, .background = Qt::white, .gradientTo = QColor()},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    chainEnter({&txtConsumo, &txtAderenza, &txtRumore, &txtOnde, &btnApplica}, false);
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

void TfrmDatiPneumatici::FormCreate()
{
    orv::platform::applyProgramFormats();
    for (Edit* e : {&txtConsumo, &txtAderenza, &txtRumore, &txtOnde}) e->setMaxLength(30);
}

void TfrmDatiPneumatici::FormShow() { txtConsumo.setFocus(); }

void TfrmDatiPneumatici::btnApplicaClick()
{
    if (frmMagazzino) {
        frmMagazzino->memConsumo.setText(orv::platform::trimmed(txtConsumo.text()));
        frmMagazzino->memAderenza.setText(orv::platform::trimmed(txtAderenza.text()));
        frmMagazzino->memRumore.setText(orv::platform::trimmed(txtRumore.text()));
        frmMagazzino->memOnde.setText(orv::platform::trimmed(txtOnde.text()));
    }
    close();
}

void TfrmDatiPneumatici::btnAnnullaClick() { close(); }

} // namespace orv::warehouse
