#include "storedlines.h"

#include "schedule/scadenza.h"
#include "schedule/trovascadenzario.h"

using namespace orv::schedule;

TEST(ScheduleStoredLines, EntryLineAsOnTheDecodedEntry)
{
    const orv::kit::ListSpec spec = entryList(u"Riepilogo"_qs);
    ASSERT_TRUE(spec.storedLine);
    orv::test::expectStoredLinesAsDecoded(TScadenza::layout(), spec.line, spec.storedLine);
}
