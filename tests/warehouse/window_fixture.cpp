#include "window_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"

#include <QDir>

using namespace orv::platform;
using namespace orv::shell;
using namespace orv::warehouse;

namespace orv::test {

namespace {

class SummaryRecorder : public archive::SummaryLayout {
public:
    explicit SummaryRecorder(RecordedPrints& p) : p_(p) {}
    bool setMemoText(const QString& memo, const QString& text) override
    {
        if (memo.compare(u"txtTitolo", Qt::CaseInsensitive) == 0) p_.title = text;
        return true;
    }
    bool setMemoLines(const QString&, const QStringList& lines) override
    {
        p_.lines = lines;
        return true;
    }
    bool setHeight(const QString& object, double h) override
    {
        p_.heights[object] = h;
        return true;
    }
    void prepareAndPrint() override { ++p_.listPrints; }

private:
    RecordedPrints& p_;
};

class CardRecorder : public kit::CardLayout {
public:
    explicit CardRecorder(RecordedPrints& p) : p_(p) {}
    void setPortrait() override { p_.cardCalls << u"portrait"_qs; }
    bool setMemoText(const QString& memo, const QString& text) override
    {
        p_.card[memo] = text;
        return true;
    }
    void print() override { p_.cardCalls << u"print"_qs; }
    void preview() override { p_.cardCalls << u"preview"_qs; }
    bool exportPdf(const QString& path) override
    {
        p_.cardCalls << u"pdf "_qs + path;
        return p_.pdfSucceeds;
    }

private:
    RecordedPrints& p_;
};

} // namespace

void WarehouseWindowTest::SetUp()
{
    GuiTest::SetUp();
    kit::setReportLayouts({[this](QWidget*) { return std::make_unique<SummaryRecorder>(prints); },
                             [this](QWidget*) { return std::make_unique<CardRecorder>(prints); }});
    shell::createStartWindows();
    frmAvvio->hide();
    showAndActivate(*frmMagazzino);
}

void WarehouseWindowTest::TearDown()
{
    shell::destroyStartWindows();
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

QList<TArticolo> WarehouseWindowTest::stored() const
{
    const QByteArray bytes = archiveBytes();
    QList<TArticolo> out;
    for (qsizetype at = 0; at + TArticolo::kSize <= bytes.size(); at += TArticolo::kSize)
        out.append(TArticolo::decode(bytes.mid(at, TArticolo::kSize)));
    return out;
}

QStringList WarehouseWindowTest::takeTexts()
{
    QStringList t = messages.texts();
    messages.clear();
    return t;
}

void WarehouseWindowTest::blockArchive() const { ASSERT_TRUE(QDir(programFolder()).mkdir(TArticolo::kFileName)); }

void clickLine(platform::ui::ListBox& box, int row, bool twice)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    // Near the start of the line: lines are wider than the list.
    const QPoint at(20, w->visualItemRect(w->item(row)).center().y());
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    if (twice) QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace orv::test
