#include "ddt_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "kit/reports.h"
#include "ddt/menuddt.h"

#include <QFile>
#include <QListView>

using namespace orv::ddt;
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

TDDT note(std::initializer_list<std::pair<const char*, const char*>> values)
{
    TDDT d;
    for (const auto& [field, value] : values) d.set(QString::fromLatin1(field), QString::fromUtf8(value));
    return d;
}

void doubleClickLine(platform::ui::ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    const QPoint at = w->item(row).isValid() ? w->visualItemRect(w->item(row)).center() : QPoint(5, 5);
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void DdtWindowTest::SetUp()
{
    GuiTest::SetUp();
    kit::setReportLayouts({[this](QWidget*) { return std::make_unique<PrintRecorder>(printed); }, {}});
    documents::setDocumentWindows(u"frmDDT"_qs, [this](QWidget* editor, documents::DocumentOutput output) {
        EXPECT_EQ(editor, frmDDT);
        documents.push_back(output);
    });
    shell::createStartWindows();
    frmAvvio->hide();
}

void DdtWindowTest::TearDown()
{
    shell::destroyStartWindows();
    documents::setDocumentWindows(u"frmDDT"_qs, {});
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

void DdtWindowTest::writeYear(const QList<TDDT>& notes, const QString& year) const
{
    QByteArray bytes;
    for (const TDDT& d : notes) bytes += d.encode();
    writeFile(year + u".ddt"_qs, bytes);
}

QList<TDDT> DdtWindowTest::readYear(const QString& year) const
{
    const QByteArray bytes = readFile(year + u".ddt"_qs);
    QList<TDDT> notes;
    for (qsizetype at = 0; at + TDDT::kSize <= bytes.size(); at += TDDT::kSize)
        notes.append(TDDT::decode(bytes.mid(at, TDDT::kSize)));
    return notes;
}

QByteArray DdtWindowTest::fixture(const char* name)
{
    QFile f(QStringLiteral(ORV_FIXTURES "/ddt/") + QString::fromLatin1(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

TfrmDDT& DdtWindowTest::openEditor(const QString& year)
{
    frmAvvio->show();
    click(frmAvvio->imgDDT);
    showAndActivate(*frmMenuDDT);
    frmMenuDDT->txtAnnoPreventivi.setText(year);
    click(frmMenuDDT->btnApriPreventivi);
    showAndActivate(*frmDDT);
    return *frmDDT;
}

QStringList DdtWindowTest::takeTexts()
{
    QStringList t = messages.texts();
    messages.clear();
    return t;
}

} // namespace orv::test
