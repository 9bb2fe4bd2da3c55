#include "schedule/scadenza.h"

#include <array>

#include "archive/lists.h"
#include "customers/membertable.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::schedule {
using namespace orv::platform;
} // namespace orv::schedule

namespace orv::schedule {

using orv::archive::FieldKind;
using orv::archive::RecordLayout;

namespace {

using Field = orv::customers::MemberField<TScadenza>;

// Record order; each member with its width and the editor control that shows it.
const orv::customers::MemberTable<TScadenza, 25>& table()
{
    static const orv::customers::MemberTable<TScadenza, 25> t(std::array<Field, 25>{{
        {&TScadenza::Giorno, {u"Giorno"_qs, 2, u"txtGiorno"_qs}},
        {&TScadenza::Mese, {u"Mese"_qs, 10, u"txtMese"_qs}},
        {&TScadenza::Anno, {u"Anno"_qs, 4, u"lblAnno"_qs}},
        {&TScadenza::Data, {u"Data"_qs, 10, u"lblData"_qs}},
        {&TScadenza::OreApp, {u"OreApp"_qs, 2, u"txtOreApp"_qs}},
        {&TScadenza::MinutiApp, {u"MinutiApp"_qs, 2, u"txtMinutiApp"_qs}},
        {&TScadenza::Ora, {u"Ora"_qs, 5, u"lblOra"_qs}},
        {&TScadenza::Avviso, {u"Avviso"_qs, 3, u"txtAvviso"_qs}},
        {&TScadenza::Pagatore, {u"Pagatore"_qs, 50, u"txtPagatore"_qs}},
        {&TScadenza::CodFisc, {u"CodFisc"_qs, 16, u"txtCodFisc"_qs}},
        {&TScadenza::Recapito, {u"Recapito"_qs, 50, u"txtRecapito"_qs}},
        {&TScadenza::Codice, {u"Codice"_qs, 30, u"txtCodice"_qs}},
        {&TScadenza::Tipologia, {u"Tipologia"_qs, 50, u"txtTipologia"_qs}},
        {&TScadenza::Marca, {u"Marca"_qs, 50, u"txtMarca"_qs}},
        {&TScadenza::Descrizione, {u"Descrizione"_qs, 250, u"txtDescrizione"_qs}},
        {&TScadenza::Accessori, {u"Accessori"_qs, 250, u"txtAccessori"_qs}},
        {&TScadenza::Fornitore, {u"Fornitore"_qs, 250, u"txtFornitore"_qs}},
        {&TScadenza::Beneficiario, {u"Beneficiario"_qs, 50, u"txtBeneficiario"_qs}},
        {&TScadenza::Dettagli, {u"Dettagli"_qs, 250, u"txtDettagli"_qs}},
        {&TScadenza::Officina, {u"Officina"_qs, 150, u"txtOfficina"_qs}},
        {&TScadenza::Costo, {u"Costo"_qs, 15, u"txtCosto"_qs, FieldKind::Number, u"Importo in euro"_qs}},
        {&TScadenza::Contatto, {u"Contatto"_qs, 50, u"txtContatto"_qs}},
        {&TScadenza::Note, {u"Note"_qs, 250, u"txtNote"_qs}},
        {&TScadenza::DaConfermare, {u"DaConfermare"_qs, 2, u"chkDaConfermare"_qs, FieldKind::Flag}},
        {&TScadenza::Effettuata, {u"Effettuata"_qs, 2, u"chkEffettuata"_qs, FieldKind::Flag}},
    }});
    return t;
}

} // namespace

const RecordLayout& TScadenza::layout()
{
    const RecordLayout& l = table().layout();
    Q_ASSERT(l.size() == kSize);
    return l;
}

QStringList TScadenza::values() const { return table().values(*this); }

TScadenza TScadenza::fromValues(const QStringList& values) { return table().fromValues(values); }

QByteArray TScadenza::encode() const { return layout().encode(values()); }

TScadenza TScadenza::decode(const QByteArray& record) { return fromValues(layout().decode(record)); }

} // namespace orv::schedule

