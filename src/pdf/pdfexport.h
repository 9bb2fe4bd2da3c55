#pragma once
// The report engine's PDF export filter: it turns the prepared pages that the export
// driver hands it into one PDF 1.5 file. Text stays text in TrueType fonts, frames,
// lines and shapes become vector paths, everything else JPEG images. Each page's drawing
// operators are collected in memory and written when the page ends; fonts, the page
// tree, the document information, the outline, the links and the catalog follow at the
// end, then the cross-reference table and the trailer.
#include "pdf/pdffont.h"
#include "report/model/engine.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>

#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

namespace orv::report {
class TfrxView;
}
namespace orv::report {
class TfrxCustomMemoView;
}
namespace orv::report {
class TfrxCustomLineView;
}
namespace orv::report {
class TfrxShapeView;
}

namespace orv::pdf {
class StandardSecurity;
struct TextRun;
} // namespace orv::pdf

namespace orv::pdf {

enum TfrxPDFEncBit : int { ePrint, eModify, eCopy, eAnnot };
ORV_RTTI_ENUM(TfrxPDFEncBit, "ePrint, eModify, eCopy, eAnnot")
ORV_RTTI_SET(TfrxPDFEncBits, TfrxPDFEncBit)

// One written page.
struct TfrxPDFPage {
    double Height = 0; // points
};

// An image written to the file: its object number and the MD5 digest of its JPEG data.
struct TfrxPDFXObject {
    int ObjId = 0;
    std::array<std::uint8_t, 16> Hash{};
};

// A link annotation.
struct TfrxPDFAnnot {
    int Number = 0;
    QByteArray Rect;      // lower-left and upper-right corner
    QByteArray Hyperlink; // the address as a PDF string; empty for a link inside the file
    QString Address;      // the address itself, for encryption
    int DestPage = 0;     // prepared page index of an internal link
    double DestTop = 0;   // position on that page in report pixels, below its top margin
};

// A node of the document outline.
struct TfrxPDFOutlineNode {
    int Number = 0;
    int Dest = -1; // prepared page index
    int Top = 0;   // report pixels
    QString Title;
    int Count = 0;     // direct children
    int CountTree = 0; // all descendants
    TfrxPDFOutlineNode* First = nullptr;
    TfrxPDFOutlineNode* Last = nullptr;
    TfrxPDFOutlineNode* Next = nullptr;
    TfrxPDFOutlineNode* Prev = nullptr;
    TfrxPDFOutlineNode* Parent = nullptr;
    std::vector<std::unique_ptr<TfrxPDFOutlineNode>> Children;
};

// Published properties with their declared defaults.
#define ORV_PDF_PROPERTY(Type, Name, Default)                                                                         \
public:                                                                                                               \
    Type Name() const { return F##Name; }                                                                             \
    void Set##Name(const Type& Value) { F##Name = Value; }                                                            \
                                                                                                                      \
private:                                                                                                              \
    Type F##Name = Default;

class TfrxPDFExport : public report::TfrxCustomExportFilter {
    ORV_RTTI_CLASS(TfrxPDFExport)
    ORV_PDF_PROPERTY(bool, Compressed, true)
    ORV_PDF_PROPERTY(bool, EmbeddedFonts, false)
    ORV_PDF_PROPERTY(bool, EmbedFontsIfProtected, true)
    ORV_PDF_PROPERTY(bool, OpenAfterExport, false)
    ORV_PDF_PROPERTY(bool, PrintOptimized, false)
    ORV_PDF_PROPERTY(bool, Outline, false)
    ORV_PDF_PROPERTY(bool, Background, false)
    ORV_PDF_PROPERTY(bool, HTMLTags, true)
    ORV_PDF_PROPERTY(int, Quality, 95)
    ORV_PDF_PROPERTY(QString, Title, QString())
    ORV_PDF_PROPERTY(QString, Author, QStringLiteral("Orvanta"))
    ORV_PDF_PROPERTY(QString, Subject, QStringLiteral("Orvanta PDF export"))
    ORV_PDF_PROPERTY(QString, Keywords, QString())
    ORV_PDF_PROPERTY(QString, Creator, QString())
    ORV_PDF_PROPERTY(QString, Producer, QString())
    ORV_PDF_PROPERTY(QString, UserPassword, QString())
    ORV_PDF_PROPERTY(QString, OwnerPassword, QString())
    ORV_PDF_PROPERTY(bool, HideToolbar, false)
    ORV_PDF_PROPERTY(bool, HideMenubar, false)
    ORV_PDF_PROPERTY(bool, HideWindowUI, false)
    ORV_PDF_PROPERTY(bool, FitWindow, false)
    ORV_PDF_PROPERTY(bool, CenterWindow, false)
    ORV_PDF_PROPERTY(bool, PrintScaling, false)

public:
    explicit TfrxPDFExport(orv::platform::Component* AOwner = nullptr);
    ~TfrxPDFExport() override;

    TfrxPDFEncBits ProtectionFlags() const { return FProtectionFlags; }
    // Also recomputes the permission value.
    void SetProtectionFlags(TfrxPDFEncBits Value);
    // -64 plus four times the flags' bits: -4 for all four, -64 for none.
    int EncBits() const { return FEncBits; }

    QString GetDescription() const override;
    // The options dialog; 1 to export, 2 when cancelled.
    int ShowModal() override;
    bool Start() override;
    void StartPage(report::TfrxReportPage* Page, int Index) override;
    void ExportObject(report::TfrxComponent* Obj) override;
    void FinishPage(report::TfrxReportPage* Page, int Index) override;
    // What the writer changes on an object while writing it, it puts back.
    bool LeavesObjectsAlone() const override { return true; }
    void Finish() override;

    // Working state, readable by tests.
    const std::vector<std::unique_ptr<TfrxPDFFont>>& Fonts() const { return FFonts; }
    const QByteArray& FileID() const { return FFileID; }

private:
    // ------------------------------------------------ output and object numbers
    void write(const QByteArray& bytes);
    void line(const QByteArray& text) { write(text + "\r\n"); }
    qint64 offset() const;
    // A new object number whose offset is the current one.
    int reserve();
    // The object's offset becomes the current one (an object reserved early).
    void place(int object);
    // "N 0 obj", placing the object first.
    void beginObject(int object);
    // "<< ... >>", "stream", the data, "endstream", "endobj"; the dictionary line is
    // given without the Length entries, which follow the data's state.
    QByteArray encrypted(int object, const QByteArray& data) const;
    // A text string of the document: hexadecimal, or encrypted as a literal string.
    QByteArray textString(int object, const QString& text) const;
    void clearWorkingLists();
    void closeOutput();

    // ------------------------------------------------ page content (pdfcontent.cpp)
    void WriteView(report::TfrxView* View);
    void writeText(report::TfrxCustomMemoView* Memo);
    void writeTextRuns(report::TfrxCustomMemoView* Memo, const std::vector<orv::pdf::TextRun>& runs);
    void writeLine(report::TfrxCustomLineView* Line);
    void writeArrow(report::TfrxCustomLineView* Line, double px, double py, double qx, double qy);
    void writeShape(report::TfrxShapeView* Shape);
    void writeImage(report::TfrxView* View);
    // The frame's lines along the box X1, Y1 (top left) to X2, Y2 in PDF coordinates.
    void writeFrame(report::TfrxView* View, double X1, double Y1, double X2, double Y2);
    TfrxPDFFont* fontFor(const orv::pdf::PdfSourceFont& font);
    void WriteFontObjects(TfrxPDFFont* Font);
    double ToPdfX(double x) const;
    double ToPdfY(double y) const;
    QByteArray point(double x, double y) const;
    void op(const QByteArray& text);
    void op(const char* text);
    // Operands followed by the operator name: "a b c name".
    void op(const QByteArray& operands, const char* name);
    // Numbers (as `fixed` writes them) followed by the operator name.
    void op(std::initializer_list<double> numbers, const char* name);
    const QByteArray& ColorOperands(report::TAlphaColor Color);

    // ------------------------------------------------ outline and links (pdfnavigation.cpp)
    void addLink(report::TfrxView* View);
    void WriteOutline();
    void buildOutline(TfrxPDFOutlineNode* Parent, int& Counter, const QStringList& Pages);
    void writeOutlineNode(TfrxPDFOutlineNode* Node);
    void WriteLinks();
    // The page object written for a prepared page; 0 when the page was not written.
    int pageObject(int PreparedIndex) const;
    // The height in points of a link's target on its own page, which was written.
    int destinationY(const TfrxPDFAnnot& Annot) const;

    TfrxPDFEncBits FProtectionFlags{ePrint, eModify, eCopy, eAnnot};
    int FEncBits = -4;

    // ------------------------------------------------ working state
    QIODevice* pdf = nullptr;
    std::unique_ptr<QIODevice> FOwnedOutput; // the file made at Start
    QString FOutputName;
    std::vector<qint64> FXRef;
    QList<int> FPagesRef;
    std::vector<TfrxPDFPage> FPages;
    QHash<int, int> FPageObjects;   // prepared page index -> page object
    QHash<int, double> FPageHeights; // prepared page index -> height in points
    QHash<int, double> FPageMarginTops; // prepared page index -> FMarginTop of the page
    std::vector<std::unique_ptr<TfrxPDFFont>> FFonts;
    QByteArray OutStream;
    qsizetype FPageRoom = 0; // bytes reserved for the next page's stream
    std::vector<TfrxPDFXObject> FXObjects;
    QList<int> FUsedXObjects;
    QList<int> FPageAnnots;
    std::vector<TfrxPDFAnnot> FAnnots;
    report::TfrxCustomOutline* FPreviewOutline = nullptr;
    double FWidth = 0, FHeight = 0;
    double FMarginLeft = 0, FMarginTop = 0;
    int FPagesNumber = 1;
    qint64 FStartXRef = 0;
    QByteArray FFileID;
    bool FProtection = false;
    std::unique_ptr<orv::pdf::StandardSecurity> FSecurity;
    report::TAlphaColor FLastColor = report::claBlack;
    QByteArray FLastColorResult = QByteArrayLiteral("0 0 0");
    int FOutlineRoot = 0;
};

} // namespace orv::pdf

#undef ORV_PDF_PROPERTY

namespace orv::pdf {
// Adds the export texts to the engine's string resources, once per process.
void registerExportTexts();
} // namespace orv::pdf
