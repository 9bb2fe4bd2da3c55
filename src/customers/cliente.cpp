#include "customers/cliente.h"

#include <array>

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

using orv::archive::FieldKind;
using orv::archive::RecordLayout;

namespace {

using Field = orv::customers::MemberField<TCliente>;

// Record order; each member with its width and the editor control that shows it.
const orv::customers::MemberTable<TCliente, 39>& table()
{
    static const orv::customers::MemberTable<TCliente, 39> t(std::array<Field, 39>{{
        {&TCliente::Cliente, {u"Cliente"_qs, 50, u"txtCliente"_qs}},
        {&TCliente::DataNasc, {u"DataNasc"_qs, 30, u"txtDataNasc"_qs}},
        {&TCliente::ComuneNasc, {u"ComuneNasc"_qs, 50, u"txtComuneNasc"_qs}},
        {&TCliente::ProvNasc, {u"ProvNasc"_qs, 2, u"txtProvNasc"_qs}},
        {&TCliente::Sesso, {u"Sesso"_qs, 1, u"txtSesso"_qs}},
        {&TCliente::Recapito, {u"Recapito"_qs, 50, u"txtRecapito"_qs}},
        {&TCliente::IndirizzoRes, {u"IndirizzoRes"_qs, 50, u"txtIndirizzoRes"_qs}},
        {&TCliente::ProvRes, {u"ProvRes"_qs, 2, u"txtProvRes"_qs}},
        {&TCliente::ComuneRes, {u"ComuneRes"_qs, 50, u"txtComuneRes"_qs}},
        {&TCliente::CapRes, {u"CapRes"_qs, 5, u"txtCapRes"_qs}},
        {&TCliente::Estremi, {u"Estremi"_qs, 250, u"txtEstremi"_qs}},
        {&TCliente::TelCasa, {u"TelCasa"_qs, 30, u"txtTelCasa"_qs}},
        {&TCliente::TelUff, {u"TelUff"_qs, 30, u"txtTelUff"_qs}},
        {&TCliente::TelCel, {u"TelCel"_qs, 30, u"txtTelCel"_qs}},
        {&TCliente::Fax, {u"Fax"_qs, 30, u"txtFax"_qs}},
        {&TCliente::Email, {u"Email"_qs, 50, u"txtEmail"_qs}},
        {&TCliente::CodFisc, {u"CodFisc"_qs, 16, u"txtCodFisc"_qs}},
        {&TCliente::Carta, {u"Carta"_qs, 30, u"txtCarta"_qs}},
        {&TCliente::ScadeCarta, {u"ScadeCarta"_qs, 30, u"txtScadeCarta"_qs}},
        {&TCliente::PartitaIva, {u"PartitaIva"_qs, 11, u"txtPartitaIva"_qs}},
        {&TCliente::Iban, {u"Iban"_qs, 27, u"txtIban"_qs}},
        {&TCliente::TipoImpianto, {u"TipoImpianto"_qs, 50, u"txtTipoImpianto"_qs}},
        {&TCliente::Marca, {u"Marca"_qs, 50, u"txtMarca"_qs}},
        {&TCliente::Matricola, {u"Matricola"_qs, 50, u"txtMatricola"_qs}},
        {&TCliente::Alimentazione, {u"Alimentazione"_qs, 50, u"txtAlimentazione"_qs}},
        {&TCliente::AnnoCostruz, {u"AnnoCostruz"_qs, 30, u"txtAnnoCostruz"_qs}},
        {&TCliente::Caratteristiche, {u"Caratteristiche"_qs, 250, u"txtCaratteristiche"_qs}},
        {&TCliente::Ubicazione, {u"Ubicazione"_qs, 120, u"txtUbicazione"_qs}},
        {&TCliente::Questioni, {u"Questioni"_qs, 250, u"txtQuestioni"_qs}},
        {&TCliente::DataScade, {u"DataScade"_qs, 10, u"txtDataScade"_qs}},
        {&TCliente::Preavviso, {u"Preavviso"_qs, 3, u"txtPreavviso"_qs}},
        {&TCliente::Note, {u"Note"_qs, 250, u"txtNote"_qs}},
        {&TCliente::Ricontatta, {u"Ricontatta"_qs, 2, u"chkRicontatta"_qs, FieldKind::Flag}},
        {&TCliente::File01, {u"File01"_qs, 250, u"lblFile01"_qs}},
        {&TCliente::File02, {u"File02"_qs, 250, u"lblFile02"_qs}},
        {&TCliente::File03, {u"File03"_qs, 250, u"lblFile03"_qs}},
        {&TCliente::Desc01, {u"Desc01"_qs, 250, u"lblDesc01"_qs}},
        {&TCliente::Desc02, {u"Desc02"_qs, 250, u"lblDesc02"_qs}},
        {&TCliente::Desc03, {u"Desc03"_qs, 250, u"lblDesc03"_qs}},
    }});
    return t;
}

} // namespace

const RecordLayout& TCliente::layout()
{
    const RecordLayout& l = table().layout();
    Q_ASSERT(l.size() == kSize);
    return l;
}

