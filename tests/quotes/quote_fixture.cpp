#include "quote_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "kit/reports.h"
#include "quotes/menupreventivi.h"

#include <QFile>
#include <QListView>

using namespace orv::quotes;
using namespace orv::shell;

namespace orv::test {

namespace {

// The list print as the report engine would take it: the title and the memo's lines.
class PrintRecorder : public archive::SummaryLayout {
public:
    explicit PrintRecorder(std::vector<ListPrint>& out) : out_(out) {}
    bool setMemoText(const QString& memo, const QString& text) override
    {
        if (memo.compare(u"txtTitolo", Qt::CaseInsensitive) == 0) current_.title = text;
        return true;
    }
    bool setMemoLines(const QString&, const QStringList& lines) override
    {
        current_.lines = lines;
        return true;
    }
    bool setHeight(const QString&, double) override { return true; }
    void prepareAndPrint() override { out_.push_back(current_); }

private:
    std::vector<ListPrint>& out_;
    ListPrint current_;
};

} // namespace

TPreventivo quote(std::initializer_list<std::pair<const char*, const char*>> values)
{
    TPreventivo p;
    for (const auto& [field, value] : values) p.set(QString::fromLatin1(field), QString::fromUtf8(value));
    return p;
}

void doubleClickLine(platform::ui::ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    const QPoint at = w->item(row).isValid() ? w->visualItemRect(w->item(row)).center() : QPoint(5, 5);
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void QuoteWindowTest::SetUp()
{
    GuiTest::SetUp();
    kit::setReportLayouts({[this](QWidget*) { return std::make_unique<PrintRecorder>(printed); }, {}});
    documents::setDocumentWindows(u"frmPreventivi"_qs,
                             [this](QWidget*, documents::DocumentOutput output) { documents.push_back(output); });
    shell::createStartWindows();
    frmAvvio->hide();
}

void QuoteWindowTest::TearDown()
{
    shell::destroyStartWindows();
    documents::setDocumentWindows(u"frmPreventivi"_qs, {});
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

void QuoteWindowTest::writeYear(const QList<TPreventivo>& quotes, const QString& year) const
{
    QByteArray bytes;
    for (const TPreventivo& p : quotes) bytes += p.encode();
    writeFile(year + u".pre"_qs, bytes);
}

QList<TPreventivo> QuoteWindowTest::readYear(const QString& year) const
{
    const QByteArray bytes = readFile(year + u".pre"_qs);
    QList<TPreventivo> quotes;
    for (qsizetype at = 0; at + TPreventivo::kSize <= bytes.size(); at += TPreventivo::kSize)
        quotes.append(TPreventivo::decode(bytes.mid(at, TPreventivo::kSize)));
    return quotes;
}

QByteArray QuoteWindowTest::fixture(const char* name)
{
    QFile f(QStringLiteral(ORV_FIXTURES "/quotes/") + QString::fromLatin1(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

TfrmPreventivi& QuoteWindowTest::openEditor(const QString& year)
{
    frmAvvio->show();
    click(frmAvvio->imgPreventivi);
    showAndActivate(*frmMenuPreventivi);
    frmMenuPreventivi->txtAnnoPreventivi.setText(year);
    click(frmMenuPreventivi->btnApriPreventivi);
    showAndActivate(*frmPreventivi);
    return *frmPreventivi;
}

QStringList QuoteWindowTest::takeTexts()
{
    QStringList t = messages.texts();
    messages.clear();
    return t;
}

} // namespace orv::test
