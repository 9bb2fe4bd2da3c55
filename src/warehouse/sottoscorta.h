#pragma once
// The running-out list: the articles whose stock is not above their minimum stock; a
// double click loads the article into the article editor.
#include "kit/listwindow.h"

class TfrmSottoscorta : public orv::forms::StatusListWindow {
public:
    explicit TfrmSottoscorta(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmSottoscorta* frmSottoscorta;

namespace orv::warehouse {
// The running-out articles in archive order. An article whose stock or minimum stock is
// not a number is skipped and the list goes on with the next.
void fillRunningOut(ArchiveFile& file, archive::ResultSink& out);
} // namespace orv::warehouse
