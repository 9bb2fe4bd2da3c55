#include "customers/contrattorecord.h"

#include "kit/dialogs/settings.h"
#include "archive/helpers.h"
#include "archive/lists.h"
#include "customers/membertable.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::customers {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::customers

namespace orv::customers {

using orv::customers::MemberField;
using orv::customers::MemberTable;

namespace {

using Field = MemberField<TContratto>;

// Record order; each member with its width and the contract window's control.
const MemberTable<TContratto, 48>& table()
{
    static const MemberTable<TContratto, 48> t(std::array<Field, 48>{{
        {&TContratto::NumContratto, {u"NumContratto"_qs, 30, u"txtNumContratto"_qs}},
        {&TContratto::Data, {u"Data"_qs, 10, u"txtData"_qs}},
        {&TContratto::Luogo, {u"Luogo"_qs, 50, u"txtLuogo"_qs}},
        {&TContratto::Ditta, {u"Ditta"_qs, 50, u"txtDitta"_qs}},
        {&TContratto::PartitaIva, {u"PartitaIva"_qs, 11, u"txtPartitaIva"_qs}},
        {&TContratto::CodFisc, {u"CodFisc"_qs, 16, u"txtCodFisc"_qs}},
        {&TContratto::Sede, {u"Sede"_qs, 50, u"txtSede"_qs}},
        {&TContratto::ProvRes, {u"ProvRes"_qs, 2, u"txtProvRes"_qs}},
        {&TContratto::CapRes, {u"CapRes"_qs, 5, u"txtCapRes"_qs}},
        {&TContratto::Via, {u"Via"_qs, 120, u"txtVia"_qs}},
        {&TContratto::TelUff, {u"TelUff"_qs, 30, u"txtTelUff"_qs}},
        {&TContratto::TelCel, {u"TelCel"_qs, 30, u"txtTelCel"_qs}},
        {&TContratto::Fax, {u"Fax"_qs, 30, u"txtFax"_qs}},
        {&TContratto::Cliente, {u"Cliente"_qs, 50, u"txtCliente"_qs}},
        {&TContratto::ComuneCli, {u"ComuneCli"_qs, 50, u"txtComuneCli"_qs}},
        {&TContratto::ProvCli, {u"ProvCli"_qs, 2, u"txtProvCli"_qs}},
        {&TContratto::CapCli, {u"CapCli"_qs, 5, u"txtCapCli"_qs}},
        {&TContratto::PartitaIvaCli, {u"PartitaIvaCli"_qs, 11, u"txtPartitaIvaCli"_qs}},
        {&TContratto::CodFiscCli, {u"CodFiscCli"_qs, 16, u"txtCodFiscCli"_qs}},
        {&TContratto::ViaCli, {u"ViaCli"_qs, 120, u"txtViaCli"_qs}},
        {&TContratto::TelCli, {u"TelCli"_qs, 30, u"txtTelCli"_qs}},
        {&TContratto::QualitaCli, {u"QualitaCli"_qs, 30, u"txtQualitaCli"_qs}},
        {&TContratto::TipoImpianto, {u"TipoImpianto"_qs, 50, u"txtTipoImpianto"_qs}},
        {&TContratto::Marca, {u"Marca"_qs, 50, u"txtMarca"_qs}},
        {&TContratto::Matricola, {u"Matricola"_qs, 50, u"txtMatricola"_qs}},
        {&TContratto::Alimentazione, {u"Alimentazione"_qs, 50, u"txtAlimentazione"_qs}},
        {&TContratto::AnnoCostruz, {u"AnnoCostruz"_qs, 30, u"txtAnnoCostruz"_qs}},
        {&TContratto::Caratteristiche, {u"Caratteristiche"_qs, 250, u"txtCaratteristiche"_qs}},
        {&TContratto::Ubicazione, {u"Ubicazione"_qs, 120, u"txtUbicazione"_qs}},
        {&TContratto::Durata, {u"Durata"_qs, 30, u"txtDurata"_qs}},
        {&TContratto::Totale, {u"Totale"_qs, 15, u"txtTotale"_qs}},
        {&TContratto::Periodicita, {u"Periodicita"_qs, 30, u"txtPeriodicita"_qs}},
        {&TContratto::ImpCanone, {u"ImpCanone"_qs, 15, u"txtImpCanone"_qs}},
        {&TContratto::Pagamento, {u"Pagamento"_qs, 50, u"txtPagamento"_qs}},
        {&TContratto::OpInc01, {u"OpInc01"_qs, 120, u"txtOpInc01"_qs}},
        {&TContratto::OpInc02, {u"OpInc02"_qs, 120, u"txtOpInc02"_qs}},
        {&TContratto::OpInc03, {u"OpInc03"_qs, 120, u"txtOpInc03"_qs}},
        {&TContratto::OpInc04, {u"OpInc04"_qs, 120, u"txtOpInc04"_qs}},
        {&TContratto::OpEsc01, {u"OpEsc01"_qs, 120, u"txtOpEsc01"_qs}},
        {&TContratto::OpEsc02, {u"OpEsc02"_qs, 120, u"txtOpEsc02"_qs}},
        {&TContratto::OpEsc03, {u"OpEsc03"_qs, 120, u"txtOpEsc03"_qs}},
        {&TContratto::OpEsc04, {u"OpEsc04"_qs, 120, u"txtOpEsc04"_qs}},
        {&TContratto::File01, {u"File01"_qs, 250, u"lblFile01"_qs}},
        {&TContratto::File02, {u"File02"_qs, 250, u"lblFile02"_qs}},
        {&TContratto::File03, {u"File03"_qs, 250, u"lblFile03"_qs}},
        {&TContratto::Desc01, {u"Desc01"_qs, 250, u"lblDesc01"_qs}},
        {&TContratto::Desc02, {u"Desc02"_qs, 250, u"lblDesc02"_qs}},
        {&TContratto::Desc03, {u"Desc03"_qs, 250, u"lblDesc03"_qs}},
    }});
    return t;
}

} // namespace

const orv::archive::RecordLayout& TContratto::layout()
{
    const orv::archive::RecordLayout& l = table().layout();
    Q_ASSERT(l.size() == kSize);
    return l;
}

QStringList TContratto::values() const { return table().values(*this); }

TContratto TContratto::fromValues(const QStringList& values) { return table().fromValues(values); }

QByteArray TContratto::encode() const { return layout().encode(values()); }

TContratto TContratto::decode(const QByteArray& record) { return fromValues(layout().decode(record)); }

QString RigaTrovaContratti(const TContratto& c)
{
    orv::archive::LineBuilder b;
    b.col(c.Cliente, 30).lit(u"  Tel. ").col(c.TelCli, 20).lit(u"  ").col(c.ComuneCli, 25).lit(u"  ")
        .col(c.Marca, 25).lit(u"  Contratto n. ").lit(orv::platform::trimmed(c.NumContratto)).lit(u" del ");
    return b.rest(c.Data);
}

void RigaTrovaContratti(orv::archive::StoredLineBuilder& b)
{
    static const struct {
        int cliente, tel, comune, marca, numero, data;
    } f = [] {
        const orv::archive::RecordLayout& l = TContratto::layout();
        return decltype(f){l.indexOf(u"Cliente"_qs), l.indexOf(u"TelCli"_qs), l.indexOf(u"ComuneCli"_qs),
                           l.indexOf(u"Marca"_qs), l.indexOf(u"NumContratto"_qs), l.indexOf(u"Data"_qs)};
    }();
    b.col(f.cliente, 30).lit(u"  Tel. ").col(f.tel, 20).lit(u"  ").col(f.comune, 25).lit(u"  ").col(f.marca, 25)
        .lit(u"  Contratto n. ").text(f.numero).lit(u" del ").last(f.data);
}

} // namespace orv::customers

