#include "warehouse/callers.h"

#include "kit/windowtable.h"
#include "kit/bridge.h"
#include "platform/core/text.h"
#include "platform/ui/form.h"
#include "warehouse/articolo.h"
#include "warehouse/magazzino.h"

#include <stdexcept>

namespace orv::warehouse {
using namespace orv::platform;
} // namespace orv::warehouse

namespace orv::warehouse {

namespace {

platform::ui::Control& controlOf(platform::ui::Form& target, const QString& name)
{
    platform::ui::Control* c = target.findControl(name);
    if (!c) throw std::logic_error(("no control " + name + " in " + target.objectName()).toStdString());
    return *c;
}

void wholeCard(platform::ui::Form& target, const archive::FoundRecord& article)
{
    if (auto* editor = dynamic_cast<TfrmMagazzino*>(&target))
        editor->showCard(TArticolo::layout().decode(article.record), article.position);
}

// The schedule entry takes the article's identity; brand and model joined by one blank,
// which stays when either is empty.
void scheduleEntry(platform::ui::Form& target, const archive::FoundRecord& article)
{
    const TArticolo a = TArticolo::decode(article.record);
    const std::pair<const char*, QString> values[] = {
        {"txtCodice", trimmed(a.Codice)},
        {"txtTipologia", trimmed(a.Tipologia)},
        {"txtMarca", trimmed(a.Marca) + u' ' + trimmed(a.Modello)},
        {"txtAccessori", trimmed(a.Accessori)},
        {"txtDescrizione", trimmed(a.Descrizione)},
        {"txtFornitore", trimmed(a.Fornitore)},
    };
    for (const auto& [control, value] : values) kit::setControlText(controlOf(target, QString::fromLatin1(control)), value);
}

} // namespace

const QList<ArticleCaller>& articleCallers()
{
    static const QList<ArticleCaller> callers = {
        {u"magazzino"_qs, u"frmMagazzino"_qs, wholeCard},
        {u"scadenzario"_qs, u"frmScadenzario"_qs, scheduleEntry},
    };
    return callers;
}

bool writeToCaller(const QString& tag, const archive::FoundRecord& article)
{
    for (const ArticleCaller& caller : articleCallers()) {
        if (caller.tag != tag) continue;
        platform::ui::Form* target = kit::startWindow(caller.window);
        if (!target) return false;
        caller.write(*target, article);
        return true;
    }
    return false;
}

void loadArticleCard(const archive::FoundRecord& article)
{
    if (frmMagazzino) wholeCard(*frmMagazzino, article);
}

const QList<ImportRow>& importRows()
{
    static const QList<ImportRow> rows = [] {
        QList<ImportRow> r;
        const std::pair<QString, QString> editors[] = {{u"pre_art_"_qs, u"frmPreventivi"_qs}, {u"ddt_art_"_qs, u"frmDDT"_qs}};
        for (const auto& [prefix, window] : editors)
            for (int n = 1; n <= 30; ++n) r.append({platform::ui::numbered(prefix, n), window, n});
        return r;
    }();
    return rows;
}

std::optional<RowEdits> importTarget(const QString& tag)
{
    for (const ImportRow& row : importRows()) {
        if (row.tag != tag) continue;
        platform::ui::Form* target = kit::startWindow(row.window);
        if (!target) return std::nullopt;
        return RowEdits{&controlOf(*target, platform::ui::numbered(u"txtCodice"_qs, row.row)),
                        &controlOf(*target, platform::ui::numbered(u"txtDesc"_qs, row.row)),
                        &controlOf(*target, platform::ui::numbered(u"txtPrezzo"_qs, row.row))};
    }
    return std::nullopt;
}

void fillRow(const RowEdits& row, const TArticolo& article)
{
    kit::setControlText(*row.codice, trimmed(article.Codice));
    kit::setControlText(*row.descrizione, trimmed(article.Descrizione));
    kit::setControlText(*row.prezzo, trimmed(article.Prezzo));
}

} // namespace orv::warehouse