QStringList TCliente::values() const { return table().values(*this); }

TCliente TCliente::fromValues(const QStringList& values) { return table().fromValues(values); }

QByteArray TCliente::encode() const { return layout().encode(values()); }

TCliente TCliente::decode(const QByteArray& record) { return fromValues(layout().decode(record)); }

namespace {

orv::archive::LineBuilder customerColumns(const TCliente& c)
{
    orv::archive::LineBuilder b;
    b.col(c.Cliente, 30).lit(u"  Tel. ").col(c.Recapito, 20).lit(u"  ").col(c.Marca, 20)
        .lit(u"  Matr. n. ").col(c.Matricola, 20);
    return b;
}

} // namespace

QString RigaTrovaClienti(const TCliente& c) { return customerColumns(c).lit(u"  ").rest(c.Note); }

void RigaTrovaClienti(orv::archive::StoredLineBuilder& b)
{
    // The columns of customerColumns(), read from the stored card.
    static const struct {
        int cliente, recapito, marca, matricola, note;
    } f = [] {
        const RecordLayout& l = TCliente::layout();
        return decltype(f){l.indexOf(u"Cliente"_qs), l.indexOf(u"Recapito"_qs), l.indexOf(u"Marca"_qs),
                           l.indexOf(u"Matricola"_qs), l.indexOf(u"Note"_qs)};
    }();
    b.col(f.cliente, 30).lit(u"  Tel. ").col(f.recapito, 20).lit(u"  ").col(f.marca, 20)
        .lit(u"  Matr. n. ").col(f.matricola, 20).lit(u"  ").last(f.note);
}

QString RigaTrovaClienti(const QByteArray& record)
{
    orv::archive::StoredLineBuilder b(TCliente::layout(), record);
    RigaTrovaClienti(b);
    return b.str();
}

QString RigaRicontatta(const TCliente& c) { return customerColumns(c).lit(u"  ").rest(c.Questioni); }

QString RigaScadenzario(const TCliente& c)
{
    return customerColumns(c).lit(u"  Scadenza: ").rest(c.DataScade);
}

bool ScadenzaImminente(const TCliente& c, orv::platform::TDateTime today, bool& ok)
{
    orv::platform::TDateTime due;
    int notice = 0;
    ok = orv::platform::tryStrToDate(c.DataScade, due, orv::platform::currentYear()) && orv::platform::tryStrToInt(orv::platform::trimmed(c.Preavviso), notice);
    return ok && due - notice <= today && today <= due;
}

} // namespace orv::customers

