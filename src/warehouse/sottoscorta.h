#pragma once
// The running-out list: the articles whose stock is not above their minimum stock; a
// double click loads the article into the article editor.
#include "kit/listwindow.h"

namespace orv::warehouse {

class TfrmSottoscorta : public orv::kit::StatusListWindow {
public:
    explicit TfrmSottoscorta(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmSottoscorta* frmSottoscorta;

} // namespace orv::warehouse

namespace orv::warehouse {
// The running-out articles in archive order. An article whose stock or minimum stock is
// not a number is skipped and the list goes on with the next.
void fillRunningOut(platform::ArchiveFile& file, archive::ResultSink& out);
} // namespace orv::warehouse
