#pragma once
// The PDF export filter's options dialog: page range and main switches, document
// information, passwords and permissions, and viewer preferences on four tabs. Its texts
// are the engine's export texts.
#include "platform/ui/form.h"

class QRadioButton;
class QTabBar;

namespace orv::pdf {

class TfrxPDFExportDialog : public orv::platform::ui::Form {
public:
    explicit TfrxPDFExportDialog(QWidget* owner = nullptr);

    // The tab bar and its four pages (the pages are panels shown one at a time).
    QTabBar* PageControl1 = nullptr;
    ORV_CONTROL(Panel, ExportPage);
    ORV_CONTROL(Panel, InfoPage);
    ORV_CONTROL(Panel, SecurityPage);
    ORV_CONTROL(Panel, ViewerPage);

    ORV_CONTROL(GroupBox, GroupPageRange);
    QRadioButton* AllRB = nullptr;
    QRadioButton* CurPageRB = nullptr;
    QRadioButton* PageNumbersRB = nullptr;
    ORV_CONTROL(Edit, PageNumbersE);
    ORV_CONTROL(Label, DescrL);
    ORV_CONTROL(GroupBox, GroupQuality);
    ORV_CONTROL(CheckBox, CompressedCB);
    ORV_CONTROL(CheckBox, EmbeddedCB);
    ORV_CONTROL(CheckBox, PrintOptCB);
    ORV_CONTROL(CheckBox, OutlineCB);
    ORV_CONTROL(CheckBox, BackgrCB);
    ORV_CONTROL(CheckBox, OpenCB);

    ORV_CONTROL(GroupBox, DocInfoGB);
    ORV_CONTROL(Label, TitleL);
    ORV_CONTROL(Label, AuthorL);
    ORV_CONTROL(Label, SubjectL);
    ORV_CONTROL(Label, KeywordsL);
    ORV_CONTROL(Label, CreatorL);
    ORV_CONTROL(Label, ProducerL);
    ORV_CONTROL(Edit, TitleE);
    ORV_CONTROL(Edit, AuthorE);
    ORV_CONTROL(Edit, SubjectE);
    ORV_CONTROL(Edit, KeywordsE);
    ORV_CONTROL(Edit, CreatorE);
    ORV_CONTROL(Edit, ProducerE);

    ORV_CONTROL(GroupBox, SecGB);
    ORV_CONTROL(Label, OwnPassL);
    ORV_CONTROL(Label, UserPassL);
    ORV_CONTROL(Edit, OwnPassE);
    ORV_CONTROL(Edit, UserPassE);
    ORV_CONTROL(GroupBox, PermGB);
    ORV_CONTROL(CheckBox, PrintCB);
    ORV_CONTROL(CheckBox, ModCB);
    ORV_CONTROL(CheckBox, CopyCB);
    ORV_CONTROL(CheckBox, AnnotCB);

    ORV_CONTROL(GroupBox, ViewerGB);
    ORV_CONTROL(CheckBox, HideToolbarCB);
    ORV_CONTROL(CheckBox, HideMenubarCB);
    ORV_CONTROL(CheckBox, HideWindowUICB);
    ORV_CONTROL(CheckBox, FitWindowCB);
    ORV_CONTROL(CheckBox, CenterWindowCB);
    ORV_CONTROL(CheckBox, PrintScalingCB);

    ORV_CONTROL(Button, OkB);
    ORV_CONTROL(Button, CancelB);

    void FormCreate();
    void PageNumbersEChange();
    // Shows the tab's page.
    void PageControl1Change(int Index);

protected:
    // Enter confirms the dialog from wherever the focus stands (Cancel aside), Escape
    // cancels it.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace orv::pdf
