#pragma once
// The attach-file window shared by the customer, contract, job-sheet and warehouse
// editors: up to three files per record, each copied into the attachment folder and
// shown by name with a free description. On confirmation the six values go back into the
// hidden labels lblFile01..03 and lblDesc01..03 of the editor that the caller tag names;
// the editor stores them at its next Save.
#include "platform/ui/form.h"

#include <array>

namespace orv::kit {

// The controls of one attachment row (row 1: txtFile01, imgCancella01, btnSfoglia01,
// btnApri01, txtDesc01).
struct AttachmentRow {
    platform::ui::Edit& txtFile;
    platform::ui::Image& imgCancella;
    platform::ui::Button& btnSfoglia;
    platform::ui::Button& btnApri;
    platform::ui::Edit& txtDesc;
};

} // namespace orv::kit

namespace orv::kit {

class TfrmAllegaCartella : public orv::platform::ui::Form {
public:
    static constexpr int kRows = 3;

    explicit TfrmAllegaCartella(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Button, btnApplica);
    ORV_CONTROL(Label, lblMemory);
    orv::platform::ui::OpenDialog dlgFile;
    // rows[0] is row 1.
    const std::array<orv::kit::AttachmentRow, kRows> rows;

    void btnSfogliaClick(int row);
    void btnApriClick(int row);
    void imgCancellaClick(int row);
    void txtFileChange(int row);
    void btnApplicaClick();
    void btnAnnullaClick();
};

extern TfrmAllegaCartella* frmAllegaCartella;

} // namespace orv::kit

namespace orv::kit {

// The editors' attach command: a new window owned by `editor` with the caller tag and
// the editor's six attachment values, shown modally and destroyed.
void showAttachmentWindow(platform::ui::Form& editor, const QString& tag);

} // namespace orv::kit
