// The document level of the PDF export filter: settings, the output with its object
// numbers, pages, document information, catalog, cross-reference table and trailer, and
// password protection.
#include "pdf/pdfexport.h"

#include "pdf/crypto.h"
#include "pdf/pdfsecurity.h"
#include "pdf/pdfsyntax.h"
#include "platform/core/cp1252.h"
#include "platform/core/exceptions.h"
#include "platform/core/services.h"
#include "platform/ui/services.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/pages.h"
#include "report/model/report.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

namespace orv::pdf {
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

using namespace orv::pdf;

ORV_RTTI_DEFINE(TfrxPDFExport, TfrxCustomExportFilter)
{
    using F = TfrxPDFExport;
    c.prop("Compressed", &F::Compressed, &F::SetCompressed).def(true);
    c.prop("EmbeddedFonts", &F::EmbeddedFonts, &F::SetEmbeddedFonts).def(false);
    c.prop("EmbedFontsIfProtected", &F::EmbedFontsIfProtected, &F::SetEmbedFontsIfProtected).def(true);
    c.prop("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport).def(false);
    c.prop("PrintOptimized", &F::PrintOptimized, &F::SetPrintOptimized).def(false);
    c.prop("Outline", &F::Outline, &F::SetOutline).def(false);
    c.prop("Background", &F::Background, &F::SetBackground).def(false);
    c.prop("HTMLTags", &F::HTMLTags, &F::SetHTMLTags).def(true);
    c.prop("Quality", &F::Quality, &F::SetQuality).def(95);
    c.prop("Title", &F::Title, &F::SetTitle);
    c.prop("Author", &F::Author, &F::SetAuthor);
    c.prop("Subject", &F::Subject, &F::SetSubject);
    c.prop("Keywords", &F::Keywords, &F::SetKeywords);
    c.prop("Creator", &F::Creator, &F::SetCreator);
    c.prop("Producer", &F::Producer, &F::SetProducer);
    c.prop("UserPassword", &F::UserPassword, &F::SetUserPassword);
    c.prop("OwnerPassword", &F::OwnerPassword, &F::SetOwnerPassword);
    c.prop("ProtectionFlags", &F::ProtectionFlags, &F::SetProtectionFlags)
        .def(TfrxPDFEncBits{ePrint, eModify, eCopy, eAnnot});
    c.prop("HideToolbar", &F::HideToolbar, &F::SetHideToolbar).def(false);
    c.prop("HideMenubar", &F::HideMenubar, &F::SetHideMenubar).def(false);
    c.prop("HideWindowUI", &F::HideWindowUI, &F::SetHideWindowUI).def(false);
    c.prop("FitWindow", &F::FitWindow, &F::SetFitWindow).def(false);
    c.prop("CenterWindow", &F::CenterWindow, &F::SetCenterWindow).def(false);
    c.prop("PrintScaling", &F::PrintScaling, &F::SetPrintScaling).def(false);
}

TfrxPDFExport::TfrxPDFExport(orv::platform::Component* AOwner) : TfrxCustomExportFilter(AOwner)
{
    registerExportTexts();
    FilterDesc = frxResourceText(8707);
    DefaultExt = frxResourceText(8708);
    FCreator = QCoreApplication::applicationName();
}

TfrxPDFExport::~TfrxPDFExport() { clearWorkingLists(); }

void TfrxPDFExport::SetProtectionFlags(TfrxPDFEncBits Value)
{
    FProtectionFlags = Value;
    FEncBits = -64 + 4 * int(Value.bits() & 0x0F);
}

QString TfrxPDFExport::GetDescription() const { return frxStringResources()->Get(QStringLiteral("PDFexport")); }

// ---------------------------------------------------------------- output

void TfrxPDFExport::write(const QByteArray& bytes)
{
    if (pdf->write(bytes) != bytes.size())
        throw orv::platform::EFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(FOutputName, pdf->errorString()));
}

qint64 TfrxPDFExport::offset() const { return pdf->pos(); }

int TfrxPDFExport::reserve()
{
    FXRef.push_back(offset());
    return int(FXRef.size());
}

void TfrxPDFExport::place(int object) { FXRef.at(std::size_t(object - 1)) = offset(); }

void TfrxPDFExport::beginObject(int object)
{
    place(object);
    line(QByteArray::number(object) + " 0 obj");
}

QByteArray TfrxPDFExport::encrypted(int object, const QByteArray& data) const
{
    return FProtection ? FSecurity->encrypt(object, data) : data;
}

QByteArray TfrxPDFExport::textString(int object, const QString& text) const
{
    if (!FProtection)
        return hexTextString(text);
    return '(' + escapeLiteral(FSecurity->encrypt(object, utf16beWithMarker(text))) + ')';
}

void TfrxPDFExport::clearWorkingLists()
{
    FXRef.clear();
    FPagesRef.clear();
    FPages.clear();
    FPageObjects.clear();
    FPageHeights.clear();
    FPageMarginTops.clear();
    FFonts.clear();
    OutStream.clear();
    FUsedXObjects.clear();
    FPageAnnots.clear();
    FAnnots.clear();
    FPreviewOutline = nullptr;
    FOutlineRoot = 0;
    FPageRoom = 0;
}

void TfrxPDFExport::closeOutput()
{
    if (auto* file = dynamic_cast<QSaveFile*>(FOwnedOutput.get())) {
        if (!file->commit())
            throw orv::platform::EFileError(
                QStringLiteral("Cannot create file \"%1\". %2").arg(FOutputName, file->errorString()));
    }
    FOwnedOutput.reset();
    pdf = nullptr;
}

// ---------------------------------------------------------------- export protocol

bool TfrxPDFExport::Start()
{
    if (SlaveExport) {
        const QString reportFile = Report ? Report->FileName : QString();
        const QString base = reportFile.isEmpty() ? QFileInfo(frxTempFileName()).completeBaseName()
                                                  : QFileInfo(reportFile).completeBaseName();
        SetFileName(QDir(frxTempFolder()).filePath(base + DefaultExt));
    }
    if (FileName().isEmpty() && !Stream)
        return false;
    QString name = FileName();
    if (!name.isEmpty() && !name.contains(u'/') && !DefaultPath().isEmpty())
        name = QDir(DefaultPath()).filePath(name);
    FProtection = !OwnerPassword().isEmpty() || !UserPassword().isEmpty();

    FOwnedOutput.reset();
    pdf = nullptr;
    if (Stream) {
        pdf = Stream;
        FOutputName = name;
    } else {
        // The old file is replaced once the new one is complete, so an export that fails
        // on the way leaves the previous file as it was.
        auto file = std::make_unique<QSaveFile>(name);
        file->setDirectWriteFallback(true);
        if (!file->open(QIODevice::WriteOnly))
            throw orv::platform::EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(name, file->errorString()));
        FOutputName = name;
        pdf = file.get();
        FOwnedOutput = std::move(file);
    }

