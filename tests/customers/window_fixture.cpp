#include "window_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"

using namespace orv::customers;
using namespace orv::shell;

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
    bool setHeight(const QString&, double) override { return true; }
    void prepareAndPrint() override { ++p_.listPrints; }

private:
    RecordedPrints& p_;
};

class CardRecorder : public kit::CardLayout {
public:
    explicit CardRecorder(RecordedPrints& p) : p_(p) {}
    void setPortrait() override {}
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

void CustomerWindowTest::SetUp()
{
    GuiTest::SetUp();
    kit::setReportLayouts({[this](QWidget*) { return std::make_unique<SummaryRecorder>(prints); },
                             [this](QWidget*) { return std::make_unique<CardRecorder>(prints); }});
    shell::createStartWindows();
    frmAvvio->hide();
    showAndActivate(*frmClienti);
}

void CustomerWindowTest::TearDown()
{
    shell::destroyStartWindows();
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

void CustomerWindowTest::writeArchive(const QList<TCliente>& cards) const
{
    QByteArray bytes;
    for (const TCliente& c : cards) bytes += c.encode();
    writeFile(TCliente::kFileName, bytes);
}

QStringList CustomerWindowTest::takeTexts()
{
    QStringList t = messages.texts();
    messages.clear();
    return t;
}

} // namespace orv::test
