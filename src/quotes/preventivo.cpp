#include "quotes/preventivo.h"

#include "archive/helpers.h"
#include "platform/core/text.h"
#include "documents/documento.h"
#include "documents/elenchi.h"

namespace orv::quotes {

using orv::archive::FieldDef;
using orv::archive::RecordLayout;

const RecordLayout& TPreventivo::layout()
{
    static const RecordLayout l = orv::documents::documentLayout({
        {u"Destinazione"_qs, 50, u"memVeicolo"_qs},
        {u"Vettore"_qs, 50, u"memMarca"_qs},
        {u"Aspetto"_qs, 50, u"memColore"_qs},
        {u"Porto"_qs, 30, u"memImmatricolazione"_qs},
        {u"Causale"_qs, 50, u"memAlimentazione"_qs},
        {u"NumeroColli"_qs, 30, u"memTarga"_qs},
    }, u"TOTALE PREVENTIVO"_qs);
    Q_ASSERT(l.fieldCount() == 246 && l.size() == kSize);
    return l;
}

QString RigaPreventivo(const TPreventivo& p) { return orv::documents::documentLine(orv::quotes::kLinePrefix, TPreventivo::layout(), p.values); }

} // namespace orv::quotes

namespace orv::quotes {

bool pending(const QByteArray& record) { return documents::flagIs(TPreventivo::layout(), record, archive::kYes); }

const documents::ExportTexts& exportTexts()
{
    static const documents::ExportTexts t{u"Preventivi.xls"_qs,
                                     u"Riepilogo annuale preventivi"_qs,
                                     u"Preventivo n."_qs,
                                     u"TOTALE PREVENTIVO"_qs,
                                     u"TOTALE PREVENTIVO"_qs,
                                     u"In sospeso"_qs,
                                     u"Esportazione archivio preventivi in Microsoft Excel."_qs,
                                     u"tutti i preventivi emessi"_qs};
    return t;
}

const archive::ExportSheet& exportSheet()
{
    static const archive::ExportSheet sheet = documents::exportSheet(exportTexts());
    return sheet;
}

QStringList exportRow(const TPreventivo& p) { return documents::exportRow(TPreventivo::layout(), p.values); }

} // namespace orv::quotes
