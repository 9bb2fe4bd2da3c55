#include "storedlines.h"

#include "quotes/listepreventivi.h"
#include "quotes/preventivo.h"

using namespace orv::quotes;

TEST(QuoteStoredLines, DocumentLineAsOnTheDecodedQuote)
{
    const orv::kit::ListSpec spec = quoteList(u"Riepilogo"_qs);
    ASSERT_TRUE(spec.storedLine);
    orv::test::expectStoredLinesAsDecoded(TPreventivo::layout(), spec.line, spec.storedLine);
}
