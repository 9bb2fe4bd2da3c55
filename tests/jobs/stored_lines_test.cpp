#include "storedlines.h"

#include "jobs/listelavoro.h"
#include "jobs/scheda.h"

using namespace orv::jobs;

TEST(JobStoredLines, SheetLineAsOnTheDecodedSheet)
{
    const orv::kit::ListSpec spec = sheetList(u"Riepilogo"_qs);
    ASSERT_TRUE(spec.storedLine);
    orv::test::expectStoredLinesAsDecoded(TSchedaLavoro::layout(), spec.line, spec.storedLine);
}
