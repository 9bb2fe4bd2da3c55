#include "jobs/scheda.h"

#include "archive/helpers.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::jobs {
using namespace orv::archive;
using namespace orv::platform;
void RigaSchedaLavoro(orv::archive::StoredLineBuilder& b)
{
    using S = TSchedaLavoro;
    b.lit(u"Scheda n. ");
    const qsizetype number = b.length();
    b.text(S::NumScheda).lit(u" del ").text(S::Data).fit(number, 24);
    b.lit(u"  ").col(S::Cliente, 30).lit(u"  Tel. ").col(S::TelCli, 14).lit(u"  ").col(S::Marca, 35)
        .lit(u"  Tot. \u20ac ").last(S::TotFattura);
}

} // namespace orv::jobs

namespace orv::jobs {

using orv::archive::FieldDef;
using orv::archive::FieldKind;
using orv::archive::RecordLayout;

const RecordLayout& TSchedaLavoro::layout()
{
    // Every text field is shown in the edit of the same name; the flags in their check
    // boxes, the attachments in the hidden labels the attach-file window fills.
    static const RecordLayout l = [] {
        const auto text = [](const char16_t* name, int width) {
            const QString n = QString::fromUtf16(name);
            return FieldDef{n, width, u"txt"_qs + n};
        };
        const auto hidden = [](const char16_t* name) {
            const QString n = QString::fromUtf16(name);
            return FieldDef{n, 250, u"lbl"_qs + n};
        };
        return RecordLayout{
            text(u"NumScheda", 30),        text(u"Data", 20),          text(u"Pagamento", 50),
            text(u"TipoImpianto", 50),     text(u"Marca", 50),         text(u"Matricola", 50),
            text(u"Alimentazione", 50),    text(u"AnnoCostruz", 30),   text(u"Caratteristiche", 250),
            text(u"Ubicazione", 120),      text(u"Cliente", 50),       text(u"CodFiscCli", 16),
            text(u"TelCli", 30),           text(u"IndirizzoCli", 250), text(u"DataAccetta", 20),
            text(u"OraAccetta", 5),        text(u"Luogo", 50),         text(u"Tecnico", 50),
            text(u"Anomalie", 250),        text(u"Controlli", 250),    text(u"Lavori", 250),
            text(u"Ricambi", 250),         text(u"Raccomandazioni", 250), text(u"Stato", 50),
            text(u"Annotazioni", 250),     text(u"Fattura", 50),       text(u"TotFattura", 10),
            text(u"DataRiconsegna", 20),   text(u"OraRiconsegna", 5),
            {u"Garanzia"_qs, 2, u"chkGaranzia"_qs, FieldKind::Flag},
            {u"Riconsegnato"_qs, 2, u"chkRiconsegnato"_qs, FieldKind::Flag},
            hidden(u"File01"), hidden(u"File02"), hidden(u"File03"),
            hidden(u"Desc01"), hidden(u"Desc02"), hidden(u"Desc03"),
        };
    }();
    Q_ASSERT(l.fieldCount() == kFieldCount && l.size() == kSize);
    return l;
}

QByteArray TSchedaLavoro::encode() const { return layout().encode(values); }

TSchedaLavoro TSchedaLavoro::decode(const QByteArray& record)
{
    TSchedaLavoro s;
    s.values = layout().decode(record);
    return s;
}

QString RigaSchedaLavoro(const TSchedaLavoro& s)
{
    using S = TSchedaLavoro;
    // Number and date share one column, cut as a whole: a long number pushes the date out.
    const QString numberAndDate = Sinistra(s[S::NumScheda] + u" del "_qs + s[S::Data] + QString(24, u' '), 24);
    orv::archive::LineBuilder b;
    b.lit(u"Scheda n. ").lit(numberAndDate).lit(u"  ").col(s[S::Cliente], 30).lit(u"  Tel. ").col(s[S::TelCli], 14)
        .lit(u"  ").col(s[S::Marca], 35).lit(u"  Tot. \u20ac ");
    return b.rest(s[S::TotFattura]);
}

} // namespace orv::jobs

