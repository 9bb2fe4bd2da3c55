// What every document window shares: the window itself, the company logo it loads each
// time it is shown, Annulla, and the close after a print or a preview whatever the
// engine's print dialog answered.
#include "documents_base_fixture.h"

#include "customers/contratto.h"
#include "jobs/lavoro.h"
#include "platform/ui/art.h"
#include "printing/contract.h"
#include "printing/jobsheet.h"
#include "report/model/views.h"

#include <QDir>
#include <QImage>
#include <QPainter>

using namespace orv::customers;
using namespace orv::jobs;
using namespace orv::printing;
using namespace orv::report;
using namespace orv::script;

using namespace orv::test;
using orv::printing::DocumentWindow;

namespace {

// The picture the layout's logo view holds.
QImage logoInLayout(DocumentWindow& w)
{
    return w.repDocumento().FindObjectAs<TfrxPictureView>(QStringLiteral("imgLogo"))->Picture()->Image();
}

bool samePixels(const QImage& a, const QImage& b)
{
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

using DocumentWindowTest = DocumentsTest;

TEST_F(DocumentWindowTest, TheFiveWindowsAreLaidOutAsDrawn)
{
    struct Expected {
        std::function<DocumentWindow*()> make;
        QString caption;
        int width, height;
        QString confirm;
        QRect picture, cancel, confirmAt;
    };
    const Expected table[] = {
        {[] { return new TfrmStampaCon(frmContratto); }, u" Stampa scheda"_qs, 364, 287, u"Stampa"_qs,
         {22, 32, 316, 187}, {18, 243, 145, 28}, {200, 243, 145, 28}},
        {[] { return new TfrmAnteprimaCon(frmContratto); }, u" Anteprima di stampa"_qs, 364, 287,
         u"Mostra anteprima"_qs, {22, 30, 316, 185}, {18, 243, 145, 28}, {200, 243, 145, 28}},
        {[] { return new TfrmStampaLav(frmLavoro); }, u" Stampa scheda"_qs, 364, 287, u"Stampa"_qs,
         {22, 30, 316, 187}, {18, 243, 137, 28}, {208, 243, 137, 28}},
        {[] { return new TfrmAnteprimaLav(frmLavoro); }, u" Anteprima di stampa"_qs, 364, 287,
         u"Mostra anteprima"_qs, {22, 30, 316, 185}, {18, 243, 145, 28}, {200, 243, 145, 28}},
        {[] { return new TfrmCrea_PDF_Lav(frmLavoro); }, u" Esporta in PDF"_qs, 363, 299, u"Crea PDF"_qs,
         {22, 26, 316, 207}, {18, 254, 137, 28}, {208, 254, 137, 28}},
    };
    for (const Expected& e : table) {
        std::unique_ptr<DocumentWindow> w(e.make());
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->caption(), e.caption);
        EXPECT_EQ(w->contentsRect().size(), QSize(e.width, e.height));
        EXPECT_EQ(w->btnStampa.text(), e.confirm);
        EXPECT_EQ(w->btnAnnulla.text(), u"Annulla"_qs);
        EXPECT_EQ(w->imgLogo02.widget()->geometry(), e.picture);
        EXPECT_EQ(w->btnAnnulla.widget()->geometry(), e.cancel);
        EXPECT_EQ(w->btnStampa.widget()->geometry(), e.confirmAt);
        EXPECT_FALSE(w->imgLogo.widget()->isVisibleTo(w.get()));
        EXPECT_EQ(w->pdfEsporta() != nullptr, e.caption == u" Esporta in PDF"_qs);
    }
}

TEST_F(DocumentWindowTest, ThePrintPicturesShowAPrinter)
{
    // The heading band of the explanatory picture carries the operation's own icon.
    const auto band = [](const QString& title, orv::platform::ui::art::Icon icon) {
        QImage img(316, 48, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        orv::platform::ui::art::heading(title, QString(), icon)(p, QRectF(img.rect()));
        return img;
    };
    const struct {
        std::function<DocumentWindow*()> make;
        QString title;
        orv::platform::ui::art::Icon icon;
    } table[] = {
        {[] { return new TfrmStampaCon(frmContratto); }, u"Stampa scheda"_qs, orv::platform::ui::art::Icon::Printer},
        {[] { return new TfrmStampaLav(frmLavoro); }, u"Stampa scheda"_qs, orv::platform::ui::art::Icon::Printer},
        {[] { return new TfrmAnteprimaLav(frmLavoro); }, u"Anteprima di stampa"_qs, orv::platform::ui::art::Icon::PrintPreview},
    };
    for (const auto& e : table) {
        std::unique_ptr<DocumentWindow> w(e.make());
        SCOPED_TRACE(w->objectName().toStdString());
        const QImage top = w->imgLogo02.picture().copy(0, 0, 316, 48);
        EXPECT_EQ(top, band(e.title, e.icon));
        EXPECT_NE(top, band(e.title, orv::platform::ui::art::Icon::JobSheet));
    }
}

TEST_F(DocumentWindowTest, TheLogoComesFromLogoBmpAndOtherwiseIsTheEuroPicture)
{
    QImage company(60, 30, QImage::Format_RGB32);
    company.fill(QColor(0x20, 0x80, 0x40));
    struct Case {
        const char* what;
        std::function<void()> prepare;
        bool companyLogo;
    };
    const Case cases[] = {
        {"no Logo.bmp", [] {}, false},
        {"unreadable Logo.bmp", [this] { writeFile(u"Logo.bmp"_qs, "BM not a bitmap at all"); }, false},
        {"empty Logo.bmp", [this] { writeFile(u"Logo.bmp"_qs, QByteArray()); }, false},
        {"readable Logo.bmp", [&] { ASSERT_TRUE(company.save(programFolder() + u"Logo.bmp"_qs, "BMP")); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(programFolder() + u"Logo.bmp"_qs);
        showAndActivate(*frmLavoro);
        c.prepare();
        QImage seen, builtIn;
        whenShown(u"frmStampaLav"_qs, [&](orv::platform::ui::Form& f) {
            seen = document(f).imgLogo.picture();
            builtIn = document(f).imgTemp.picture();
            click(document(f).btnStampa);
        });
        click(frmLavoro->cmdStampa);
        ASSERT_FALSE(printed.empty());
        const QImage expected = c.companyLogo ? company : builtIn;
        EXPECT_TRUE(samePixels(seen, expected));
        EXPECT_EQ(seen.size(), c.companyLogo ? QSize(60, 30) : QSize(297, 184));
    }
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_TRUE(engineErrors().isEmpty());
}

TEST_F(DocumentWindowTest, TheLayoutPrintsTheLogoTheWindowHolds)
{
    QImage company(40, 40, QImage::Format_RGB32);
    company.fill(Qt::red);
    ASSERT_TRUE(company.save(programFolder() + u"Logo.bmp"_qs, "BMP"));
    TfrmStampaCon w(frmContratto);
    w.show();
    EXPECT_TRUE(logoInLayout(w).isNull());
    click(w.btnStampa);
    EXPECT_TRUE(samePixels(logoInLayout(w), company));
}

TEST_F(DocumentWindowTest, AnnullaClosesAndLeavesNoTrace)
{
    for (const QString& name : {u"frmStampaLav"_qs, u"frmAnteprimaLav"_qs, u"frmCrea_PDF_Lav"_qs}) {
        whenShown(name, [](orv::platform::ui::Form& f) {
            click(document(f).btnAnnulla);
            EXPECT_FALSE(f.isVisible());
        });
    }
    showAndActivate(*frmLavoro);
    for (orv::platform::ui::Image* command : {&frmLavoro->cmdStampa, &frmLavoro->cmdAnteprima, &frmLavoro->cmdPDF})
        click(*command);
    EXPECT_EQ(modal.shown, (QStringList{u"frmStampaLav"_qs, u"frmAnteprimaLav"_qs, u"frmCrea_PDF_Lav"_qs}));
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(previewed.empty());
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_EQ(QDir(programFolder()).entryList({u"*.pdf"_qs}), QStringList());
}

TEST_F(DocumentWindowTest, PrintAndPreviewCloseTheWindowWhateverThePrintDialogAnswered)
{
    struct Case {
        bool printerAnswers;
        size_t printedAfter;
    };
    showAndActivate(*frmContratto);
    for (const Case c : {Case{false, 0}, Case{true, 1}}) {
        printerAnswers = c.printerAnswers;
        printed.clear();
        bool open = true;
        whenShown(u"frmStampaCon"_qs, [&](orv::platform::ui::Form& f) {
            click(document(f).btnStampa);
            open = f.isVisible();
        });
        click(frmContratto->cmdStampa);
        EXPECT_FALSE(open);
        EXPECT_EQ(printed.size(), c.printedAfter);
    }
    bool open = true;
    whenShown(u"frmAnteprimaCon"_qs, [&](orv::platform::ui::Form& f) {
        click(document(f).btnStampa);
        open = f.isVisible();
    });
    click(frmContratto->cmdAnteprima);
    EXPECT_FALSE(open);
    ASSERT_EQ(previewed.size(), 1u);
    EXPECT_EQ(previewed[0].pages, 1);
}

TEST_F(DocumentWindowTest, ThePreviewPreparesThePageOnce)
{
    // The preview's own preparation is the one shown: one before it was wasted work,
    // and a failing layout told its errors twice.
    showAndActivate(*frmContratto);
    int preparations = 0;
    whenShown(u"frmAnteprimaCon"_qs, [&](orv::platform::ui::Form& f) {
        document(f).repDocumento().OnBeginDoc = [&](TfrxReport*) { ++preparations; };
        click(document(f).btnStampa);
    });
    click(frmContratto->cmdAnteprima);
    EXPECT_EQ(preparations, 1);
    ASSERT_EQ(previewed.size(), 1u);
    EXPECT_EQ(previewed[0].pages, 1);

    previewed.clear();
    whenShown(u"frmAnteprimaCon"_qs, [&](orv::platform::ui::Form& f) {
        document(f).repDocumento().ScriptText()->SetText(u"begin\r\n  Sconosciuto := 1;\r\nend."_qs);
        click(document(f).btnStampa);
    });
    click(frmContratto->cmdAnteprima);
    EXPECT_EQ(engineErrors().size(), 1) << engineErrors().join(u" | "_qs).toStdString();
    EXPECT_TRUE(previewed.empty());
}

TEST_F(DocumentWindowTest, TheKeyboardReachesAnnullaThenTheConfirmButton)
{
    showAndActivate(*frmLavoro);
    bool confirmedByKeys = false;
    whenShown(u"frmStampaLav"_qs, [&](orv::platform::ui::Form& f) {
        auto& w = document(f);
        showAndActivate(w);
        w.btnAnnulla.setFocus();
        key(w, Qt::Key_Tab);
        ASSERT_EQ(w.focusedControl(), &w.btnStampa);
        key(w, Qt::Key_Space);
        confirmedByKeys = !f.isVisible();
    });
    click(frmLavoro->cmdStampa);
    EXPECT_TRUE(confirmedByKeys);
    EXPECT_EQ(printed.size(), 1u);
}
