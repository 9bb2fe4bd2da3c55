#include "storedlines.h"

#include "warehouse/articolo.h"

using namespace orv::warehouse;

TEST(WarehouseStoredLines, FinderAndImportLinesAsOnTheDecodedArticle)
{
    orv::test::expectStoredLinesAsDecoded(
        TArticolo::layout(), [](const QByteArray& r) { return RigaTrovaMagazzino(TArticolo::decode(r)); },
        [](orv::archive::StoredLineBuilder& b) { RigaTrovaMagazzino(b); });
    orv::test::expectStoredLinesAsDecoded(
        TArticolo::layout(), [](const QByteArray& r) { return RigaImportaMagazzino(TArticolo::decode(r)); },
        [](orv::archive::StoredLineBuilder& b) { RigaImportaMagazzino(b); });
}
