#include "report/preview/previewform.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/dispatch.h"
#include "report/base/errors.h"
#include "report/base/registries.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/bands.h"
#include "report/print/printloop.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSizeGrip>

namespace orv::report {

using orv::platform::ui::fire;

namespace {

QString res(int Id) { return frxResourceText(Id); }
QString res(const char* Name) { return frxStringResources()->Get(QString::fromLatin1(Name)); }

orv::platform::ui::FormSpec windowLayout()
{
    orv::platform::ui::FormSpec s;
    s.name = QStringLiteral("frxPreviewForm");
    s.caption = res(100);
    s.clientWidth = 803;
    s.clientHeight = 584;
    s.border = orv::platform::ui::Border::Sizeable;
    s.placement = orv::platform::ui::Placement::Designed;
    return s;
}

QImage buttonImage(int Row, int Column) { return frxStringResources()->LoadImageFromResouce(Row, Column); }

QLabel* statusPanel(QWidget* Parent, const char* Name)
{
    auto* l = new QLabel(Parent);
    l->setObjectName(QString::fromLatin1(Name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setIndent(3);
    return l;
}

// A bar that keeps the mouse to itself: a right-click on it opens no menu.
QWidget* bar(QWidget* Parent, const char* Name)
{
    auto* w = new QWidget(Parent);
    w->setObjectName(QString::fromLatin1(Name));
    w->setAttribute(Qt::WA_NoMousePropagation);
    w->setAutoFillBackground(true);
    return w;
}

} // namespace

TfrxPreviewForm::TfrxPreviewForm(QWidget* Owner) : EngineWindow(Owner, windowLayout())
{
    ToolBar = bar(this, "ToolBar");
    PrintB = toolButton("PrintB", 5, res(102), 19, 5);
    OpenB = toolButton("OpenB", 31, res(104), 0, 1);
    SaveB = toolButton("SaveB", 57, res(106), 0, 2);
    ExportB = toolButton("ExportB", 83, res(108), 17, 9);
    Line1 = separator("Line1", 111);
    PageWidthB = toolButton("PageWidthB", 192, res("zmPageWidth"), 23, 5);
    WholePageB = toolButton("WholePageB", 218, res("zmWholePage"), 23, 6);
    FullScreenBtn = toolButton("FullScreenBtn", 244, res(150), 19, 9);
    Line2 = separator("Line2", 272);
    OutlineB = toolButton("OutlineB", 278, res(129), 19, 6);
    ThumbB = toolButton("ThumbB", 304, res(131), 7, 8);
    PageSettingsB = toolButton("PageSettingsB", 330, res(121), 19, 4);
    DesignerB = toolButton("DesignerB", 356, res(133), 19, 8);
    Line3 = separator("Line3", 384);
    FirstB = toolButton("FirstB", 390, res(135), 18, 5);
    PriorB = toolButton("PriorB", 416, res(137), 18, 6);
    PageE = new QLineEdit(ToolBar);
    PageE->setObjectName(QStringLiteral("PageE"));
    PageE->setGeometry(443, 4, 49, 22);
    m_toolBarChildren.push_back(PageE);
    NextB = toolButton("NextB", 494, res(139), 18, 7);
    LastB = toolButton("LastB", 520, res(141), 18, 8);
    CancelB = new QPushButton(ToolBar);
    CancelB->setObjectName(QStringLiteral("CancelB"));
    CancelB->setGeometry(568, 4, 68, 23);
    CancelB->setFocusPolicy(Qt::NoFocus);
    m_toolBarChildren.push_back(CancelB);
    ZoomCB = new QComboBox(ToolBar);
    ZoomCB->setObjectName(QStringLiteral("ZoomCB"));
    ZoomCB->setEditable(true);
    ZoomCB->setInsertPolicy(QComboBox::NoInsert);
    ZoomCB->setCompleter(nullptr);
    ZoomCB->setGeometry(116, 4, 69, 22);
    m_toolBarChildren.push_back(ZoomCB);

    StatusBar = bar(this, "StatusBar");
    Panel0 = statusPanel(StatusBar, "Panel0");
    Panel1 = statusPanel(StatusBar, "Panel1");
    Panel2 = statusPanel(StatusBar, "Panel2");
    Panel0->setGeometry(0, 1, 249, 22);
    Panel1->setGeometry(251, 1, 265, 22);
    Panel2->setGeometry(518, 1, 273, 22);
    auto* grip = new QSizeGrip(StatusBar);
    grip->setObjectName(QStringLiteral("SizeGrip"));
    grip->setGeometry(0, 0, 16, 16);

    RightMenu = new QMenu(this);
    RightMenu->setObjectName(QStringLiteral("RightMenu"));
    CollapseMI = RightMenu->addAction(QString());
    ExpandMI = RightMenu->addAction(QString());
    N1 = RightMenu->addSeparator();
    OpenMI = RightMenu->addAction(QString());
    SaveMI = RightMenu->addAction(QString());
    PrintMI = RightMenu->addAction(QString());
    ExportMI = new QMenu(RightMenu);
    ExportMI->setObjectName(QStringLiteral("ExportMI"));
    RightMenu->addMenu(ExportMI);
    ExportPDFMI = RightMenu->addAction(QString());
    ExportMailMI = RightMenu->addAction(QString());
    FindMI = RightMenu->addAction(QString());
    FullScrMI = RightMenu->addAction(QString());
    ZoomInMI = RightMenu->addAction(QString());
    ZoomOutMI = RightMenu->addAction(QString());
    ExportPopup = new QMenu(this);
    ExportPopup->setObjectName(QStringLiteral("ExportPopup"));
    HiddenMenu = new QMenu(this);
    HiddenMenu->setObjectName(QStringLiteral("HiddenMenu"));
    QObject::connect(HiddenMenu->addAction(QStringLiteral("Show template")), &QAction::triggered, this,
                     [this] { orv::report::guarded([this] { Showtemplate1Click(); }); });

    HintPanel = new TfrxCalloutPanel(this);
    HintPanel->setObjectName(QStringLiteral("HintPanel"));
    HintPanel->setGeometry(8, 492, 97, 45);
    HintPanel->SetCallout(TfrxCalloutPanel::Top, 23, 11);
    HintPanel->Label()->setObjectName(QStringLiteral("Label1"));
    HintPanel->hide();

    auto wire = [this](QAbstractButton* b, void (TfrxPreviewForm::*handler)()) {
        QObject::connect(b, &QAbstractButton::clicked, this, [this, handler] { orv::report::guarded([this, handler] { (this->*handler)(); }); });
    };
    wire(PrintB, &TfrxPreviewForm::PrintBClick);
    wire(OpenB, &TfrxPreviewForm::OpenBClick);
    wire(SaveB, &TfrxPreviewForm::SaveBClick);
    wire(ExportB, &TfrxPreviewForm::ExportBClick);
    wire(PageWidthB, &TfrxPreviewForm::PageWidthBClick);
    wire(WholePageB, &TfrxPreviewForm::WholePageBClick);
    wire(FullScreenBtn, &TfrxPreviewForm::FullScreenBtnClick);
    wire(OutlineB, &TfrxPreviewForm::OutlineBClick);
    wire(ThumbB, &TfrxPreviewForm::ThumbBClick);
    wire(PageSettingsB, &TfrxPreviewForm::PageSettingsBClick);
    wire(DesignerB, &TfrxPreviewForm::DesignerBClick);
    wire(FirstB, &TfrxPreviewForm::FirstBClick);
    wire(PriorB, &TfrxPreviewForm::PriorBClick);
    wire(NextB, &TfrxPreviewForm::NextBClick);
    wire(LastB, &TfrxPreviewForm::LastBClick);
    wire(CancelB, &TfrxPreviewForm::CancelBClick);
    auto menu = [this](QAction* a, void (TfrxPreviewForm::*handler)()) {
        QObject::connect(a, &QAction::triggered, this, [this, handler] { orv::report::guarded([this, handler] { (this->*handler)(); }); });
    };
    menu(CollapseMI, &TfrxPreviewForm::CollapseAllClick);
    menu(ExpandMI, &TfrxPreviewForm::ExpandAllClick);
    menu(OpenMI, &TfrxPreviewForm::OpenBClick);
    menu(SaveMI, &TfrxPreviewForm::SaveBClick);
    menu(PrintMI, &TfrxPreviewForm::PrintBClick);
    menu(ExportPDFMI, &TfrxPreviewForm::PdfBClick);
    menu(ExportMailMI, &TfrxPreviewForm::EmailBClick);
    menu(FullScrMI, &TfrxPreviewForm::FullScreenBtnClick);
    menu(ZoomInMI, &TfrxPreviewForm::ZoomPlusBClick);
    menu(ZoomOutMI, &TfrxPreviewForm::ZoomMinusBClick);
    // A choice from the list applies at once; typed text when Enter confirms it.
    QObject::connect(ZoomCB, &QComboBox::activated, this, [this] { orv::report::guarded([this] { applyZoomText(true); }); });
    QObject::connect(ZoomCB->lineEdit(), &QLineEdit::returnPressed, this,
                     [this] { orv::report::guarded([this] { applyZoomText(true); }); });

    FPreview = new TfrxPreview(this, this);
    FPreview->setAttribute(Qt::WA_NoMousePropagation);
    onClose = [this](orv::platform::ui::CloseAction& action) {
        if (FPreview->Running()) {
            action = orv::platform::ui::CloseAction::None;
            return;
        }
        if (FreeOnClose)
            action = orv::platform::ui::CloseAction::Free;
        if (TfrxReport* r = Report(); r && r->OnClosePreview)
            r->OnClosePreview(nullptr);
    };
    FormCreate();
    created();
}

TfrxPreviewForm::~TfrxPreviewForm()
{
    // The preview leaves its report before the window's parts go.
    delete FPreview;
}

TfrxToolButton* TfrxPreviewForm::toolButton(const char* Name, int X, const QString& Hint, int Row, int Column)
{
    auto* b = new TfrxToolButton(ToolBar);
    b->setObjectName(QString::fromLatin1(Name));
    b->setGeometry(X, 3, 25, 25);
    b->SetHint(Hint);
    b->SetBitmap(buttonImage(Row, Column));
    b->OnMouseEnter = [this](TfrxToolButton* sender) { PrintBMouseEnter(sender); };
    b->OnMouseLeave = [this](TfrxToolButton*) { PrintBMouseLeave(); };
    m_toolBarChildren.push_back(b);
    return b;
}

TfrxToolSeparator* TfrxPreviewForm::separator(const char* Name, int X)
{
    auto* s = new TfrxToolSeparator(ToolBar);
    s->setObjectName(QString::fromLatin1(Name));
    s->setGeometry(X, 7, 5, 16);
    m_toolBarChildren.push_back(s);
    return s;
}

void TfrxPreviewForm::FormCreate()
{
    setCaption(res(100));
    CancelB->setText(res("clClose"));
    CollapseMI->setText(res(601));
    ExpandMI->setText(res(600));
    OpenMI->setText(res(104));
    OpenMI->setIcon(QIcon(QPixmap::fromImage(OpenB->Bitmap())));
    SaveMI->setText(res(106));
    SaveMI->setIcon(QIcon(QPixmap::fromImage(SaveB->Bitmap())));
    PrintMI->setText(res(102));
    PrintMI->setIcon(QIcon(QPixmap::fromImage(PrintB->Bitmap())));
    ExportMI->setTitle(res(108));
    ExportMI->setIcon(QIcon(QPixmap::fromImage(ExportB->Bitmap())));
    ExportPDFMI->setText(res(151));
    ExportMailMI->setText(res(152));
    FindMI->setText(res(110));
    FullScrMI->setText(res(150));
    FullScrMI->setIcon(QIcon(QPixmap::fromImage(FullScreenBtn->Bitmap())));
    ZoomInMI->setText(res(125));
    ZoomOutMI->setText(res(127));
    ZoomCB->clear();
    ZoomCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("300%")});
    ZoomCB->setCurrentIndex(-1);
    ZoomCB->setEditText(QString());
    FPreview->OnPageChanged = [this](TfrxPreview*, int) { ShowPageNumber(); };
    FPreview->OnDblClick = [this] {
        // A double click on the pages leaves full screen.
        if (FFullScreen)
            SwitchToFullScreen();
    };
    FPreview->setFocus();
    FPreview->Workspace()->OnMouseUp = [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF at) {
        FormMouseUp(b, FPreview->Workspace()->Content()->mapToGlobal(at.toPoint()));
    };
    FFullScreen = false;
    FPDFExport = nullptr;
    FEmailExport = nullptr;
    placeChildren();
}

void TfrxPreviewForm::placeChildren()
{
    const int w = width(), h = height();
    int top = 0, bottom = h;
    if (!ToolBar->isHidden()) {
        ToolBar->setGeometry(0, 0, w, 31);
        top = 31;
    }
    if (!StatusBar->isHidden()) {
        StatusBar->setGeometry(0, h - 24, w, 24);
        StatusBar->findChild<QSizeGrip*>()->move(w - 16, 8);
        bottom = h - 24;
    }
    FPreview->setGeometry(0, top, w, std::max(0, bottom - top));
}

void TfrxPreviewForm::resizeEvent(QResizeEvent* e)
{
    EngineWindow::resizeEvent(e);
    placeChildren();
}

// ---------------------------------------------------------------- set-up

void TfrxPreviewForm::Init()
{
    TfrxReport* report = Report();
    FPreview->Init();
    HintPanel->raise();
    const TfrxPreviewOptions* o = report ? report->PreviewOptions() : nullptr;
    if (o && o->Maximized()) {
        setWindowState(Qt::WindowMaximized);
    } else if (const QScreen* s = screen()) {
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    if (o) {
        FPreview->SetZoom(o->Zoom());
        FPreview->SetZoomMode(o->ZoomMode());
        DesignerB->setEnabled(o->AllowEdit());
        FPreview->Workspace()->RTLLanguage = o->RTLPreview();
        const TfrxPreviewButtons b = o->Buttons();
        PrintB->setVisible(b.contains(pbPrint));
        OpenB->setVisible(b.contains(pbLoad));
        SaveB->setVisible(b.contains(pbSave));
        ExportB->setVisible(b.contains(pbExport));
        ZoomCB->setVisible(b.contains(pbZoom));
        PageWidthB->setVisible(b.contains(pbZoom));
        WholePageB->setVisible(b.contains(pbZoom));
        FullScreenBtn->setVisible(b.contains(pbFullScreen));
        OutlineB->setVisible(b.contains(pbOutline));
        ThumbB->setVisible(b.contains(pbThumbnails));
        PageSettingsB->setVisible(b.contains(pbPageSetup));
        DesignerB->setVisible(b.contains(pbEdit));
        for (QWidget* w : std::initializer_list<QWidget*>{FirstB, PriorB, PageE, NextB, LastB})
            w->setVisible(b.contains(pbNavigator));
        CancelB->setVisible(b.contains(pbClose));
    }
    auto shown = [](std::initializer_list<QWidget*> ws) {
        for (QWidget* w : ws)
            if (!w->isHidden())
                return true;
        return false;
    };
    Line1->setVisible(shown({ZoomCB, PageWidthB, WholePageB, FullScreenBtn}));
    Line2->setVisible(shown({OutlineB, ThumbB, PageSettingsB, DesignerB}));
    Line3->setVisible(shown({FirstB, PriorB, PageE, NextB, LastB, CancelB}));
    CompactToolBar();

    TfrxExportFilterCollection& filters = frxExportFilterRegistry();
    TfrxCustomExportFilter* dotMatrix = frxDotMatrixExportFilter();
    if (filters.Count() == 0 || (filters.Count() == 1 && filters.GetExportFilterItem(0) == dotMatrix))
        ExportB->hide();
    for (int i = 0; i < filters.Count(); ++i) {
        TfrxCustomExportFilter* filter = filters.GetExportFilterItem(i);
        if (filter == dotMatrix)
            continue;
        const QString text = filter->GetDescription() + QStringLiteral("...");
        for (QMenu* m : {ExportMI, ExportPopup}) {
            QAction* a = m->addAction(text);
            a->setData(i);
            QObject::connect(a, &QAction::triggered, this, [this, i] { orv::report::guarded([this, i] { ExportItemClick(i); }); });
        }
        if (filter->classInfo().name() == QLatin1String("TfrxPDFExport"))
            FPDFExport = filter;
    }
    FPopUpMItemsCount = int(RightMenu->actions().size());
    FPopUpExporttemsCount = int(ExportPopup->actions().size());
    if (report && !report->ReportOptions()->Name().isEmpty())
        setCaption(report->ReportOptions()->Name());
    UpdateCommandStates();
    ShowPageNumber();
}

void TfrxPreviewForm::CompactToolBar()
{
    for (QWidget* hidden : m_toolBarChildren) {
        if (!hidden->isHidden())
            continue;
        const int right = hidden->x() + hidden->width();
        for (QWidget* w : m_toolBarChildren)
            if (w->x() > right)
                w->move(w->x() - hidden->width() - 1, w->y());
    }
}

void TfrxPreviewForm::ShowModal() { showModal(); }

void TfrxPreviewForm::Show()
{
    FreeOnClose = true;
    show();
}

// ---------------------------------------------------------------- status

void TfrxPreviewForm::SetMessageText(const QString& Value, bool IsHint)
{
    if (!IsHint)
        Panel1->setText(Value);
    else if (!Value.isEmpty())
        Panel2->setText(Value);
    else if (!Panel2->text().isEmpty())
        Panel2->clear();
    QCoreApplication::processEvents();
}

void TfrxPreviewForm::ShowPageNumber()
{
    TfrxCustomPreviewPages* pages = FPreview->PreviewPages;
    const int count = FPreview->PageCount();
    if (pages && count > 0 && pages->Engine && pages->Engine->Running && !pages->Engine->FinalPass) {
        Panel0->setText(res("clFirstPass") + u' ' + QString::number(count));
    } else {
        QString text = res("clPageOf");
        text.replace(text.indexOf(QStringLiteral("%d")), 2, QString::number(FPreview->PageNo()));
        text.replace(text.indexOf(QStringLiteral("%d")), 2, QString::number(count));
        Panel0->setText(text);
    }
    Panel0->repaint();
    PageE->setText(QString::number(FPreview->PageNo()));
}

void TfrxPreviewForm::UpdateCommandStates()
{
    const bool running = FPreview->Running();
    const bool pages = FPreview->PageCount() > 0;
    for (TfrxToolButton* b : {PrintB, OpenB, SaveB, ExportB, PageSettingsB}) {
        b->setEnabled(!running && pages);
        b->SetDown(false);
    }
    TfrxReport* report = Report();
    DesignerB->setEnabled(!running && report && report->PreviewOptions()->AllowEdit());
    DesignerB->SetDown(false);
    bool drill = false;
    if (report)
        for (TfrxComponent* c : report->AllObjects())
            if (auto* h = dynamic_cast<TfrxGroupHeader*>(c); h && h->DrillDown())
                drill = true;
    for (QAction* a : {ExpandMI, CollapseMI, N1})
        a->setVisible(!running && drill);
}

void TfrxPreviewForm::ShowZoomText()
{
    const QString text = QString::number(frxRound((long double)FPreview->Zoom() * 100)) + u'%';
    if (ZoomCB->currentText() == text || m_writingZoom)
        return;
    // A text the window writes itself is applied back: a fitted zoom becomes the shown
    // whole percentage.
    m_writingZoom = true;
    try {
        writeZoomText(text);
        applyZoomText(true);
    } catch (...) {
        m_writingZoom = false;
        throw;
    }
    m_writingZoom = false;
}

void TfrxPreviewForm::applyZoomText(bool MoveFocus)
{
    QString t = ZoomCB->currentText();
    const qsizetype percent = t.indexOf(u'%');
    if (percent >= 0)
        t[percent] = u' ';
    t.remove(u' ');
    if (!t.isEmpty())
        FPreview->SetZoom(frxTextToFloat(t) / 100);
    // The box shows what the zoom became (7 % reads 25 %).
    const QString shown = QString::number(frxRound((long double)FPreview->Zoom() * 100)) + u'%';
    if (ZoomCB->currentText() != shown)
        writeZoomText(shown);
    if (MoveFocus)
        FPreview->setFocus();
}

void TfrxPreviewForm::writeZoomText(const QString& Text)
{
    // A percentage of the list is also its current entry, so that the list opens on it.
    const int at = ZoomCB->findText(Text);
    if (at >= 0) {
        ZoomCB->setCurrentIndex(at);
    } else {
        ZoomCB->setCurrentIndex(-1);
        ZoomCB->setEditText(Text);
    }
}

void TfrxPreviewForm::SetOutlineDown(bool Down) { OutlineB->SetDown(Down); }
void TfrxPreviewForm::SetThumbnailsDown(bool Down) { ThumbB->SetDown(Down); }

void TfrxPreviewForm::PreparationStarted() { CancelB->setText(res("clCancel")); }

void TfrxPreviewForm::PreparationStopped()
{
    CancelB->setText(res("clClose"));
    Panel1->clear();
    UpdateCommandStates();
}

// ---------------------------------------------------------------- commands

void TfrxPreviewForm::PrintBClick() { FPreview->Print(); }

void TfrxPreviewForm::OpenBClick()
{
    FPreview->LoadFromFile();
    TfrxReport* report = Report();
    const QString name = report ? report->ReportOptions()->Name() : QString();
    setCaption(name.isEmpty() ? res(100) : name);
}

void TfrxPreviewForm::SaveBClick() { FPreview->SaveToFile(); }

void TfrxPreviewForm::ExportBClick()
{
    if (ExportPopup->actions().size() == FPopUpExporttemsCount)
        ExportPopup->popup(ExportB->mapToGlobal(QPoint(0, 0)));
}

void TfrxPreviewForm::ExportItemClick(int Index)
{
    TfrxExportFilterCollection& filters = frxExportFilterRegistry();
    if (Index >= 0 && Index < filters.Count())
        FPreview->Export(filters.GetExportFilterItem(Index));
}

void TfrxPreviewForm::PdfBClick()
{
    if (FPDFExport)
        FPreview->Export(FPDFExport);
}

void TfrxPreviewForm::EmailBClick()
{
    if (FEmailExport)
        FPreview->Export(FEmailExport);
}

void TfrxPreviewForm::PageSettingsBClick() { FPreview->PageSetupDlg(); }
void TfrxPreviewForm::DesignerBClick() { FPreview->Edit(); }
void TfrxPreviewForm::Showtemplate1Click() { FPreview->DesignTemplate(); }
void TfrxPreviewForm::FirstBClick() { FPreview->First(); }
void TfrxPreviewForm::PriorBClick() { FPreview->Prior(); }
void TfrxPreviewForm::NextBClick() { FPreview->Next(); }
void TfrxPreviewForm::LastBClick() { FPreview->Last(); }

void TfrxPreviewForm::PageEClick()
{
    int page = 0;
    if (!orv::platform::tryStrToInt(orv::platform::trimmed(PageE->text()), page))
        throw orv::report::ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(PageE->text()));
    FPreview->SetPageNo(page);
    FPreview->setFocus();
}

void TfrxPreviewForm::CancelBClick()
{
    if (FPreview->Running())
        FPreview->Cancel();
    else
        close();
}

void TfrxPreviewForm::ZoomPlusBClick() { FPreview->SetZoom(FPreview->Zoom() + 0.25); }
void TfrxPreviewForm::ZoomMinusBClick() { FPreview->SetZoom(FPreview->Zoom() - 0.25); }
void TfrxPreviewForm::OutlineBClick() { FPreview->SetOutlineVisible(!FPreview->OutlineVisible()); }
void TfrxPreviewForm::ThumbBClick() { FPreview->SetThumbnailVisible(!FPreview->ThumbnailVisible()); }
void TfrxPreviewForm::PageWidthBClick() { FPreview->SetZoomMode(zmPageWidth); }
void TfrxPreviewForm::WholePageBClick() { FPreview->SetZoomMode(zmWholePage); }

void TfrxPreviewForm::setDrillDown(bool Expand)
{
    TfrxReport* report = Report();
    if (!report)
        return;
    FPreview->Lock();
    for (TfrxComponent* c : report->AllObjects())
        if (auto* h = dynamic_cast<TfrxGroupHeader*>(c); h && h->DrillDown())
            h->SetExpandDrillDown(Expand);
    report->DrillState()->Clear();
    FPreview->RefreshReport();
    if (!Expand)
        FPreview->SetPosition(0, 0);
}

void TfrxPreviewForm::SwitchToFullScreen()
{
    if (!FFullScreen) {
        StatusBar->hide();
        ToolBar->hide();
        FOldState = windowState();
        setWindowState(Qt::WindowMaximized);
        FFullScreen = true;
    } else {
        setWindowState(FOldState);
        StatusBar->show();
        ToolBar->show();
        FFullScreen = false;
    }
    placeChildren();
}

// ---------------------------------------------------------------- mouse and keys

void TfrxPreviewForm::FormMouseUp(Qt::MouseButton Button, QPoint GlobalPos)
{
    if (Button == Qt::RightButton && RightMenu->actions().size() == FPopUpMItemsCount)
        RightMenu->popup(GlobalPos);
}

void TfrxPreviewForm::mouseReleaseEvent(QMouseEvent* e)
{
    orv::report::guarded([&] { FormMouseUp(e->button(), e->globalPosition().toPoint()); });
}

void TfrxPreviewForm::FormMouseWheel(int Delta, Qt::KeyboardModifiers Modifiers)
{
    FPreview->MouseWheelScroll(Delta, false, Modifiers & Qt::ControlModifier);
}

void TfrxPreviewForm::MouseWheel(int Delta, Qt::KeyboardModifiers Modifiers) { FormMouseWheel(Delta, Modifiers); }

void TfrxPreviewForm::wheelEvent(QWheelEvent* e)
{
    orv::report::guarded([&] { FormMouseWheel(e->angleDelta().y(), e->modifiers()); });
    e->ignore();
}

void TfrxPreviewForm::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
        orv::report::guarded([this] { CancelBClick(); });
        break;
    case Qt::Key_F11:
        orv::report::guarded([this] { SwitchToFullScreen(); });
        break;
    case Qt::Key_F1:
        frxStringResources()->Help(nullptr);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (QApplication::focusWidget() == PageE)
            orv::report::guarded([this] { PageEClick(); });
        break;
    default:
        EngineWindow::keyPressEvent(e);
        return;
    }
    e->accept();
}