namespace orv::customers {

namespace {

const QString kToday = u"txtData"_qs;

} // namespace

orv::archive::EditorConfig contractEditorConfig()
{
    using orv::archive::ArchiveEditor;
    using orv::archive::MessageKind;
    orv::archive::EditorConfig config;
    config.layout = &TContratto::layout();
    config.archivePath = [] { return programFile(TContratto::kFileName); };
    config.firstControl = u"txtCliente"_qs;
    config.accessKinds = orv::archive::AccessMessageKinds::contracts();
    config.numberControl = u"txtNumContratto"_qs;
    config.blankDefaults.insert(u"txtTotale"_qs, u"0,00"_qs);
    config.blankDefaults.insert(u"txtImpCanone"_qs, u"0,00"_qs);
    // A new contract starts from the maintainer, place and number on screen.
    config.keptOnNew = {u"txtNumContratto"_qs, u"txtLuogo"_qs};
    for (const SettingsKey& k : maintainerKeys())
        if (!config.keptOnNew.contains(k.control)) config.keptOnNew.append(k.control);
    // Duplicate keeps the attachments (no duplicateClears): a renewal refers to the same copies.
    config.duplicateWarning =
        u"Attenzione: questa funzione serve a duplicare un contratto che è già stato salvato in archivio.\n\r\n\r"
        u"Visualizzare il contratto da duplicare e fare clic sul pulsante Duplica."_qs;
    config.duplicateInformation = u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                  u"Al termine premere Salva per inserire in archivio il nuovo contratto."_qs;
    config.onDuplicate = [](ArchiveEditor& e) {
        e.view().setText(u"txtNumContratto"_qs, QString());
        e.view().setText(kToday, dateToStr(today()));
    };
    config.checks = [](ArchiveEditor& e) {
        auto& v = e.view();
        const auto refuse = [&](const QString& text, const QString& control) {
            e.messages().show(MessageKind::Warning, text);
            v.setFocus(control);
            return false;
        };
        const auto missing = [&](const char16_t* control) { return trimmed(v.text(QString::fromUtf16(control))).isEmpty(); };
        if (missing(u"txtDitta"))
            return refuse(u"Attenzione: per salvare la scheda è necessario indicare la denominazione della Ditta "
                          u"manutentrice."_qs,
                          u"txtDitta"_qs);
        if (missing(u"txtCliente"))
            return refuse(u"Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale "
                          u"dell'Utente."_qs,
                          u"txtCliente"_qs);
        if (missing(u"txtNumContratto"))
            return refuse(u"Attenzione: per salvare la scheda è necessario indicare il numero progressivo del "
                          u"contratto."_qs,
                          u"txtNumContratto"_qs);
        if (missing(u"txtData"))
            return refuse(u"Attenzione: per salvare la scheda è necessario indicare la data di stipula del contratto."_qs,
                          kToday);
        if (!DataValida(v.text(kToday)))
            return refuse(u"Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario "
                          u"indicare una data valida nel formato gg/mm/anno."_qs,
                          kToday);
        return true;
    };
    return config;
}

std::optional<QString> proposedContractNumber(const QString& startNumber, qint64 stored)
{
    int start = 0;
    if (!tryStrToInt(trimmed(startNumber), start)) return std::nullopt;
    return QString::number(qint64(start) + stored);
}

const QList<SettingsKey>& maintainerKeys()
{
    static const QList<SettingsKey> keys = {
        {u"Denominazione"_qs, u"txtDitta"_qs},
        {u"Partita Iva"_qs, u"txtPartitaIva"_qs},
        {u"Codice Fiscale"_qs, u"txtCodFisc"_qs},
        {u"Sede Legale"_qs, u"txtSede"_qs},
        {u"Provincia"_qs, u"txtProvRes"_qs},
        {u"CAP"_qs, u"txtCapRes"_qs},
        {u"Indirizzo"_qs, u"txtVia"_qs},
        {u"Telefono Ufficio"_qs, u"txtTelUff"_qs},
        {u"Telefono Cellulare"_qs, u"txtTelCel"_qs},
        {u"Fax"_qs, u"txtFax"_qs},
        {u"Luogo Stipula"_qs, u"txtLuogo"_qs},
    };
    return keys;
}

void loadMaintainer(orv::archive::EditorView& view)
{
    QStringList keys;
    for (const SettingsKey& k : maintainerKeys()) keys << k.key;
    const QStringList values = kit::settingsFile().readStrings(kMaintainerSection, keys, QString());
    for (qsizetype i = 0; i < maintainerKeys().size(); ++i) view.setText(maintainerKeys()[i].control, values[i]);
}

// All keys in one write, never mixed with another workstation's.
void storeMaintainer(const orv::archive::EditorView& view)
{
    QList<std::pair<QString, QString>> values;
    for (const SettingsKey& k : maintainerKeys()) values.append({k.key, trimmed(view.text(k.control))});
    kit::settingsFile().writeStrings(kMaintainerSection, values);
}

const orv::archive::ExportSheet& contractExportSheet()
{
    static const orv::archive::ExportSheet sheet{
        u"Contratti.xls"_qs,
        u"Riepilogo Contratti"_qs,
        {
            {u"Contratto n."_qs, 200},
            {u"Data"_qs, 150},
            {u"Luogo stipula"_qs, 250},
            {u"Cognone e nome Utente"_qs, 250},
            {u"Comune di residenza"_qs, 250},
            {u"Via e numero civico"_qs, 300},
            {u"Partita IVA"_qs, 200},
            {u"Codice Fiscale"_qs, 200},
            {u"Recapito telefonico"_qs, 250},
            {u"Qualità"_qs, 250},
            {u"Tipo impianto"_qs, 250},
            {u"Marca e modello"_qs, 250},
            {u"Matricola n."_qs, 250},
            {u"Alimentazione"_qs, 250},
            {u"Anno costruzione"_qs, 200},
            {u"Caratteristiche tecniche"_qs, 350},
            {u"Ubicazione"_qs, 300},
            {u"Durata contratto"_qs, 250},
            {u"Totale corrispettivo"_qs, 200, false, true},
            {u"Periodicità canone"_qs, 250},
            {u"Importo canone"_qs, 200, false, true},
            {u"Modalità di pagamento"_qs, 250},
            {u"Operazione 1 inclusa in contratto"_qs, 300},
            {u"Operazione 2 inclusa in contratto"_qs, 300},
            {u"Operazione 3 inclusa in contratto"_qs, 300},
        },
    };
    return sheet;
}

QStringList contractExportRow(const TContratto& c)
{
    const auto t = [](const QString& s) { return trimmed(s); };
    return {t(c.NumContratto), t(c.Data), t(c.Luogo), t(c.Cliente), t(c.ComuneCli) + u' ' + t(c.ProvCli),
            t(c.ViaCli), t(c.PartitaIvaCli), t(c.CodFiscCli), t(c.TelCli), t(c.QualitaCli),
            t(c.TipoImpianto), t(c.Marca), t(c.Matricola), t(c.Alimentazione), t(c.AnnoCostruz),
            t(c.Caratteristiche), t(c.Ubicazione), t(c.Durata), t(c.Totale), t(c.Periodicita),
            t(c.ImpCanone), t(c.Pagamento), t(c.OpInc01), t(c.OpInc02), t(c.OpInc03)};
}

} // namespace orv::customers
