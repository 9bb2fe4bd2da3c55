// The PDF export filter's navigation: the report's outline as the document outline, and
// views with an address as link annotations.
#include "pdf/pdfexport.h"
#include "pdf/pdfsecurity.h"
#include "pdf/pdfsyntax.h"
#include "report/base/utils.h"
#include "report/base/xml.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "report/pages/previewpages.h"


#include <cctype>
#include <cmath>

namespace orv::pdf {
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

using namespace orv::pdf;

namespace {

// An address as the bytes of a URI: every byte that a URI cannot hold as it is (blanks,
// quotes, braces, characters outside ASCII as UTF-8) percent-encoded; the characters a
// URI allows, an escape already made among them, are kept.
QByteArray uriBytes(const QString& address)
{
    static const QByteArray allowed = "-._~:/?#[]@!$&'()*+,;=";
    const auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    const QByteArray utf8 = address.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b < 0x80 && std::isalnum(b)) || (b != 0 && allowed.contains(c)) ||
                           (c == '%' && i + 2 < utf8.size() && isHex(utf8[i + 1]) && isHex(utf8[i + 2]));
        if (plain)
            out += c;
        else
            out += '%' + QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
    }
    return out;
}

// A literal string when every byte is printable and the parentheses pair up, else a
// hexadecimal string.
QByteArray uriString(const QByteArray& bytes)
{
    int depth = 0;
    bool plain = true;
    for (char c : bytes) {
        if (c < 32 || c > 126)
            plain = false;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth < 0)
            plain = false;
    }
    if (plain && depth == 0)
        return '(' + QByteArray(bytes).replace("\\", "\\\\") + ')';
    return '<' + bytes.toHex().toUpper() + '>';
}

} // namespace

int TfrxPDFExport::pageObject(int PreparedIndex) const { return FPageObjects.value(PreparedIndex, 0); }

int TfrxPDFExport::destinationY(const TfrxPDFAnnot& Annot) const
{
    return frxRound(FPageHeights.value(Annot.DestPage) - FPageMarginTops.value(Annot.DestPage) - Annot.DestTop * 0.75);
}

// ---------------------------------------------------------------- links

void TfrxPDFExport::addLink(TfrxView* View)
{
    const QString url = View->URL();
    TfrxPDFAnnot annot;
    if (url.startsWith(u'#')) {
        auto* pages = Report ? dynamic_cast<TfrxPreviewPages*>(Report->PreviewPages()) : nullptr;
        TfrxXMLItem* anchor = pages ? pages->FindAnchor(url.mid(1)) : nullptr;
        if (!anchor)
            return;
        double top = 0;
        try {
            top = frxTextToFloat(anchor->Prop(QStringLiteral("top")));
        } catch (const std::exception&) {
        }
        annot.DestPage = anchor->Prop(QStringLiteral("page")).toInt();
        annot.DestTop = top;
    } else if (url.startsWith(u'@')) {
        annot.DestPage = url.mid(1).trimmed().toInt() - 1;
    } else {
        annot.Address = url;
        annot.Hyperlink = uriBytes(url);
    }
    annot.Number = reserve();
    FPageAnnots.append(annot.Number);
    const double left = View->AbsLeft(), top = View->AbsTop();
    annot.Rect = fixed(ToPdfX(left)) + ' ' + fixed(ToPdfY(top + View->Height())) + ' ' +
                 fixed(ToPdfX(left + View->Width())) + ' ' + fixed(ToPdfY(top));
    FAnnots.push_back(std::move(annot));
}

void TfrxPDFExport::WriteLinks()
{
    for (const TfrxPDFAnnot& annot : FAnnots) {
        beginObject(annot.Number);
        line("<<");
        line("/Type /Annot");
        line("/Subtype /Link");
        line("/Rect [" + annot.Rect + "]");
        if (!annot.Address.isEmpty()) {
            line("/BS << /W 0 >>");
            line("/A <<");
            if (FProtection)
                line("/URI (" + escapeLiteral(FSecurity->encrypt(annot.Number, annot.Hyperlink)) + ")");
            else
                line("/URI " + uriString(annot.Hyperlink));
            line("/Type /Action");
            line("/S /URI");
            line(">>");
        } else {
            line("/Border [16 16 0]");
            // A target page that was not exported has no destination to name. The height is
            // the target page's own: a link may stand on a page of another size.
            if (const int page = pageObject(annot.DestPage))
                line("/Dest [" + QByteArray::number(page) + " 0 R /XYZ null " + QByteArray::number(destinationY(annot)) +
                     " null]");
        }
        line(">>");
        line("endobj");
    }
}

