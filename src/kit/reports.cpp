#include "kit/reports.h"

#include "platform/ui/openurl.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/ui/controls.h"
#include "platform/ui/services.h"

namespace orv::kit {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

namespace {
ReportLayouts& layouts()
{
    static ReportLayouts l;
    return l;
}
} // namespace

void setReportLayouts(ReportLayouts l) { layouts() = std::move(l); }

void printList(QWidget* owner, const QString& title, const QStringList& lines)
{
    if (!layouts().summary) return;
    if (auto layout = layouts().summary(owner)) StampaRiepilogo(*layout, title, lines);
}

QString cardFooter()
{
    const TDateTime now = nowDateTime();
    return u"Stampa eseguita in data "_qs + dateToStr(now) + u" alle ore "_qs + timeToStr(now);
}

bool outputCard(QWidget* owner, const CardContent& card, CardOutput output, const QString& pdfName)
{
    if (!layouts().card) return false;
    std::unique_ptr<CardLayout> layout = layouts().card(owner);
    if (!layout) return false;
    layout->setPortrait();
    layout->setMemoText(u"txtTitolo"_qs, card.title);
    for (int i = 0; i < 24; ++i) {
        layout->setMemoText(platform::ui::numbered(u"titCampo"_qs, i + 1), card.pairs[size_t(i)].first);
        layout->setMemoText(platform::ui::numbered(u"txtCampo"_qs, i + 1), card.pairs[size_t(i)].second);
    }
    layout->setMemoText(u"txtCalce"_qs, cardFooter());
    switch (output) {
    case CardOutput::Print:
        layout->print();
        return true;
    case CardOutput::Preview:
        layout->preview();
        return true;
    case CardOutput::Pdf: {
        const QString path = programFile(pdfName);
        if (!layout->exportPdf(path)) return false;
        platform::ui::offerToOpenPdf(path);
        return true;
    }
    }
    return false;
}

} // namespace orv::kit
