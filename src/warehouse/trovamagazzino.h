#pragma once
// The article finder: up to ten criteria, the sorted result list, and the chosen article
// written into the window that opened it (caller tag in lblMemory): the whole card into
// the article editor, six values into the schedule.
#include "kit/listwindow.h"

namespace orv::warehouse {

class TfrmTrovaMagazzino : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaMagazzino(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtCodice);
    ORV_CONTROL(Edit, txtTipologia);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtModello);
    ORV_CONTROL(Edit, txtDescrizione);
    ORV_CONTROL(Edit, txtAccessori);
    ORV_CONTROL(Edit, txtFornitore);
    ORV_CONTROL(Edit, txtDocumento);
    ORV_CONTROL(Edit, txtCollocazione);
    ORV_CONTROL(Edit, txtNote);

    void btnCercaClick();

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmTrovaMagazzino* frmTrovaMagazzino;

} // namespace orv::warehouse

namespace orv::warehouse {

// The ten criteria of the article finder and of the article import, in Enter order.
const QList<kit::FinderCriterion>& articleCriteria();
// The count text of the warehouse result lists: "Il presente elenco contiene N schede.".
QString articleCountText(qsizetype lines);
// The print title of both lists.
inline const QString kTitleArticles = QStringLiteral("Riepilogo articoli in magazzino");

} // namespace orv::warehouse
