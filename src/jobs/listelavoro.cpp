#include "jobs/listelavoro.h"

#include "jobs/lavoro.h"
#include "jobs/scheda.h"

namespace orv::jobs {

QString openYearFile() { return frmLavoro ? frmLavoro->yearFile() : QString(); }

orv::kit::ListSpec sheetList(const QString& printTitle)
{
    orv::kit::ListSpec spec;
    spec.recordSize = TSchedaLavoro::kSize;
    spec.archivePath = openYearFile;
    spec.line = [](const QByteArray& r) { return RigaSchedaLavoro(TSchedaLavoro::decode(r)); };
    spec.storedLine = [](orv::archive::StoredLineBuilder& b) { RigaSchedaLavoro(b); };
    spec.printTitle = printTitle;
    return spec;
}

void loadIntoEditor(const orv::archive::FoundRecord& found)
{
    if (frmLavoro) frmLavoro->showSheet(TSchedaLavoro::layout().decode(found.record), found.position);
}

} // namespace orv::jobs
