// The export hands the writer one page object turned into every next page read from the
// same source page: the file must be, byte for byte, the one that a new page object for
// every page gives, whatever the pages hold and however many there are.
#include "reports.h"

#include "report/model/datasets.h"

#include <QBuffer>

#include <algorithm>

#include <vector>

using namespace orv::pdf;
using namespace orv::pdf::test;
using namespace orv::report;

namespace {

// The same writer, given a page read anew for every page.
class NewPagesExport : public TfrxPDFExport {
public:
    bool LeavesObjectsAlone() const override { return false; }
};

class TextRows : public TfrxUserDataSet {
public:
    explicit TextRows(std::vector<QString> texts) : TfrxUserDataSet(nullptr), m_texts(std::move(texts))
    {
        SetRangeEnd(reCount);
        SetRangeEndCount(int(m_texts.size()));
    }
    QVariant GetValue(const QString&) override
    {
        return RecNo() >= 0 && RecNo() < int(m_texts.size()) ? QVariant(m_texts[size_t(RecNo())]) : QVariant();
    }
    TfrxFieldType GetFieldType(const QString&) override { return fftString; }

private:
    std::vector<QString> m_texts;
};

// Rows of a data band under a page header that counts the pages; a row's memo grows
// with its lines, so pages hold different counts of rows and objects, and a summary
// closes the last page. The row numbered `highlighted` has its number highlighted (the
// export recolours it) and the header may count the pages in all (the export puts the
// count into its text): pages the export changes come between pages it leaves alone.
struct RowsReport {
    std::unique_ptr<TextRows> rows;
    std::unique_ptr<TfrxReport> report = makeReport();

    RowsReport(std::vector<QString> texts, bool totalPages, int highlighted)
    {
        rows = std::make_unique<TextRows>(std::move(texts));
        rows->SetName(QStringLiteral("Righe"));
        rows->SetUserName(QStringLiteral("Righe"));
        report->DataSets()->Add(rows.get());
        TfrxReportPage* page = firstPage(*report);
        auto* header = new TfrxPageHeader(page);
        header->SetName(QStringLiteral("Testata"));
        header->SetBounds(0, 0, 700, 20);
        TfrxMemoView* count = addMemo(header, QStringLiteral("txtPagina"), 0, 0, 300, 18,
                                      totalPages ? QStringLiteral("Pagina [Page#] di [TotalPages#]") : QStringLiteral("Pagina [Page#]"));
        count->SetAllowExpressions(true);
        auto* band = new TfrxMasterData(page);
        band->SetName(QStringLiteral("Riga"));
        band->SetBounds(0, 40, 700, 20);
        band->SetDataSet(rows.get());
        band->SetStretched(true);
        TfrxMemoView* text = addMemo(band, QStringLiteral("txtRiga"), 4, 0, 500, 18, QStringLiteral("[Righe.\"Testo\"]"));
        text->SetAllowExpressions(true);
        text->SetStretchMode(smActualHeight);
        text->Font()->SetName(QStringLiteral("Arial"));
        TfrxMemoView* number = addMemo(band, QStringLiteral("txtNumero"), 520, 0, 100, 18, QStringLiteral("[Line#]"));
        number->SetAllowExpressions(true);
        if (highlighted > 0)
            number->Highlight()->SetCondition(QStringLiteral("<Line#> = %1").arg(highlighted));
        number->Highlight()->Font()->SetColor(claRed);
        auto* rule = new TfrxLineView(band);
        rule->SetName(QStringLiteral("linRiga"));
        rule->SetBounds(0, 19, 700, 0);
        rule->Frame()->SetTyp({ftTop});
        auto* summary = new TfrxReportSummary(page);
        summary->SetName(QStringLiteral("Totali"));
        summary->SetBounds(0, 80, 700, 24);
        addMemo(summary, QStringLiteral("txtTotali"), 0, 0, 300, 20, QStringLiteral("Fine elenco"));
        EXPECT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    }

    QByteArray exported(TfrxPDFExport& pdf)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        pdf.SetShowDialog(false);
        pdf.SetCompressed(false);
        pdf.Stream = &buffer;
        EXPECT_TRUE(report->Export(&pdf)) << report->Errors()->Text().toStdString();
        return buffer.data();
    }
};