// ---------------------------------------------------------------- outline

void TfrxPDFExport::WriteOutline()
{
    FOutlineRoot = 0;
    if (!FPreviewOutline)
        return;
    QStringList pages;
    const int total = Report && Report->PreviewPages() ? Report->PreviewPages()->Count() : 0;
    frxExpandPageNumbers(PageNumbers, pages, total);
    FPreviewOutline->LevelRoot();
    TfrxPDFOutlineNode root;
    const int first = int(FXRef.size()) + 1;
    int counter = first;
    buildOutline(&root, counter, pages);
    if (root.CountTree == 0)
        return;
    FOutlineRoot = reserve();
    line(QByteArray::number(FOutlineRoot) + " 0 obj");
    line("<<");
    line("/Type /Outlines");
    line("/Count " + QByteArray::number(root.Count));
    line("/First " + QByteArray::number(root.First->Number) + " 0 R");
    line("/Last " + QByteArray::number(root.Last->Number) + " 0 R");
    line(">>");
    line("endobj");
    root.Number = FOutlineRoot;
    for (const auto& child : root.Children)
        writeOutlineNode(child.get());
}

void TfrxPDFExport::buildOutline(TfrxPDFOutlineNode* Parent, int& Counter, const QStringList& Pages)
{
    TfrxPDFOutlineNode* previous = nullptr;
    const int count = FPreviewOutline->Count();
    for (int i = 0; i < count; ++i) {
        QString text;
        int page = 0, top = 0;
        FPreviewOutline->GetItem(i, text, page, top);
        if (!Pages.isEmpty() && !Pages.contains(QString::number(page + 1)))
            continue;
        auto node = std::make_unique<TfrxPDFOutlineNode>();
        node->Title = text;
        node->Dest = page;
        node->Top = top;
        node->Prev = previous;
        node->Parent = Parent;
        node->Number = ++Counter;
        TfrxPDFOutlineNode* n = node.get();
        if (previous)
            previous->Next = n;
        else
            Parent->First = n;
        Parent->Children.push_back(std::move(node));
        FPreviewOutline->LevelDown(i);
        buildOutline(n, Counter, Pages);
        FPreviewOutline->LevelUp();
        ++Parent->Count;
        Parent->CountTree += n->CountTree + 1;
        previous = n;
    }
    Parent->Last = previous;
}

void TfrxPDFExport::writeOutlineNode(TfrxPDFOutlineNode* Node)
{
    const int number = reserve();
    line(QByteArray::number(number) + " 0 obj");
    line("<<");
    line("/Title " + textString(number, Node->Title));
    line("/Parent " + QByteArray::number(Node->Parent->Number) + " 0 R");
    if (Node->Prev)
        line("/Prev " + QByteArray::number(Node->Prev->Number) + " 0 R");
    if (Node->Next)
        line("/Next " + QByteArray::number(Node->Next->Number) + " 0 R");
    if (Node->First) {
        line("/First " + QByteArray::number(Node->First->Number) + " 0 R");
        line("/Last " + QByteArray::number(Node->Last->Number) + " 0 R");
        line("/Count " + QByteArray::number(Node->Count));
    }
    if (const int page = pageObject(Node->Dest))
        line("/Dest [" + QByteArray::number(page) + " 0 R /XYZ 0 " +
             QByteArray::number(frxRound(FPageHeights.value(Node->Dest) - Node->Top * 0.75)) + " 0]");
    line(">>");
    line("endobj");
    for (const auto& child : Node->Children)
        writeOutlineNode(child.get());
}

} // namespace orv::pdf
