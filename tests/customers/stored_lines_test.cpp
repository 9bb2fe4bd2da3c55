#include "storedlines.h"

#include "customers/contrattorecord.h"

using namespace orv::customers;

TEST(ContractStoredLines, FinderLineAsOnTheDecodedContract)
{
    orv::test::expectStoredLinesAsDecoded(
        TContratto::layout(), [](const QByteArray& r) { return RigaTrovaContratti(TContratto::decode(r)); },
        [](orv::archive::StoredLineBuilder& b) { RigaTrovaContratti(b); });
}
