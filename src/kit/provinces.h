#pragma once
// The province codes the province combo edits offer (customer, contract, quote and
// delivery-note windows). The list only helps typing: any text may stand in the field.
#include <QStringList>

namespace orv::kit {


// The 112 two-letter codes in their list order.
inline const QStringList& provinceCodes()
{
    static const QStringList codes =
        QStringLiteral("AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT BZ CA CB CE CH CI CL CN CO CR CS "
                       "CT CZ EE EN FC FE FG FI FM FO FR GE GO GR IM IS KR LC LE LI LO LT LU MB MC MD ME MI MN "
                       "MO MS MT NA NO NU OG OR OT PA PC PD PE PG PI PN PO PR PT PU PV PZ RA RC RE RG RI RM RN "
                       "RO SA SI SO SP SR SS SV TA TE TN TO TP TR TS TV UD VA VB VC VE VI VR VT VV")
            .split(u' ');
    return codes;
}



} // namespace orv::kit