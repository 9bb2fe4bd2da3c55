#include "printing/docwindow.h"

#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/openurl.h"
#include "printing/docpdf.h"
#include "report/base/bitmap.h"
#include "report/model/pages.h"
#include "report/model/views.h"

#include <QPainter>

namespace orv::printing {
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

using namespace orv::platform::ui;

} // namespace orv::printing

namespace orv::printing {

namespace {

constexpr int kLogoWidth = 297, kLogoHeight = 184;

std::function<Form*(const QString&)>& editorLookup()
{
    static std::function<Form*(const QString&)> lookup;
    return lookup;
}

struct Explanation {
    QString title, sentence, confirm;
    art::Icon icon;
};

Explanation explanationOf(Output output)
{
    switch (output) {
    case Output::Print:
        return {QStringLiteral("Stampa scheda"),
                QStringLiteral("Stampa su carta la scheda corrente con i dati inseriti dall'utente."),
                QStringLiteral("Stampa"), art::Icon::Printer};
    case Output::Preview:
        return {QStringLiteral("Anteprima di stampa"),
                QStringLiteral("Mostra in anticipo i dati che compariranno in stampa."),
                QStringLiteral("Mostra anteprima"), art::Icon::PrintPreview};
    case Output::Pdf:
        break;
    }
    return {QStringLiteral("Esporta in PDF"),
            QStringLiteral("Esporta il documento in PDF con i dati inseriti nei campi di testo."),
            QStringLiteral("Crea PDF"), art::Icon::Pdf};
}

// The explanatory picture: a heading with the operation's title, what it does, and the
// instruction to confirm or cancel.
Artwork explanation(Output output)
{
    const Explanation e = explanationOf(output);
    return [e](QPainter& p, const QRectF& r) {
        p.fillRect(r, Qt::white);
        const double band = std::min(48.0, r.height() * 0.3);
        art::heading(e.title, QString(), e.icon)(p, QRectF(r.left(), r.top(), r.width(), band));
        const QRectF body = r.adjusted(12, band + 10, -12, -8);
        QFont f(QStringLiteral("Verdana"));
        f.setPixelSize(12);
        p.setFont(f);
        p.setPen(QColor(0x1F, 0x3F, 0x6E));
        p.drawText(body, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                   e.sentence + QStringLiteral("\n\nPremere il pulsante \u00ab") + e.confirm +
                       QStringLiteral("\u00bb per procedere oppure \u00abAnnulla\u00bb per tornare indietro."));
    };
}

Layout windowLayout(const WindowSpec& spec)
{
    const bool pdf = spec.output == Output::Pdf;
    const Explanation e = explanationOf(spec.output);
    const int buttonsTop = pdf ? 254 : 243;
    const int buttonWidth = spec.buttons == Buttons::Wide ? 145 : 137;
    const int confirmLeft = spec.buttons == Buttons::Wide ? 200 : 208;
    int pictureTop = 26, pictureHeight = 207;
    if (!pdf) {
        pictureTop = spec.pictureTop ? spec.pictureTop : 30;
        pictureHeight = spec.output == Output::Print ? 187 : 185;
    }
    FontSpec verdana;
    verdana.family = QStringLiteral("Verdana");
    return {
        rect(QStringLiteral("shpSfondo"), 18, 18, 326, pdf ? 223 : 215, Qt::white).stroke(Qt::white),
        picture(QStringLiteral("imgLogo02"), 22, pictureTop, 316, pictureHeight, explanation(spec.output)),
        button(QStringLiteral("btnAnnulla"), 18, buttonsTop, buttonWidth, 28, QStringLiteral("Annulla"))
            .font(verdana)
            .hand(),
        button(QStringLiteral("btnStampa"), confirmLeft, buttonsTop, buttonWidth, 28, e.confirm).font(verdana).hand(),
        picture(QStringLiteral("imgLogo"), 0, 0, kLogoWidth, kLogoHeight).hidden(),
        picture(QStringLiteral("imgTemp"), 0, 0, kLogoWidth, kLogoHeight, art::euroLogo()).hidden(),
    };
}

FormSpec formSpec(const WindowSpec& spec)
{
    const bool pdf = spec.output == Output::Pdf;
    QString caption = QStringLiteral(" Stampa scheda");
    if (spec.output == Output::Preview) caption = QStringLiteral(" Anteprima di stampa");
    if (pdf) caption = QStringLiteral(" Esporta in PDF");
    return {.name = spec.name,
            .caption = caption,
            .clientWidth = pdf ? 363 : 364,
            .clientHeight = pdf ? 299 : 287,
            .border = Border::Single,
            .placement = Placement::OwnerCenter,
            .background = QColor(0x46, 0x82, 0xB4),
            .gradientTo = Qt::white};
}

// The displayed text of the editor's control of that name, whatever kind shows it.
QString displayedText(const Form& editor, const QString& name)
{
    Control* c = editor.findControl(name);
    if (auto* e = dynamic_cast<Edit*>(c)) return e->text();
    if (auto* e = dynamic_cast<ComboEdit*>(c)) return e->text();
    if (auto* e = dynamic_cast<Memo*>(c)) return e->text();
    if (auto* e = dynamic_cast<Label*>(c)) return e->text();
    throw std::logic_error(("the editor " + editor.objectName() + " shows no text " + name).toStdString());
}

} // namespace

QImage defaultLogo()
{
    // Every document window starts with it, so it is drawn once for all of them.
    static const QImage image = [] {
        QImage drawn(kLogoWidth, kLogoHeight, QImage::Format_RGB32);
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        art::euroLogo()(p, QRectF(0, 0, kLogoWidth, kLogoHeight));
        return drawn;
    }();
    return image;
}

void setEditorLookup(std::function<Form*(const QString&)> lookup) { editorLookup() = std::move(lookup); }

QString DocumentFill::value(const QString& control) const { return orv::platform::trimmed(displayedText(editor_, control)); }

bool DocumentFill::ticked(const QString& checkBox) const { return editor_.control<CheckBox>(checkBox).isChecked(); }

void DocumentFill::set(const QString& memo, const QString& text) const
{
    report_.FindObjectAs<TfrxCustomMemoView>(memo)->SetText(text);
}

DocumentWindow::DocumentWindow(QWidget* owner, const WindowSpec& spec,
                               std::function<std::unique_ptr<TfrxReport>()> layout, bool pdfCompressed)
    : Form(owner, formSpec(spec), windowLayout(spec)), spec_(spec), layout_(std::move(layout))
{
    if (spec.output == Output::Pdf)
        pdf_ = newDocumentExporter(pdfCompressed ? PdfStreams::Compressed : PdfStreams::Plain);
    // The default logo is a fixed bitmap, drawn once; the logo holds it until the window
    // is shown.
    imgTemp.setPicture(defaultLogo());
    imgLogo.setPicture(imgTemp.picture());
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    btnStampa.onClick = [this] { btnStampaClick(); };
    created();
}

TfrxReport& DocumentWindow::repDocumento() const
{
    if (!report_) report_ = layout_();
    return *report_;
}

void DocumentWindow::FormCreate() { orv::platform::applyProgramFormats(); }

void DocumentWindow::FormShow()
{
    if (!imgLogo.loadFromFile(orv::platform::programFile(QStringLiteral("Logo.bmp")))) imgLogo.setPicture(imgTemp.picture());
}

void DocumentWindow::btnAnnullaClick() { close(); }

QString DocumentWindow::pdfPath() const { return orv::platform::programFile(spec_.pdfFile); }

void DocumentWindow::btnStampaClick()
{
    const QString target = spec_.output == Output::Pdf ? pdfPath() : QString();
    TfrxReport& report = repDocumento();

    report.GetPageAs<TfrxReportPage>(1)->SetOrientation(poPortrait);

    TfrxBitmap logo;
    logo.SetImage(imgLogo.picture());
    report.FindObjectAs<TfrxPictureView>(QStringLiteral("imgLogo"))->SetPicture(&logo);

    Form* editor = editorLookup() ? editorLookup()(spec_.editor) : nullptr;
    if (!editor) editor = dynamic_cast<Form*>(parentWidget());
    if (!editor) throw std::logic_error(("no editor " + spec_.editor + " to print from").toStdString());
    DocumentFill f(report, *editor);
    fill(f);

    // A failed preparation has told its errors already; the last step runs all the same.
    // The preview prepares the pages itself and shows that preparation: one before it
    // would be thrown away.
    if (spec_.output != Output::Preview) report.PrepareReport(true);

    switch (spec_.output) {
    case Output::Print:
        report.Print();
        close();
        break;
    case Output::Preview:
        report.ShowReport(true);
        close();
        break;
    case Output::Pdf:
        pdf_->SetFileName(target);
        // A failed export has shown the engine's error: no question, the window stays.
        if (!report.Export(pdf_.get())) return;
        if (offerToOpenPdf(target)) close();
        break;
    }
}

} // namespace orv::printing
