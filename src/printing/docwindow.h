#pragma once
// What every document print window shares: the small modal dialog over its editor (print,
// preview or PDF), the company logo it loads each time it is shown, and the confirm
// sequence: the logo and the memos of the window's fixed layout are filled from the
// editor on screen, the page is prepared, and then printed, previewed or written as a PDF
// file in the program folder. A document window derives from DocumentWindow, builds its
// layout and fills its memos in fill():
//
//   class TfrmStampaLav : public orv::printing::DocumentWindow {
//   public:
//       explicit TfrmStampaLav(QWidget* owner = nullptr);
//   protected:
//       void fill(orv::printing::DocumentFill& f) override;
//   };
#include "platform/ui/form.h"
#include "report/model/engine.h"
#include "report/model/report.h"

#include <functional>
#include <memory>

namespace orv::printing {

enum class Output { Print, Preview, Pdf };

// The placement of the two buttons: 145 wide with the confirm button at x 200, or 137
// wide with it at x 208.
enum class Buttons { Wide, Narrow };

struct WindowSpec {
    QString name;        // runtime name of the window, "frmStampaLav"
    Output output = Output::Print;
    Buttons buttons = Buttons::Wide;
    QString editor;      // the global name of the editor read, "frmLavoro"
    QString pdfFile;     // PDF windows: the file written in the program folder
    int pictureTop = 0;  // print and preview windows: the explanatory picture's top when not 30
};

// Reads the editor and writes the memos of the layout.
class DocumentFill {
public:
    DocumentFill(report::TfrxReport& report, const platform::ui::Form& editor) : report_(report), editor_(editor) {}
    // The displayed text of the editor's edit or combo edit, without leading and trailing
    // blanks and control characters.
    QString value(const QString& control) const;
    // Whether the editor's check box is ticked.
    bool ticked(const QString& checkBox) const;
    // Replaces the whole text of the layout's memo (found by name, case ignored).
    void set(const QString& memo, const QString& text) const;
    report::TfrxReport& report() const { return report_; }

private:
    report::TfrxReport& report_;
    const platform::ui::Form& editor_;
};

class DocumentWindow : public platform::ui::Form {
public:
    ORV_CONTROL(Shape, shpSfondo);
    ORV_CONTROL(Image, imgLogo02);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Button, btnStampa);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Image, imgTemp);

    // Laid out on first use: most document windows of a session never print.
    report::TfrxReport& repDocumento() const;
    // PDF windows only; null otherwise.
    report::TfrxCustomExportFilter* pdfEsporta() const { return pdf_.get(); }
    const WindowSpec& spec() const { return spec_; }

    void FormCreate();
    void FormShow();
    void btnAnnullaClick();
    void btnStampaClick();

    // The full path of a PDF window's file.
    QString pdfPath() const;

protected:
    // `pdfCompressed` matters to PDF windows only.
    DocumentWindow(QWidget* owner, const WindowSpec& spec, std::function<std::unique_ptr<report::TfrxReport>()> layout,
                   bool pdfCompressed = true);
    // Writes every memo of the document's field mapping, in its order.
    virtual void fill(DocumentFill& f) = 0;

private:
    WindowSpec spec_;
    std::function<std::unique_ptr<report::TfrxReport>()> layout_;
    mutable std::unique_ptr<report::TfrxReport> report_;
    std::unique_ptr<report::TfrxCustomExportFilter> pdf_;
};

// How a document window finds the editor it reads: by the editor's global name. The
// program installs its start windows' lookup; without one, or when it knows no such
// window, the window reads its owner.
void setEditorLookup(std::function<platform::ui::Form*(const QString& globalName)> lookup);

// The built-in default logo (a euro sign on white, 297 x 184).
QImage defaultLogo();

} // namespace orv::printing