namespace orv::schedule {

QString yearFile(const QString& year) { return programFile(trimmed(year) + u".sca"_qs); }

QString currentYearFile() { return yearFile(QString::number(currentYear()).rightJustified(4, u'0')); }

QString nextYearFile() { return yearFile(QString::number(currentYear() + 1).rightJustified(4, u'0')); }

const QStringList& monthNames()
{
    static const QStringList names = {u"Gennaio"_qs, u"Febbraio"_qs, u"Marzo"_qs,     u"Aprile"_qs,
                                      u"Maggio"_qs,  u"Giugno"_qs,   u"Luglio"_qs,    u"Agosto"_qs,
                                      u"Settembre"_qs, u"Ottobre"_qs, u"Novembre"_qs, u"Dicembre"_qs};
    return names;
}

QString monthNumber(const QString& name)
{
    const QString wanted = lowerAZ(trimmed(name));
    for (int m = 0; m < monthNames().size(); ++m) {
        if (lowerAZ(monthNames()[m]) == wanted)
            return QString::number(m + 1).rightJustified(2, u'0');
    }
    return {};
}

QString RigaScadenza(const TScadenza& s)
{
    archive::LineBuilder b;
    b.col(s.Dettagli, 30).lit(u"  Data: ").col(s.Data, 10).lit(u"  Ora: ").col(s.Ora, 5).lit(u"  Da: ")
        .col(s.Pagatore, 30).lit(u"  A:  ").col(s.Beneficiario, 30).lit(u"  \u20ac ");
    return b.rest(s.Costo);
}

void RigaScadenza(archive::StoredLineBuilder& b)
{
    static const struct {
        int dettagli, data, ora, pagatore, beneficiario, costo;
    } f = [] {
        const RecordLayout& l = TScadenza::layout();
        return decltype(f){l.indexOf(u"Dettagli"_qs), l.indexOf(u"Data"_qs), l.indexOf(u"Ora"_qs),
                           l.indexOf(u"Pagatore"_qs), l.indexOf(u"Beneficiario"_qs), l.indexOf(u"Costo"_qs)};
    }();
    b.col(f.dettagli, 30).lit(u"  Data: ").col(f.data, 10).lit(u"  Ora: ").col(f.ora, 5).lit(u"  Da: ")
        .col(f.pagatore, 30).lit(u"  A:  ").col(f.beneficiario, 30).lit(u"  \u20ac ").last(f.costo);
}

QString CodiceUnivoco(const TScadenza& s)
{
    return trimmed(s.Data).mid(3, 2) + trimmed(s.Giorno) + trimmed(s.OreApp) + trimmed(s.MinutiApp);
}

bool ScadenzaImminente(const TScadenza& s, TDateTime today, bool& ok)
{
    TDateTime due = 0;
    int notice = 0;
    ok = tryStrToDate(s.Data, due, currentYear()) && tryStrToInt(trimmed(s.Avviso), notice);
    return ok && due - notice <= today && today <= due;
}

bool dueOn(const TScadenza& s, const QString& date) { return trimmed(s.Data) == date; }

bool dueInMonthOf(const TScadenza& s, const QString& date)
{
    const int month = date.mid(3, 2).toInt();
    if (month < 1 || month > 12)
        return false;
    return lowerAZ(trimmed(s.Mese)) == lowerAZ(monthNames()[month - 1]) && trimmed(s.Anno) == date.mid(6, 4);
}

bool toConfirm(const TScadenza& s) { return trimmed(s.DaConfermare) == archive::kYes; }
bool paymentToMake(const TScadenza& s) { return trimmed(s.Effettuata) == archive::kNo; }
bool paymentMade(const TScadenza& s) { return trimmed(s.Effettuata) == archive::kYes; }

QStringList exportCells(const TScadenza& s)
{
    QStringList cells = {s.Data,        s.Ora,       s.Pagatore,     s.CodFisc,  s.Recapito,
                         s.Codice,      s.Tipologia, s.Marca,        s.Descrizione, s.Accessori,
                         s.Fornitore,   s.Beneficiario, s.Dettagli,  s.Officina, s.Costo,
                         s.Contatto,    s.DaConfermare, s.Effettuata, s.Note};
    for (QString& c : cells)
        c = trimmed(c);
    return cells;
}

QStringList gridCells(const TScadenza& s) { return exportCells(s) << CodiceUnivoco(s); }

namespace {

// The 19 headings and file widths shared by the export and the grid windows.
QList<archive::ExportColumn> entryColumns()
{
    return {
        {u"Data scadenza"_qs, 150},
        {u"Ora appuntamento"_qs, 150},
        {u"Pagatore"_qs, 250},
        {u"Codice fiscale"_qs, 200},
        {u"Recapito preferenziale"_qs, 250},
        {u"Codice articolo"_qs, 200},
        {u"Tipologia"_qs, 250},
        {u"Marca e modello"_qs, 250},
        {u"Descrizione"_qs, 250},
        {u"Accessori"_qs, 250},
        {u"Fornitore"_qs, 250},
        {u"Beneficiario"_qs, 250},
        {u"Causale scadenza"_qs, 300},
        {u"Modalità di pagamento"_qs, 300},
        {u"Importo in euro"_qs, 200, false, true},
        {u"Estremi ricevuta"_qs, 250},
        {u"Appuntamento da confermare"_qs, 250},
        {u"Pagamento effettuato"_qs, 250},
        {u"Note"_qs, 300},
    };
}

archive::ExportSheet gridSheet(const QString& file, const QString& name)
{
    archive::ExportSheet sheet{file, name, entryColumns()};
    sheet.columns.append({u"Codice univoco"_qs, 150});
    return sheet;
}

} // namespace

const archive::ExportSheet& exportSheet()
{
    static const archive::ExportSheet sheet{u"Scadenze_e_Appuntamenti.xls"_qs, u"Scadenze e appuntamenti"_qs,
                                            entryColumns()};
    return sheet;
}

const archive::ExportSheet& imminentSheet()
{
    static const archive::ExportSheet sheet = gridSheet(u"Scadenze_Imminenti.xls"_qs, u"Scadenze imminenti"_qs);
    return sheet;
}

const archive::ExportSheet& dailySheet()
{
    static const archive::ExportSheet sheet = gridSheet(u"Scadenze_Giornaliere.xls"_qs, u"Scadenze del giorno"_qs);
    return sheet;
}

const archive::ExportSheet& monthlySheet()
{
    static const archive::ExportSheet sheet = gridSheet(u"Scadenze_Mensili.xls"_qs, u"Scadenze del mese"_qs);
    return sheet;
}

} // namespace orv::schedule