namespace orv::jobs {

std::optional<QString> yearFile(const QString& year)
{
    if (year.size() != 4 || !SoloCifre(year)) return std::nullopt;
    return programFile(year + u".lav"_qs);
}

orv::archive::EditorConfig editorConfig(std::function<QString()> archivePath)
{
    using orv::archive::ArchiveEditor;
    using orv::archive::MessageKind;
    orv::archive::EditorConfig config;
    config.layout = &TSchedaLavoro::layout();
    config.archivePath = std::move(archivePath);
    config.firstControl = u"txtTipoImpianto"_qs;
    config.accessKinds = orv::archive::AccessMessageKinds::jobSheets();
    config.numberControl = u"txtNumScheda"_qs;
    config.blankDefaults.insert(u"txtTotFattura"_qs, u"0,00"_qs);
    config.checks = [](ArchiveEditor& e) {
        auto& v = e.view();
        const auto refuse = [&](const QString& text, const QString& control) {
            e.messages().show(MessageKind::Warning, text);
            v.setFocus(control);
            return false;
        };
        const QString prefix = u"Attenzione: per salvare la scheda è necessario indicare "_qs;
        const struct {
            const char16_t* control;
            const char16_t* what;
        } required[] = {
            {u"txtMarca", u"la marca e il modello di impianto."},
            {u"txtCliente", u"il nome o la ragione sociale del Cliente."},
            {u"txtNumScheda", u"il numero della Scheda di Lavoro."},
            {u"txtData", u"la data della Scheda di Lavoro."},
        };
        for (const auto& r : required) {
            const QString control = QString::fromUtf16(r.control);
            if (trimmed(v.text(control)).isEmpty()) return refuse(prefix + QString::fromUtf16(r.what), control);
        }
        if (!DataValida(v.text(u"txtData"_qs)))
            return refuse(u"Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario "
                          u"indicare una data valida nel formato gg/mm/anno."_qs,
                          u"txtData"_qs);
        return true;
    };
    return config;
}

std::optional<qint64> nextNumber(const QString& startNumber, qint64 sheets)
{
    const QString start = trimmed(startNumber).isEmpty() ? u"1"_qs : startNumber;
    int n = 0;
    if (!tryStrToInt(start, n)) return std::nullopt;
    return qint64(n) + sheets;
}

const QList<Criterion>& finderCriteria()
{
    using S = TSchedaLavoro;
    static const QList<Criterion> criteria = {
        {u"txtNumScheda"_qs, u"SCHEDA DI LAVORO N."_qs, S::NumScheda},
        {u"txtData"_qs, u"Data emissione (gg/mm/aaaa):"_qs, S::Data},
        {u"txtCliente"_qs, u"Cognome e nome Cliente:"_qs, S::Cliente},
        {u"txtIndirizzoCli"_qs, u"Indirizzo e città di residenza:"_qs, S::IndirizzoCli},
        {u"txtMarca"_qs, u"Marca e modello impianto:"_qs, S::Marca},
        {u"txtMatricola"_qs, u"Matricola n."_qs, S::Matricola},
        {u"txtTecnico"_qs, u"Tecnico esecutore:"_qs, S::Tecnico},
        {u"txtStato"_qs, u"Stato dei lavori:"_qs, S::Stato},
        {u"txtLavori"_qs, u"Lavori eseguiti:"_qs, S::Lavori},
        {u"txtAnnotazioni"_qs, u"Annotazioni:"_qs, S::Annotazioni},
    };
    return criteria;
}

bool notReturned(const QByteArray& record)
{
    return TSchedaLavoro::layout().fieldText(record, TSchedaLavoro::Riconsegnato) == u"No";
}

void fillNotReturned(orv::platform::ArchiveFile& file, orv::archive::ResultSink& out)
{
    archive::fillList(file, out, notReturned,
                      [](const QByteArray& r) { return RigaSchedaLavoro(TSchedaLavoro::decode(r)); });
}

const orv::archive::ExportSheet& exportSheet()
{
    static const orv::archive::ExportSheet sheet{
        u"Schede_di_Lavoro.xls"_qs,
        u"Riepilogo Schede di Lavoro"_qs,
        {
            {u"Scheda n."_qs, 160},
            {u"Data emissione"_qs, 120},
            {u"Modalità di pagamento"_qs, 250},
            {u"Tipo impianto"_qs, 250},
            {u"Marca e modello impianto"_qs, 250},
            {u"Anno costruzione"_qs, 200},
            {u"Matricola n."_qs, 250},
            {u"Alimentazione"_qs, 250},
            {u"Caratteristiche tecniche"_qs, 350},
            {u"Cognome e nome Cliente"_qs, 250},
            {u"Codice fiscale"_qs, 250},
            {u"Tel."_qs, 200},
            {u"Indirizzo e città"_qs, 300},
            {u"Data inizio lavori"_qs, 250},
            {u"Luogo intervento"_qs, 250},
            {u"Tecnico esecutore"_qs, 250},
            {u"Anomalie segnalate dal Cliente"_qs, 400},
            {u"Controlli effettuati"_qs, 400},
            {u"Lavori eseguiti"_qs, 400},
            {u"Ricambi e materiali utilizzati"_qs, 400},
            {u"Raccomandazioni per il Cliente"_qs, 400},
            {u"Stato dei lavori"_qs, 250},
            {u"Annotazioni"_qs, 400},
            {u"Estremi ricevuta o fattura"_qs, 250},
            {u"Data riconsegna impianto"_qs, 250},
        },
    };
    return sheet;
}

QStringList exportRow(const TSchedaLavoro& s)
{
    using S = TSchedaLavoro;
    QStringList row;
    for (S::Field f : {S::NumScheda, S::Data, S::Pagamento, S::TipoImpianto, S::Marca, S::AnnoCostruz, S::Matricola,
                       S::Alimentazione, S::Caratteristiche, S::Cliente, S::CodFiscCli, S::TelCli, S::IndirizzoCli,
                       S::DataAccetta, S::Luogo, S::Tecnico, S::Anomalie, S::Controlli, S::Lavori, S::Ricambi,
                       S::Raccomandazioni, S::Stato, S::Annotazioni})
        row.append(trimmed(s[f]));
    row.append(trimmed(s[S::Fattura]) + u" \u20ac "_qs + trimmed(s[S::TotFattura]));
    row.append(trimmed(s[S::DataRiconsegna]));
    return row;
}

QString finderCountText(qsizetype lines)
{
    return u"Il presente elenco contiene "_qs + QString::number(lines) + u" schede."_qs;
}

} // namespace orv::jobs