    clearWorkingLists();
    FFileID = frxMD5HexString(QUuid::createUuid().toString().toLatin1());
    FSecurity.reset();
    if (FProtection) {
        if (OwnerPassword().isEmpty())
            SetOwnerPassword(UserPassword());
        FSecurity = std::make_unique<StandardSecurity>(orv::platform::cp1252::encode(OwnerPassword()),
                                                       orv::platform::cp1252::encode(UserPassword()), FEncBits,
                                                       QByteArray::fromHex(FFileID));
        SetEmbeddedFonts(EmbedFontsIfProtected());
    }
    if (Outline() && Report && Report->PreviewPages())
        FPreviewOutline = Report->PreviewPages()->Outline();
    FLastColor = claBlack;
    FLastColorResult = QByteArrayLiteral("0 0 0");
    line("%PDF-1.5");
    FPagesNumber = reserve();
    return true;
}

void TfrxPDFExport::StartPage(TfrxReportPage* Page, int Index)
{
    FUsedXObjects.clear();
    // The page has the paper's own size; its size in pixels is rounded to whole pixels.
    FWidth = Page->PaperWidth() * fr01cm * 0.75;
    FHeight = Page->PaperHeight() * fr01cm * 0.75;
    FPages.push_back(TfrxPDFPage{FHeight});
    FMarginLeft = Page->LeftMargin() * 0.05;
    FMarginTop = Page->TopMargin() * 0.05;
    FPageHeights.insert(Index, FHeight);
    FPageMarginTops.insert(Index, FMarginTop);
    // A page is much like the one before: its stream starts with room for as much.
    OutStream.clear();
    OutStream.reserve(FPageRoom);
    if (Page->Color() != claNull) {
        const double k = 72 / 25.4;
        const double l = Page->LeftMargin() * k, b = Page->BottomMargin() * k;
        const double r = FWidth - Page->RightMargin() * k, t = FHeight - Page->TopMargin() * k;
        const QByteArray c = pageColorOperands(Page->Color());
        op(fixed(0) + " w");
        op(c + " RG");
        op(c + " rg");
        op(fixed(l) + ' ' + fixed(b) + " m");
        op(fixed(r) + ' ' + fixed(b) + " l");
        op(fixed(r) + ' ' + fixed(t) + " l");
        op(fixed(l) + ' ' + fixed(t) + " l");
        op("B");
    }
}

