#include "customers/calendario.h"

#include "customers/clienti.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::customers {

using namespace orv::platform::ui;

TfrmCalendario* frmCalendario = nullptr;

namespace {

const Layout& windowLayout()
{
    static const Layout l = {
        label(u"lblCampo001"_qs, 12, 8, 229, 20, u"Importare una data:"_qs)
            .font({u"Verdana"_qs, 12, true, false, false, QColor(0x00, 0x00, 0x8B)}),
        calendar(u"calAppuntamenti"_qs, 12, 32, 229, 206),
        button(u"btnImportaData"_qs, 12, 250, 110, 32, u"Importa"_qs),
        button(u"btnAnnulla"_qs, 131, 250, 110, 32, u"Annulla"_qs),
        label(u"lblMemory"_qs, 0, 0, 10, 10, u"lblMemory"_qs).hidden(),
    };
    return l;
}

} // namespace

TfrmCalendario::TfrmCalendario(QWidget* owner)
    : Form(owner, {u"frmCalendario"_qs, u" Importazione data"_qs, 253, 294, Border::Single, Placement::OwnerCenter,
            QColor(0xF0, 0xF0, 0xF0), QColor()},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    btnImportaData.onClick = [this] { btnImportaDataClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

void TfrmCalendario::FormCreate()
{
    orv::platform::applyProgramFormats();
    calAppuntamenti.setDate(orv::platform::today());
}

// The customer editor's due date is the only caller; any other tag leaves the window open.
void TfrmCalendario::btnImportaDataClick()
{
    if (orv::platform::trimmed(lblMemory.text()) != u"clienti_datascade") return;
    if (frmClienti) frmClienti->txtDataScade.setText(orv::platform::dateToStr(calAppuntamenti.date()));
    close();
}

void TfrmCalendario::btnAnnullaClick() { close(); }

} // namespace orv::customers
