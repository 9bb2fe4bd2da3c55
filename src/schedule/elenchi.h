#pragma once
// The three status lists of the year open in the schedule editor: the appointments to
// confirm, the payments to make and the payments made. A double click loads the chosen
// entry into the editor.
#include "kit/listwindow.h"

namespace orv::schedule {

class TfrmDaConfermare : public orv::kit::StatusListWindow {
public:
    explicit TfrmDaConfermare(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

class TfrmConfermati : public orv::kit::StatusListWindow {
public:
    explicit TfrmConfermati(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

class TfrmNonConfermati : public orv::kit::StatusListWindow {
public:
    explicit TfrmNonConfermati(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmDaConfermare* frmDaConfermare;
extern TfrmConfermati* frmConfermati;
extern TfrmNonConfermati* frmNonConfermati;

} // namespace orv::schedule