void TfrxPDFExport::ExportObject(TfrxComponent* Obj)
{
    auto* view = Obj ? Obj->asView() : nullptr;
    if (view && (view->Printable() || ExportNotPrintable()))
        WriteView(view);
}

void TfrxPDFExport::FinishPage(TfrxReportPage* Page, int Index)
{
    const int content = reserve();
    line(QByteArray::number(content) + " 0 obj");
    QByteArray data = OutStream;
    FPageRoom = std::max(FPageRoom, OutStream.size() + OutStream.size() / 8);
    OutStream.clear();
    const qsizetype plainSize = data.size();
    if (Compressed())
        data = deflate(data);
    data = encrypted(content, data);
    if (Compressed())
        line("<< /Filter /FlateDecode /Length " + QByteArray::number(data.size()) + " /Length1 " +
             QByteArray::number(plainSize) + " >>");
    else
        line("<< /Length " + QByteArray::number(data.size()) + " >>");
    line("stream");
    write(data);
    if (Compressed())
        write(kEol);
    line("endstream");
    line("endobj");

    for (const auto& font : FFonts)
        if (!font->Saved) {
            font->Reference = reserve();
            font->Saved = true;
        }

    const int page = reserve();
    FPagesRef.append(page);
    FPageObjects.insert(Index, page);
    line(QByteArray::number(page) + " 0 obj");
    line("<<");
    line("/Type /Page");
    line("/Parent " + QByteArray::number(FPagesNumber) + " 0 R");
    line("/MediaBox [0 0 " + fixed(FWidth) + ' ' + fixed(FHeight) + " ]");
    if (!FPageAnnots.isEmpty()) {
        line("/Annots [");
        for (int annot : std::as_const(FPageAnnots))
            line(QByteArray::number(annot) + " 0 R");
        line("]");
        FPageAnnots.clear();
    }
    line("/Resources <<");
    QByteArray fonts = "/Font << ";
    for (const auto& font : FFonts)
        fonts += font->Name + ' ' + QByteArray::number(font->Reference) + " 0 R ";
    line(fonts + ">>");
    if (!FUsedXObjects.isEmpty()) {
        // An image drawn twice on the page is named once: a resource dictionary holds
        // each name once.
        QByteArray images = "/XObject << ";
        QList<int> listed;
        for (int index : std::as_const(FUsedXObjects)) {
            if (listed.contains(index))
                continue;
            listed.append(index);
            images += "/Im" + QByteArray::number(index) + ' ' +
                      QByteArray::number(FXObjects.at(std::size_t(index)).ObjId) + " 0 R ";
        }
        line(images + ">>");
    }
    line("/ProcSet [/PDF /Text /ImageC ]");
    line(">>");
    line("/Contents " + QByteArray::number(content) + " 0 R");
    line(">>");
    line("endobj");
    for (TfrxPDFXObject& image : FXObjects)
        image = TfrxPDFXObject{};
}

