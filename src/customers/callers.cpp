#include "customers/callers.h"

#include "customers/cliente.h"
#include "customers/clienti.h"
#include "kit/windowtable.h"
#include "kit/bridge.h"
#include "platform/core/text.h"
#include "platform/ui/form.h"

#include <stdexcept>

namespace orv::customers {
using namespace orv::platform;
} // namespace orv::customers

namespace orv::customers {

namespace {

using Value = QString (*)(const TCliente&);

template <QString TCliente::*Field>
QString field(const TCliente& c)
{
    return trimmed(c.*Field);
}

struct Copy {
    const char* control;
    Value value;
};

using Copies = std::vector<Copy>;

// A caller that takes copies: each value, trimmed, as the text of its control.
std::function<void(platform::ui::Form&, const archive::FoundRecord&)> copies(Copies list)
{
    return [list = std::move(list)](platform::ui::Form& target, const archive::FoundRecord& found) {
        const TCliente c = TCliente::decode(found.record);
        for (const Copy& copy : list) {
            platform::ui::Control* control = target.findControl(QString::fromLatin1(copy.control));
            if (!control)
                throw std::logic_error("no control " + std::string(copy.control) + " in "
                                       + target.objectName().toStdString());
            kit::setControlText(*control, copy.value(c));
        }
    };
}

Copies operator+(Copies a, const Copies& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The installation as the contract and job-sheet editors take it.
const Copies kInstallation = {
    {"txtTipoImpianto", field<&TCliente::TipoImpianto>},   {"txtMarca", field<&TCliente::Marca>},
    {"txtAnnoCostruz", field<&TCliente::AnnoCostruz>},     {"txtMatricola", field<&TCliente::Matricola>},
    {"txtAlimentazione", field<&TCliente::Alimentazione>}, {"txtUbicazione", field<&TCliente::Ubicazione>},
    {"txtCaratteristiche", field<&TCliente::Caratteristiche>},
};

// Quotes and delivery notes take the same seven values.
const Copies kDocumentCustomer = {
    {"txtCliente", field<&TCliente::Cliente>},       {"txtViaCliente", field<&TCliente::IndirizzoRes>},
    {"txtCapCliente", field<&TCliente::CapRes>},     {"txtCittaCliente", field<&TCliente::ComuneRes>},
    {"txtProvCliente", field<&TCliente::ProvRes>},   {"txtIvaCliente", field<&TCliente::PartitaIva>},
    {"txtCodFiscCliente", field<&TCliente::CodFisc>},
};

} // namespace

void loadCustomerCard(const archive::FoundRecord& card)
{
    if (frmClienti) frmClienti->showCard(TCliente::layout().decode(card.record), card.position);
}

namespace {
void wholeCard(platform::ui::Form& target, const archive::FoundRecord& card)
{
    if (auto* editor = dynamic_cast<TfrmClienti*>(&target))
        editor->showCard(TCliente::layout().decode(card.record), card.position);
}
} // namespace

const QList<CustomerCaller>& customerCallers()
{
    static const QList<CustomerCaller> callers = {
        {u"clienti"_qs, u"frmClienti"_qs, wholeCard},
        {u"contratto"_qs, u"frmContratto"_qs,
         copies(Copies{
                    {"txtCliente", field<&TCliente::Cliente>},
                    {"txtComuneCli", field<&TCliente::ComuneRes>},
                    {"txtProvCli", field<&TCliente::ProvRes>},
                    {"txtCapCli", field<&TCliente::CapRes>},
                    {"txtPartitaIvaCli", field<&TCliente::PartitaIva>},
                    {"txtCodFiscCli", field<&TCliente::CodFisc>},
                    {"txtViaCli", field<&TCliente::IndirizzoRes>},
                    {"txtTelCli", field<&TCliente::Recapito>},
                    {"txtPagamento", field<&TCliente::Estremi>},
                }
                + kInstallation)},
        {u"lavoro"_qs, u"frmLavoro"_qs,
         copies(Copies{
                    {"txtCliente", field<&TCliente::Cliente>},
                    // Street and municipality joined by one blank, which stays when both are empty.
                    {"txtIndirizzoCli",
                     [](const TCliente& c) { return trimmed(c.IndirizzoRes) + u' ' + trimmed(c.ComuneRes); }},
                    {"txtTelCli", field<&TCliente::Recapito>},
                    {"txtCodFiscCli", field<&TCliente::CodFisc>},
                    {"txtPagamento", field<&TCliente::Estremi>},
                }
                + kInstallation)},
        {u"riepilogo"_qs, u"frmMenuRiepCosti"_qs,
         copies({{"txtCliente", field<&TCliente::Cliente>}, {"txtMatricola", field<&TCliente::Matricola>}})},
        {u"scadenzario"_qs, u"frmScadenzario"_qs,
         copies({
             {"txtPagatore", field<&TCliente::Cliente>},
             {"txtCodFisc", field<&TCliente::CodFisc>},
             {"txtRecapito", field<&TCliente::Recapito>},
         })},
        {u"ddt"_qs, u"frmDDT"_qs, copies(kDocumentCustomer)},
        {u"preventivi"_qs, u"frmPreventivi"_qs, copies(kDocumentCustomer)},
    };
    return callers;
}

bool writeToCaller(const QString& tag, const archive::FoundRecord& card)
{
    for (const CustomerCaller& caller : customerCallers()) {
        if (caller.tag != tag) continue;
        platform::ui::Form* target = kit::startWindow(caller.window);
        if (!target) return false;
        caller.write(*target, card);
        return true;
    }
    return false;
}

} // namespace orv::customers
