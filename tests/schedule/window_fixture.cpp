#include "window_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "archive/lists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>

using namespace orv::schedule;
using namespace orv::shell;

namespace orv::test {

TScadenza entry(std::initializer_list<std::pair<QString TScadenza::*, const char*>> values)
{
    TScadenza s;
    for (const auto& [field, value] : values) s.*field = QString::fromUtf8(value);
    return s;
}

TScadenza dueEntry(const QString& date, const QString& time, const QString& reason, const QString& notice)
{
    TScadenza s;
    s.Giorno = date.left(2);
    s.Mese = schedule::monthNames()[date.mid(3, 2).toInt() - 1];
    s.Anno = date.mid(6, 4);
    s.Data = date;
    s.OreApp = time.left(2);
    s.MinutiApp = time.mid(3, 2);
    s.Ora = time;
    s.Avviso = notice;
    s.Pagatore = u"Rossi Mario"_qs;
    s.Beneficiario = u"Officina Verdi"_qs;
    s.Dettagli = reason;
    s.Costo = u"0,00"_qs;
    s.DaConfermare = archive::kNo;
    s.Effettuata = archive::kNo;
    return s;
}

void doubleClickLine(platform::ui::ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    const QPoint at = w->visualItemRect(w->item(row)).center();
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

namespace {

class ListLog : public archive::SummaryLayout {
public:
    explicit ListLog(PrintLog& p) : p_(p) {}
    bool setMemoText(const QString& memo, const QString& text) override
    {
        if (memo.compare(u"txtTitolo", Qt::CaseInsensitive) == 0) p_.listTitle = text;
        return true;
    }
    bool setMemoLines(const QString&, const QStringList& lines) override
    {
        p_.listLines = lines;
        return true;
    }
    bool setHeight(const QString&, double) override { return true; }
    void prepareAndPrint() override { ++p_.listPrints; }

private:
    PrintLog& p_;
};

class CardLog : public kit::CardLayout {
public:
    explicit CardLog(PrintLog& p) : p_(p) {}
    void setPortrait() override {}
    bool setMemoText(const QString& memo, const QString& text) override
    {
        p_.card[memo] = text;
        return true;
    }
    void print() override { p_.cardCalls << u"print"_qs; }
    void preview() override { p_.cardCalls << u"preview"_qs; }
    bool exportPdf(const QString&) override { return false; }

private:
    PrintLog& p_;
};

} // namespace

void ScheduleTest::SetUp()
{
    GuiTest::SetUp();
    kit::setReportLayouts({[this](QWidget*) { return std::make_unique<ListLog>(prints); },
                             [this](QWidget*) { return std::make_unique<CardLog>(prints); }});
    shell::createStartWindows();
    frmAvvio->hide();
    showAndActivate(*frmScadenzario);
}

void ScheduleTest::TearDown()
{
    shell::destroyStartWindows();
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

void ScheduleTest::writeYear(const QString& year, const QList<TScadenza>& entries) const
{
    QByteArray bytes;
    for (const TScadenza& s : entries) bytes += s.encode();
    writeFile(year + u".sca"_qs, bytes);
}

void ScheduleTest::reopen()
{
    frmScadenzario->close();
    frmAvvio->hide();
    showAndActivate(*frmScadenzario);
}

void ScheduleTest::openYear(const QString& year)
{
    TfrmScadenzario& w = window();
    w.txtAnno.setFocus();
    w.txtAnno.lineEdit()->selectAll();
    keys(w, year);
    click(w.btnApri);
}

void ScheduleTest::pick(platform::ui::ComboEdit& field, const QString& item)
{
    QComboBox* box = field.comboBox();
    const int index = box->findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    box->showPopup();
    QAbstractItemView* view = box->view();
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

QStringList ScheduleTest::takeTexts()
{
    QStringList t = messages.texts();
    messages.clear();
    return t;
}

} // namespace orv::test