// Row texts of several kinds: plain, with XML's own characters, long, empty, the
// layout's own text and of several lines (which makes the row higher). Mixed: every kind in turn, so that pages
// hold different counts of rows; one line: every row as high as the others; now and
// then: one line, and three lines on every 45th row.
enum class Rows { Mixed, OneLine, NowAndThen };
std::vector<QString> rowTexts(int count, Rows kind)
{
    std::vector<QString> texts;
    for (int k = 0; k < count; ++k) {
        QString t = QStringLiteral("Riga %1 di %2").arg(k + 1).arg(count);
        const int variant = k % 7;
        if (variant == 1)
            t += QStringLiteral(" <&\"> città €");
        else if (variant == 4)
            t = QString();
        else if (variant == 5)
            t += QString(60, u'x');
        if ((kind == Rows::Mixed && variant == 2) || (kind == Rows::NowAndThen && k % 45 == 44))
            t += QStringLiteral("\nseconda riga\nterza riga");
        // The same text as the memo of the layout: the page stores no text for it.
        if (k % 45 == 20)
            t = QStringLiteral("[Righe.\"Testo\"]");
        texts.push_back(t);
    }
    return texts;
}

// The file's identifier is new for every file.
QByteArray withoutId(QByteArray file)
{
    const qsizetype at = file.lastIndexOf("/ID [<");
    if (at >= 0)
        file.remove(at, file.indexOf('\n', at) - at);
    return file;
}

// Where two files part (apart from their identifiers), with some text around it, or
// empty when they do not.
QByteArray firstDifference(QByteArray a, QByteArray b)
{
    a = withoutId(a);
    b = withoutId(b);
    qsizetype at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    if (at == a.size() && at == b.size())
        return {};
    const qsizetype from = std::max<qsizetype>(0, at - 120);
    return "at " + QByteArray::number(at) + ":\n" + a.mid(from, 240) + "\n---- instead of ----\n" + b.mid(from, 240);
}

} // namespace

class KeptPagesTest : public ReportTest {};

TEST_F(KeptPagesTest, TheFileIsTheOneThatNewPagesGive)
{
    // Counts around one page of rows and past several, so that pages of different row
    // counts follow each other, a short page comes after a longer one, and the last page
    // holds the summary.
    struct Case {
        bool totalPages;
        int highlighted;
    };
    for (const int count : {0, 1, 2, 3, 29, 30, 31, 47, 48, 49, 95, 180, 400})
        for (const Rows kind : {Rows::Mixed, Rows::OneLine, Rows::NowAndThen})
            for (const Case c : {Case{false, 0}, Case{true, 0}, Case{false, 40}, Case{false, 100}}) {
                SCOPED_TRACE(testing::Message() << count << " rows of kind " << int(kind) << (c.totalPages ? ", total pages" : "")
                                                << ", highlighted " << c.highlighted);
                RowsReport r(rowTexts(count, kind), c.totalPages, c.highlighted);
                TfrxPDFExport kept;
                NewPagesExport fresh;
                const QByteArray a = r.exported(kept), b = r.exported(fresh);
                ASSERT_FALSE(a.isEmpty());
                EXPECT_EQ(firstDifference(a, b), QByteArray());
            }
}

TEST_F(KeptPagesTest, TheProgramsLayoutsGiveTheSameFileAsWithNewPages)
{
    // The same prepared report exported with kept pages and with new ones.
    const auto exportsAlike = [](TfrxReport& report) {
        ASSERT_TRUE(report.PrepareReport(true));
        TfrxPDFExport kept;
        NewPagesExport fresh;
        QBuffer a, b;
        for (auto [filter, buffer] : {std::pair<TfrxPDFExport*, QBuffer*>{&kept, &a}, {&fresh, &b}}) {
            buffer->open(QIODevice::WriteOnly);
            filter->SetShowDialog(false);
            filter->Stream = buffer;
            ASSERT_TRUE(report.Export(filter));
        }
        EXPECT_EQ(firstDifference(a.data(), b.data()), QByteArray());
    };
    for (const int lines : {1, 40, 41, 150, 333}) {
        SCOPED_TRACE(lines);
        exportsAlike(*makeListReport(lines));
    }
    exportsAlike(*makeCardReport());
}
