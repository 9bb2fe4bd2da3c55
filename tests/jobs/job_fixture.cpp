#include "job_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "kit/reports.h"
#include "jobs/menulavoro.h"

#include <QListView>

using namespace orv::jobs;
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

void doubleClickLine(platform::ui::ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    const QPoint at = w->item(row).isValid() ? w->visualItemRect(w->item(row)).center() : QPoint(5, 5);
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void JobWindowTest::SetUp()
{
    GuiTest::SetUp();
    kit::setReportLayouts({[this](QWidget*) { return std::make_unique<PrintRecorder>(printed); }, {}});
    shell::createStartWindows();
    frmAvvio->hide();
}

void JobWindowTest::TearDown()
{
    shell::destroyStartWindows();
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

void JobWindowTest::writeYear(const QList<TSchedaLavoro>& sheets, const QString& year) const
{
    QByteArray bytes;
    for (const TSchedaLavoro& s : sheets) bytes += s.encode();
    writeFile(year + u".lav"_qs, bytes);
}

QList<TSchedaLavoro> JobWindowTest::readYear(const QString& year) const
{
    const QByteArray bytes = readFile(year + u".lav"_qs);
    QList<TSchedaLavoro> sheets;
    for (qsizetype at = 0; at + TSchedaLavoro::kSize <= bytes.size(); at += TSchedaLavoro::kSize)
        sheets.append(TSchedaLavoro::decode(bytes.mid(at, TSchedaLavoro::kSize)));
    return sheets;
}

TfrmLavoro& JobWindowTest::openEditor(const QString& year)
{
    frmAvvio->show();
    click(frmAvvio->imgSchedeLavoro);
    showAndActivate(*frmMenuLavoro);
    frmMenuLavoro->txtAnnoLavoro.setText(year);
    click(frmMenuLavoro->btnApriLavoro);
    showAndActivate(*frmLavoro);
    return *frmLavoro;
}

QStringList JobWindowTest::takeTexts()
{
    QStringList t = messages.texts();
    messages.clear();
    return t;
}

} // namespace orv::test
