#include "pdf/pdfdialog.h"

#include "pdf/pdfexport.h"
#include "report/base/resources.h"
#include "report/model/report.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

namespace orv::pdf {
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

using namespace orv::platform::ui;

namespace {

FormSpec dialogSpec()
{
    FormSpec spec;
    spec.name = QStringLiteral("frxPDFExportDialog");
    spec.clientWidth = 292;
    spec.clientHeight = 321;
    return spec;
}

// The pages of the tab control lie below its tabs.
constexpr int kPageX = 8, kPageY = 28, kPageW = 277, kPageH = 249;

Layout dialogLayout()
{
    Layout l = {
        panel("ExportPage", kPageX, kPageY, kPageW, kPageH),
        panel("InfoPage", kPageX, kPageY, kPageW, kPageH).hidden(),
        panel("SecurityPage", kPageX, kPageY, kPageW, kPageH).hidden(),
        panel("ViewerPage", kPageX, kPageY, kPageW, kPageH).hidden(),

        group("GroupPageRange", 4, 4, 267, 121).in("ExportPage"),
        edit("PageNumbersE", 92, 58, 165, 21).in("GroupPageRange"),
        label("DescrL", 12, 82, 249, 29, QString()).in("GroupPageRange").wrap(),
        group("GroupQuality", 4, 128, 267, 89).in("ExportPage"),
        check("CompressedCB", 12, 20, 117, 17, QString()).in("GroupQuality"),
        check("EmbeddedCB", 12, 40, 117, 17, QString()).in("GroupQuality"),
        check("PrintOptCB", 136, 20, 126, 17, QString()).in("GroupQuality"),
        check("OutlineCB", 136, 40, 121, 17, QString()).in("GroupQuality"),
        check("BackgrCB", 12, 60, 117, 17, QString()).in("GroupQuality"),
        check("OpenCB", 16, 224, 253, 17, QString()).in("ExportPage"),

        group("DocInfoGB", 4, 4, 267, 197).in("InfoPage"),
        label("TitleL", 12, 26, 89, 16, QString()).in("DocInfoGB"),
        label("AuthorL", 12, 54, 89, 16, QString()).in("DocInfoGB"),
        label("SubjectL", 12, 82, 89, 16, QString()).in("DocInfoGB"),
        label("KeywordsL", 12, 110, 89, 16, QString()).in("DocInfoGB"),
        label("CreatorL", 12, 138, 89, 16, QString()).in("DocInfoGB"),
        label("ProducerL", 12, 166, 89, 16, QString()).in("DocInfoGB"),
        edit("TitleE", 108, 22, 152, 21).in("DocInfoGB"),
        edit("AuthorE", 108, 50, 152, 21).in("DocInfoGB"),
        edit("SubjectE", 108, 78, 152, 21).in("DocInfoGB"),
        edit("KeywordsE", 108, 106, 152, 21).in("DocInfoGB"),
        edit("CreatorE", 108, 134, 152, 21).in("DocInfoGB"),
        edit("ProducerE", 108, 162, 152, 21).in("DocInfoGB"),

        group("SecGB", 4, 4, 267, 84).in("SecurityPage"),
        label("OwnPassL", 12, 26, 110, 16, QString()).in("SecGB"),
        label("UserPassL", 13, 54, 110, 16, QString()).in("SecGB"),
        edit("OwnPassE", 127, 22, 133, 21).in("SecGB"),
        edit("UserPassE", 127, 50, 133, 21).in("SecGB"),
        group("PermGB", 4, 92, 265, 121).in("SecurityPage"),
        check("PrintCB", 12, 21, 241, 17, QString()).in("PermGB"),
        check("ModCB", 12, 45, 241, 17, QString()).in("PermGB"),
        check("CopyCB", 12, 68, 241, 17, QString()).in("PermGB"),
        check("AnnotCB", 12, 91, 241, 17, QString()).in("PermGB"),

        group("ViewerGB", 4, 4, 267, 177).in("ViewerPage"),
        check("HideToolbarCB", 12, 24, 241, 17, QString()).in("ViewerGB"),
        check("HideMenubarCB", 12, 48, 241, 17, QString()).in("ViewerGB"),
        check("HideWindowUICB", 12, 72, 241, 17, QString()).in("ViewerGB"),
        check("FitWindowCB", 12, 96, 241, 17, QString()).in("ViewerGB"),
        check("CenterWindowCB", 12, 120, 241, 17, QString()).in("ViewerGB"),
        check("PrintScalingCB", 12, 144, 241, 17, QString()).in("ViewerGB"),

        button("OkB", 126, 287, 75, 25, QString()),
        button("CancelB", 206, 287, 75, 25, QString()),
    };
    return l;
}

// The smallest size a caption shrinks to before it may be cut.
constexpr int kSmallestPixelSize = 8;

int pixelSizeOf(const QFont& font) { return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize(); }

// The tab captions and the help are laid out for the program's own font; a system that
// serves a wider one gets them in a smaller size rather than cut off.
void fitTabs(QTabBar* bar)
{
    bar->setElideMode(Qt::ElideNone);
    bar->setUsesScrollButtons(false);
    QFont font = bar->font();
    while (bar->sizeHint().width() > bar->width() && pixelSizeOf(font) > kSmallestPixelSize) {
        font.setPixelSize(pixelSizeOf(font) - 1);
        bar->setFont(font);
    }
}

// Grows the label down to the bottom it may take, then shrinks its font until the
// wrapped text fits.
void fitWrapped(QWidget* label, const QString& text, int bottom)
{
    auto needed = [&](const QFont& font) {
        return QFontMetrics(font).boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, text);
    };
    QFont font = label->font();
    const int height = std::clamp(needed(font).height(), label->height(), std::max(label->height(), bottom - label->y()));
    label->resize(label->width(), height);
    while (needed(font).height() > label->height() && pixelSizeOf(font) > kSmallestPixelSize) {
        font.setPixelSize(pixelSizeOf(font) - 1);
        label->setFont(font);
    }
}

QRadioButton* radio(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* b = new QRadioButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 17);
    return b;
}

} // namespace

