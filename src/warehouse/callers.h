#pragma once
// Where an article chosen in the article finder or the article import goes. The finder
// serves the article editor (the whole card with its position) and the schedule (six
// article values); the import fills one of the thirty article rows of the quote editor
// or of the delivery-note editor. The caller tag names the window (its global instance,
// visible or not) and, for the import, the row; a window that is not part of the program
// yet, or a tag no caller uses, receives nothing.
#include "archive/lists.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace orv::warehouse {

struct TArticolo;

} // namespace orv::warehouse

namespace orv::platform::ui {
class Control;
class Form;
} // namespace orv::platform::ui

namespace orv::warehouse {

struct ArticleCaller {
    QString tag;    // the word the caller writes into the finder's lblMemory
    QString window; // its global instance
    std::function<void(platform::ui::Form& target, const archive::FoundRecord& article)> write;
};

// The article finder's callers in the order their tags are compared.
const QList<ArticleCaller>& articleCallers();
// Writes the article into the window the tag names; returns whether it wrote.
bool writeToCaller(const QString& tag, const archive::FoundRecord& article);

// The whole-card load into the article editor (finder and running-out list).
void loadArticleCard(const archive::FoundRecord& article);

// A document row the import fills: "pre_art_07" is row 7 of the quote editor, "ddt_art_30"
// row 30 of the delivery-note editor.
struct ImportRow {
    QString tag;
    QString window;
    int row = 0;
};
// The sixty row tags, quote rows first.
const QList<ImportRow>& importRows();

// The code, description and price edits of the row the tag names, found in the running
// program; nothing for an unknown tag or while that editor does not exist.
struct RowEdits {
    platform::ui::Control* codice = nullptr;
    platform::ui::Control* descrizione = nullptr;
    platform::ui::Control* prezzo = nullptr;
};
std::optional<RowEdits> importTarget(const QString& tag);
// Code, description and price of the article, trimmed and as stored, into the row.
void fillRow(const RowEdits& row, const TArticolo& article);

} // namespace orv::warehouse
