#include "quotes/listepreventivi.h"

#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

forms::ListSpec quoteList(const QString& printTitle)
{
    forms::ListSpec spec;
    spec.recordSize = TPreventivo::kSize;
    spec.archivePath = openYearFile;
    spec.line = [](const QByteArray& r) { return RigaPreventivo(TPreventivo::decode(r)); };
    spec.printTitle = printTitle;
    return spec;
}

} // namespace orv::quotes