namespace orv::customers {

bool toRecontact(const TCliente& c) { return trimmed(c.Ricontatta) == archive::kYes; }

void fillRecontact(orv::platform::ArchiveFile& file, orv::archive::ResultSink& out)
{
    archive::fillList(
        file, out, [](const QByteArray& r) { return toRecontact(TCliente::decode(r)); },
        [](const QByteArray& r) { return RigaRicontatta(TCliente::decode(r)); });
}

void fillMaintenanceDue(orv::platform::ArchiveFile& file, orv::archive::ResultSink& out, orv::platform::TDateTime today)
{
    archive::fillList(
        file, out,
        [today](const QByteArray& r) {
            // One damaged card must not hide the ones stored after it.
            bool ok = false;
            const bool due = ScadenzaImminente(TCliente::decode(r), today, ok);
            return ok && due;
        },
        [](const QByteArray& r) { return RigaScadenzario(TCliente::decode(r)); });
}

const QList<FinderCriterion>& finderCriteria()
{
    static const QList<FinderCriterion> criteria = [] {
        const RecordLayout& l = TCliente::layout();
        QList<FinderCriterion> list;
        for (const char16_t* name : {u"Cliente", u"ComuneRes", u"PartitaIva", u"CodFisc", u"TipoImpianto", u"Marca",
                                     u"Matricola", u"Ubicazione", u"Questioni", u"Note"}) {
            const QString n = QString::fromUtf16(name);
            list.append({u"txt"_qs + n, l.indexOf(n)});
        }
        return list;
    }();
    return criteria;
}

void search(orv::platform::ArchiveFile& file, const QStringList& typed, orv::archive::ResultSink& out)
{
    QList<int> fields;
    for (const FinderCriterion& c : finderCriteria())
        fields.append(c.field);
    archive::search(file, TCliente::layout(), typed, fields, out,
                    archive::StoredLine([](archive::StoredLineBuilder& b) { RigaTrovaClienti(b); }));
}

orv::archive::EditorConfig editorConfig()
{
    using orv::archive::ArchiveEditor;
    using orv::archive::MessageKind;
    orv::archive::EditorConfig config;
    config.layout = &TCliente::layout();
    config.archivePath = [] { return programFile(TCliente::kFileName); };
    config.firstControl = u"txtCliente"_qs;
    config.accessKinds = orv::archive::AccessMessageKinds::customers();
    config.blankDefaults.insert(u"txtPreavviso"_qs, u"0"_qs);
    config.duplicateClears = {u"lblFile01"_qs, u"lblFile02"_qs, u"lblFile03"_qs,
                            u"lblDesc01"_qs, u"lblDesc02"_qs, u"lblDesc03"_qs};
    config.checks = [](ArchiveEditor& e) {
        auto& v = e.view();
        const auto refuse = [&](MessageKind kind, const QString& text, const QString& control) {
            e.messages().show(kind, text);
            v.setFocus(control);
            return false;
        };
        if (trimmed(v.text(u"txtCliente"_qs)).isEmpty())
            return refuse(MessageKind::Warning,
                          u"Attenzione: per salvare la scheda è necessario indicare il nome del Cliente."_qs,
                          u"txtCliente"_qs);
        const QString due = v.text(u"txtDataScade"_qs);
        if (trimmed(due).isEmpty())
            return refuse(MessageKind::Warning,
                          u"Attenzione: per salvare la scheda è necessario indicare la data di scadenza della "
                          u"manutenzione nel formato gg/mm/aaaa."_qs,
                          u"txtDataScade"_qs);
        if (trimmed(v.text(u"txtPreavviso"_qs)).isEmpty())
            return refuse(MessageKind::Warning,
                          u"Attenzione: per salvare la scheda è necessario indicare i giorni di preavviso."_qs,
                          u"txtPreavviso"_qs);
        if (!DataValida(due))
            return refuse(MessageKind::Plain,
                          u"Attenzione: la data di scadenza della manutenzione "_qs + trimmed(due)
                              + u" non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data "
                                u"valida nel formato gg/mm/aaaa."_qs,
                          u"txtDataScade"_qs);
        return true;
    };
    return config;
}

const orv::archive::ExportSheet& exportSheet()
{
    static const orv::archive::ExportSheet sheet{
        u"Clienti.xls"_qs,
        u"Clienti e Impianti"_qs,
        {
            {u"Cognome e nome Cliente"_qs, 250},
            {u"Data di nascita"_qs, 200},
            {u"Comune di nascita"_qs, 250},
            {u"Recapito preferenziale"_qs, 250},
            {u"Indirizzo di residenza"_qs, 300},
            {u"Comune di residenza"_qs, 250},
            {u"Modalità di pagamento"_qs, 250},
            {u"Tel. casa"_qs, 250},
            {u"Tel. ufficio"_qs, 250},
            {u"Tel. cellulare"_qs, 250},
            {u"Fax"_qs, 250},
            {u"E-mail"_qs, 250},
            {u"Codice fiscale"_qs, 250},
            {u"Partita IVA"_qs, 250},
            {u"Carta di credito n."_qs, 300},
            {u"IBAN"_qs, 300},
            {u"Tipo impianto"_qs, 250},
            {u"Marca e modello"_qs, 250},
            {u"Matricola n."_qs, 250},
            {u"Alimentazione"_qs, 250},
            {u"Ubicazione"_qs, 300},
            {u"Caratteristiche tecniche"_qs, 300},
            {u"Questioni in sospeso"_qs, 300},
            {u"Scadenza manutenzione"_qs, 200},
            {u"Note"_qs, 300},
        },
    };
    return sheet;
}

QStringList exportRow(const TCliente& c)
{
    const auto t = [](const QString& s) { return trimmed(s); };
    return {t(c.Cliente),      t(c.DataNasc),     t(c.ComuneNasc) + u' ' + t(c.ProvNasc),
            t(c.Recapito),     t(c.IndirizzoRes), t(c.ComuneRes) + u' ' + t(c.ProvRes),
            t(c.Estremi),      t(c.TelCasa),      t(c.TelUff),
            t(c.TelCel),       t(c.Fax),          t(c.Email),
            t(c.CodFisc),      t(c.PartitaIva),   t(c.Carta),
            t(c.Iban),         t(c.TipoImpianto), t(c.Marca),
            t(c.Matricola),    t(c.Alimentazione), t(c.Ubicazione),
            t(c.Caratteristiche), t(c.Questioni), t(c.DataScade),
            t(c.Note)};
}

} // namespace orv::customers

namespace orv::customers {

QString mailCommand(const QString& email) { return u"\"mailto:"_qs + trimmed(email) + u'"'; }

QString noticeCommand(const QString& cliente, const QString& marca, const QString& matricola,
                      const QString& dataScade, const QString& email)
{
    const QString body = u"Gentilissimo Sig. "_qs + trimmed(cliente)
                         + u", con la presente le ricordiamo che il suo impianto "_qs + trimmed(marca)
                         + u", con matricola n. "_qs + trimmed(matricola)
                         + u", deve essere sottoposto a manutenzione entro la data del "_qs + trimmed(dataScade)
                         + u". Pertanto, la preghiamo di contattarci il prima possibile per definire tempi e "
                           u"modalità di intervento da parte del nostro personale tecnico. In attesa di un suo "
                           u"riscontro, porgiamo cordiali saluti."_qs;
    return u"\"mailto:"_qs + trimmed(email) + u"?subject=Avviso di scadenza manutenzione periodica impianto&body="_qs
           + body + u'"';
}

} // namespace orv::customers
