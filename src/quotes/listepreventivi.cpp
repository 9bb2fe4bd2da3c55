#include "quotes/listepreventivi.h"

#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

forms::ListSpec quoteList(const QString& printTitle)
{
    return docs::documentList(TPreventivo::layout(), openYearFile, kLinePrefix, printTitle);
}

} // namespace orv::quotes
