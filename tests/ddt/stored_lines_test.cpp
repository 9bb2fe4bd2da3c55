#include "storedlines.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

using namespace orv::ddt;

TEST(DdtStoredLines, DocumentLineAsOnTheDecodedNote)
{
    const orv::kit::ListSpec spec = ddtList(u"Riepilogo"_qs);
    ASSERT_TRUE(spec.storedLine);
    orv::test::expectStoredLinesAsDecoded(TDDT::layout(), spec.line, spec.storedLine);
}
