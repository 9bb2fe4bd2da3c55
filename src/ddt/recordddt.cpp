#include "ddt/recordddt.h"

#include "platform/core/text.h"

namespace orv::ddt {

using orv::archive::RecordLayout;

const RecordLayout& TDDT::layout()
{
    static const RecordLayout l = orv::documents::documentLayout({
        {u"Vettore"_qs, 50, u"memVettore"_qs},
        {u"Destinazione"_qs, 50, u"memDestinazione"_qs},
        {u"Causale"_qs, 50, u"memCausale"_qs},
        {u"Aspetto"_qs, 50, u"memAspetto"_qs},
        {u"OraPartenza"_qs, 50, u"memOraPartenza"_qs},
        {u"OraConsegna"_qs, 50, u"memOraConsegna"_qs},
        {u"Porto"_qs, 30, u"memPorto"_qs},
    }, u"TOTALE DDT"_qs);
    Q_ASSERT(l.fieldCount() == 247 && l.size() == kSize);
    return l;
}

QString RigaDDT(const TDDT& d) { return orv::documents::documentLine(orv::ddt::kLinePrefix, TDDT::layout(), d.values); }

} // namespace orv::ddt

namespace orv::ddt {

bool notDelivered(const QByteArray& record) { return documents::flagIs(TDDT::layout(), record, archive::kNo); }

const documents::ExportTexts& exportTexts()
{
    static const documents::ExportTexts t{u"DDT.xls"_qs,
                                     u"Riepilogo DDT"_qs,
                                     u"DDT n."_qs,
                                     u"TOTALE NDC"_qs,
                                     u"TOTALE DDT"_qs,
                                     u"Consegnato"_qs,
                                     u"Esportazione archivio Documenti di Trasporto in Microsoft Excel."_qs,
                                     u"tutti i Documenti di Trasporto emessi"_qs};
    return t;
}

} // namespace orv::ddt