void TfrxPDFExport::Finish()
{
    // Readers reject a document without pages: nothing is written, and a file being
    // written is dropped, so the old file under the name stays as it was.
    if (FPagesRef.isEmpty()) {
        if (auto* file = dynamic_cast<QSaveFile*>(FOwnedOutput.get()))
            file->cancelWriting();
        FOwnedOutput.reset();
        pdf = nullptr;
        clearWorkingLists();
        throw orv::platform::Exception(QStringLiteral("Il report non ha pagine da esportare: nessun file PDF è stato scritto"));
    }
    for (const auto& font : FFonts)
        WriteFontObjects(font.get());

    beginObject(FPagesNumber);
    line("<<");
    line("/Type /Pages");
    QByteArray kids = "/Kids [";
    for (int page : std::as_const(FPagesRef))
        kids += QByteArray::number(page) + " 0 R ";
    line(kids + "]");
    line("/Count " + QByteArray::number(FPagesRef.size()));
    line(">>");
    line("endobj");

    const int info = reserve();
    line(QByteArray::number(info) + " 0 obj");
    line("<<");
    line("/Title " + textString(info, Title()));
    line("/Author " + textString(info, Author()));
    line("/Subject " + textString(info, Subject()));
    line("/Keywords " + textString(info, Keywords()));
    line("/Creator " + textString(info, Creator()));
    line("/Producer " + textString(info, Producer()));
    const QByteArray date = "D:" + orv::platform::clock().now().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (FProtection) {
        const QByteArray d = '(' + escapeLiteral(FSecurity->encrypt(info, date)) + ')';
        line("/CreationDate " + d);
        line("/ModDate " + d);
    } else {
        line("/CreationDate (" + date + ")");
        line("/ModDate (" + date + ")");
    }
    line(">>");
    line("endobj");

    if (Outline())
        WriteOutline();
    if (!FAnnots.empty())
        WriteLinks();

    const int catalog = reserve();
    line(QByteArray::number(catalog) + " 0 obj");
    line("<<");
    line("/Type /Catalog");
    line("/Pages " + QByteArray::number(FPagesNumber) + " 0 R");
    // An outline without entries has no root object to name and nothing to open.
    const bool outline = Outline() && FOutlineRoot != 0;
    line(outline ? "/PageMode /UseOutlines" : "/PageMode /UseNone");
    if (outline)
        line("/Outlines " + QByteArray::number(FOutlineRoot) + " 0 R");
    line("/ViewerPreferences <<");
    if (!Title().isEmpty())
        line("/DisplayDocTitle true");
    if (HideToolbar())
        line("/HideToolbar true");
    if (HideMenubar())
        line("/HideMenubar true");
    if (HideWindowUI())
        line("/HideWindowUI true");
    if (FitWindow())
        line("/FitWindow true");
    if (CenterWindow())
        line("/CenterWindow true");
    if (!PrintScaling())
        line("/PrintScaling /None");
    line(">>");
    line(">>");
    line("endobj");

    FStartXRef = offset();
    const QByteArray size = QByteArray::number(qint64(FXRef.size()) + 1);
    line("xref");
    line("0 " + size);
    line("0000000000 65535 f");
    for (qint64 at : FXRef) {
        if (at > 9999999999LL)
            throw orv::platform::EFileError(QStringLiteral("Il file \"%1\" è troppo grande").arg(FOutputName));
        line(QByteArray::number(at).rightJustified(10, '0') + " 00000 n");
    }
    line("trailer");
    line("<<");
    line("/Size " + size);
    line("/Root " + QByteArray::number(catalog) + " 0 R");
    line("/Info " + QByteArray::number(info) + " 0 R");
    line("/ID [<" + FFileID + "><" + FFileID + ">]");
    if (FProtection) {
        line("/Encrypt <<");
        line("/Filter /Standard");
        line("/V 2");
        line("/R 3");
        line("/Length 128");
        line("/P " + QByteArray::number(FEncBits));
        line("/O (" + escapeLiteral(FSecurity->ownerEntry()) + ")");
        line("/U (" + escapeLiteral(FSecurity->userEntry()) + ")");
        line(">>");
    }
    line(">>");
    line("startxref");
    line(QByteArray::number(FStartXRef));
    line("%%EOF");

    clearWorkingLists();
    const bool toFile = FOwnedOutput != nullptr;
    closeOutput();
    if (OpenAfterExport() && toFile)
        orv::platform::ui::shell().open(u'"' + FOutputName + u'"');
}

} // namespace orv::pdf
