#pragma once
// The fixed one-page layouts of the printed documents (contract, job sheet, quote,
// delivery note), built in code from the measures the documents are drawn with: every
// bound in millimetres from the inner corner of the margins, every font size in points.
//
//   auto report = orv::printing::newDocumentReport(u"Scheda di Lavoro");
//   orv::printing::LayoutBuilder b(*report);
//   b.logo(1, 1, 79, 39);
//   b.shape("shpNumFatt", 83, 1, 106, 14, orv::printing::kLightSteelBlue);
//   b.memo("txtNumScheda", 86, 3.5, 101, 4, 9, orv::printing::Bold);
//   b.hline("Line1", 1, 55, 188);
#include "report/model/report.h"
#include "report/model/views.h"

#include <QString>

#include <memory>

namespace orv::report {
class TfrxReportPage;
}

namespace orv::printing {

// Report units (pixels at 96 per inch) per millimetre.
inline constexpr double kPixelsPerMm = 3.779528;
inline constexpr double mm(double millimetres) { return millimetres * kPixelsPerMm; }

// The fills the document shapes use.
inline constexpr report::TAlphaColor kLightSteelBlue = 0xFFB0C4DE;
inline constexpr report::TAlphaColor kLavender = 0xFFE6E6FA;
inline constexpr report::TAlphaColor kGold = 0xFFFFD700;

// Font style, alignment and switches of a memo, combined with |.
enum MemoFlag : unsigned {
    Plain = 0,
    Bold = 1u << 0,
    Italic = 1u << 1,
    Centre = 1u << 2,          // centred horizontally
    Middle = 1u << 3,          // centred vertically
    Expressions = 1u << 4,     // bracketed text is evaluated when the page is prepared
    Tags = 1u << 5,            // the text's tags (<b>, <i>...) are formatting
    Wrap = 1u << 6,            // word wrap
};
using MemoFlags = unsigned;

// A new document report with the settings every document layout shares: its name, the
// author, the empty script, no progress window, the preview's buttons and zoom, the
// default printer, the data page "Data" and the report page "Page1" (A4 portrait, 10 mm
// margins). `lockPreviewEditing` turns the preview's editing off (every layout that is
// ever previewed); false leaves the engine's default.
std::unique_ptr<report::TfrxReport> newDocumentReport(const QString& name, bool lockPreviewEditing = true);

// Adds the objects of a layout to a parent (the page "Page1" unless another is given), in
// the order they are added, which is also their drawing order.
class LayoutBuilder {
public:
    explicit LayoutBuilder(report::TfrxReport& report);
    explicit LayoutBuilder(report::TfrxComponent* parent) : parent_(parent) {}

    // An Arial memo in black, no frame, no fill, left and top aligned unless the flags say
    // otherwise; expressions, tags and wrapping off unless flagged.
    report::TfrxMemoView& memo(const QString& name, double left, double top, double width, double height, double points,
                       MemoFlags flags = Plain, const QString& text = {});
    // A rectangle with the default black one-pixel outline and the fill, if any.
    report::TfrxShapeView& shape(const QString& name, double left, double top, double width, double height,
                         report::TAlphaColor fill = report::claNull);
    // Lines of the default frame colour and width.
    report::TfrxLineView& hline(const QString& name, double left, double top, double length);
    report::TfrxLineView& vline(const QString& name, double left, double top, double length);
    // The company logo "imgLogo": an empty picture, stretched keeping its proportions,
    // opaque; the dialog sets the picture before each preparation.
    report::TfrxPictureView& logo(double left, double top, double width, double height);

    report::TfrxComponent* parent() const { return parent_; }

private:
    report::TfrxComponent* parent_;
};

} // namespace orv::printing