void TfrxPreviewForm::PrintBMouseEnter(TfrxToolButton* Button)
{
    const QString text = Button->Hint();
    const QSize size = HintPanel->MeasureText(text, 300, 1000);
    const int length = HintPanel->CalloutLength();
    int w = size.width() + 12, h = size.height() + length + 10;
    const QPoint at = Button->mapTo(this, QPoint(0, 0));
    const int x = at.x(), y = at.y();
    if (Button->width() / 2 + x > w / 2) {
        HintPanel->SetCallout(TfrxCalloutPanel::Top, 23, length);
        HintPanel->SetLabelMargins(0, 0);
        HintPanel->setGeometry(x + Button->width() / 2 - w / 2, y + Button->height(), w, h);
    } else {
        HintPanel->SetCallout(TfrxCalloutPanel::Left, 23, length);
        w += length;
        HintPanel->SetLabelMargins(length, -length);
        HintPanel->setGeometry(x + Button->width(), y - h / 2 + Button->height() / 2, w, h);
    }
    HintPanel->Label()->setText(text);
    HintPanel->show();
    HintPanel->raise();
}

void TfrxPreviewForm::PrintBMouseLeave() { HintPanel->hide(); }

TfrxPreviewWindow* frxMakePreviewWindow(TfrxReport*) { return new TfrxPreviewForm(nullptr); }

} // namespace orv::report
