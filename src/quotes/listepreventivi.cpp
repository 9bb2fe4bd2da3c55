#include "quotes/listepreventivi.h"

#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

kit::ListSpec quoteList(const QString& printTitle)
{
    return documents::documentList(TPreventivo::layout(), openYearFile, kLinePrefix, printTitle);
}

} // namespace orv::quotes