TfrxPDFExportDialog::TfrxPDFExportDialog(QWidget* owner) : Form(owner, dialogSpec(), dialogLayout())
{
    PageControl1 = new QTabBar(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, 285, 20);
    for (int i = 0; i < 4; ++i)
        PageControl1->addTab(QString());
    QObject::connect(PageControl1, &QTabBar::currentChanged, PageControl1,
                     [this](int index) { PageControl1Change(index); });

    QWidget* range = GroupPageRange.widget();
    AllRB = radio(range, "AllRB", 12, 20, 153);
    CurPageRB = radio(range, "CurPageRB", 12, 40, 153);
    PageNumbersRB = radio(range, "PageNumbersRB", 12, 60, 77);
    AllRB->setChecked(true);

    PageNumbersE.onChange = [this] { PageNumbersEChange(); };
    OkB.onClick = [this] { setModalResult(mrOk); };
    CancelB.onClick = [this] { setModalResult(mrCancel); };
    onCreate = [this] { FormCreate(); };
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    created();
}

bool TfrxPDFExportDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        CancelB.click();
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && watched != CancelB.widget()) {
        OkB.click();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void TfrxPDFExportDialog::FormCreate()
{
    const auto text = [](int id) { return frxResourceText(id); };
    setCaption(text(8700));
    PageControl1->setTabText(0, text(107));
    PageControl1->setTabText(1, text(8972));
    PageControl1->setTabText(2, text(8962));
    PageControl1->setTabText(3, text(8981));
    GroupPageRange.setText(text(7));
    AllRB->setText(text(3));
    CurPageRB->setText(text(4));
    PageNumbersRB->setText(text(5));
    DescrL.setText(text(9));
    GroupQuality.setText(text(8));
    CompressedCB.setText(text(8701));
    EmbeddedCB.setText(text(8702));
    PrintOptCB.setText(text(8703));
    OutlineCB.setText(text(8704));
    BackgrCB.setText(text(8705));
    OpenCB.setText(text(8706));
    DocInfoGB.setText(text(8971));
    TitleL.setText(text(8973));
    AuthorL.setText(text(8974));
    SubjectL.setText(text(8975));
    KeywordsL.setText(text(8976));
    CreatorL.setText(text(8977));
    ProducerL.setText(text(8978));
    SecGB.setText(text(8979));
    OwnPassL.setText(text(8964));
    UserPassL.setText(text(8965));
    PermGB.setText(text(8980));
    PrintCB.setText(text(8966));
    ModCB.setText(text(8967));
    CopyCB.setText(text(8968));
    AnnotCB.setText(text(8969));
    ViewerGB.setText(text(8982));
    HideToolbarCB.setText(text(8983));
    HideMenubarCB.setText(text(8984));
    HideWindowUICB.setText(text(8985));
    FitWindowCB.setText(text(8986));
    CenterWindowCB.setText(text(8987));
    PrintScalingCB.setText(text(8988));
    OkB.setText(text(1));
    CancelB.setText(text(2));
    fitTabs(PageControl1);
    // The help may reach down to the group's frame.
    fitWrapped(DescrL.widget(), DescrL.text(), GroupPageRange.widget()->height() - 4);
}

void TfrxPDFExportDialog::PageNumbersEChange() { PageNumbersRB->setChecked(true); }

void TfrxPDFExportDialog::PageControl1Change(int Index)
{
    Panel* pages[] = {&ExportPage, &InfoPage, &SecurityPage, &ViewerPage};
    for (int i = 0; i < 4; ++i)
        pages[i]->setVisible(i == Index);
}

// ---------------------------------------------------------------- the filter's dialog

int TfrxPDFExport::ShowModal()
{
    if (Title().isEmpty() && Report)
        SetTitle(Report->ReportOptions()->Name());
    if (Stream)
        return 1;
    SetOutline(Report ? Report->PreviewOptions()->OutlineVisible() : true);

    TfrxPDFExportDialog dialog;
    dialog.OpenCB.setVisible(!SlaveExport);
    if (SlaveExport)
        SetOpenAfterExport(false);
    SaveFileRequest save;
    save.filter = FilterDesc;
    save.defaultExt = DefaultExt;
    save.overwritePrompt = OverwritePrompt();
    save.initialDir = DefaultPath();
    if (!FileName().isEmpty() || SlaveExport) {
        save.fileName = FileName();
    } else if (Report && !Report->FileName.isEmpty()) {
        const QFileInfo report(Report->FileName);
        save.fileName = report.completeBaseName() + DefaultExt;
    }

    dialog.OpenCB.setChecked(OpenAfterExport());
    dialog.CompressedCB.setChecked(Compressed());
    dialog.EmbeddedCB.setChecked(EmbeddedFonts());
    dialog.PrintOptCB.setChecked(PrintOptimized());
    dialog.OutlineCB.setChecked(Outline());
    dialog.OutlineCB.setEnabled(Outline());
    dialog.BackgrCB.setChecked(Background());
    if (!PageNumbers.isEmpty()) {
        dialog.PageNumbersE.setText(PageNumbers);
        dialog.PageNumbersRB->setChecked(true);
    }
    dialog.OwnPassE.setText(OwnerPassword());
    dialog.UserPassE.setText(UserPassword());
    dialog.PrintCB.setChecked(ProtectionFlags().contains(ePrint));
    dialog.ModCB.setChecked(ProtectionFlags().contains(eModify));
    dialog.CopyCB.setChecked(ProtectionFlags().contains(eCopy));
    dialog.AnnotCB.setChecked(ProtectionFlags().contains(eAnnot));
    dialog.TitleE.setText(Title());
    dialog.AuthorE.setText(Author());
    dialog.SubjectE.setText(Subject());
    dialog.KeywordsE.setText(Keywords());
    dialog.CreatorE.setText(Creator());
    dialog.ProducerE.setText(Producer());
    dialog.HideToolbarCB.setChecked(HideToolbar());
    dialog.HideMenubarCB.setChecked(HideMenubar());
    dialog.HideWindowUICB.setChecked(HideWindowUI());
    dialog.FitWindowCB.setChecked(FitWindow());
    dialog.CenterWindowCB.setChecked(CenterWindow());
    dialog.PrintScalingCB.setChecked(PrintScaling());

    int result = dialog.showModal();
    if (result != mrOk)
        return result == mrNone ? int(mrCancel) : result;

    SetOwnerPassword(dialog.OwnPassE.text());
    SetUserPassword(dialog.UserPassE.text());
    TfrxPDFEncBits flags;
    if (dialog.PrintCB.isChecked())
        flags.include(ePrint);
    if (dialog.ModCB.isChecked())
        flags.include(eModify);
    if (dialog.CopyCB.isChecked())
        flags.include(eCopy);
    if (dialog.AnnotCB.isChecked())
        flags.include(eAnnot);
    SetProtectionFlags(flags);
    PageNumbers.clear();
    CurPage = false;
    if (dialog.CurPageRB->isChecked())
        CurPage = true;
    else if (dialog.PageNumbersRB->isChecked())
        PageNumbers = dialog.PageNumbersE.text();
    SetOpenAfterExport(dialog.OpenCB.isChecked());
    SetCompressed(dialog.CompressedCB.isChecked());
    SetEmbeddedFonts(dialog.EmbeddedCB.isChecked());
    SetPrintOptimized(dialog.PrintOptCB.isChecked());
    SetOutline(dialog.OutlineCB.isChecked());
    SetBackground(dialog.BackgrCB.isChecked());
    SetTitle(dialog.TitleE.text());
    SetAuthor(dialog.AuthorE.text());
    SetSubject(dialog.SubjectE.text());
    SetKeywords(dialog.KeywordsE.text());
    SetCreator(dialog.CreatorE.text());
    SetProducer(dialog.ProducerE.text());
    SetHideToolbar(dialog.HideToolbarCB.isChecked());
    SetHideMenubar(dialog.HideMenubarCB.isChecked());
    SetHideWindowUI(dialog.HideWindowUICB.isChecked());
    SetFitWindow(dialog.FitWindowCB.isChecked());
    SetCenterWindow(dialog.CenterWindowCB.isChecked());
    SetPrintScaling(dialog.PrintScalingCB.isChecked());
    if (!SlaveExport) {
        const std::optional<QString> chosen = fileDialog().saveFile(save);
        if (chosen)
            SetFileName(*chosen);
        else
            result = mrCancel;
    }
    return result;
}

} // namespace orv::pdf
