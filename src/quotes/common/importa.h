#pragma once
// SEAM: the article import into one document row. The warehouse's import window
// (TfrmImportaMagazzino) is created with the editor as owner, told the row's caller tag
// ("pre_art_07", "ddt_art_30") and, when the row holds one, the row's quantity trimmed,
// shown modally and destroyed; it writes the article's code, description and price into
// the row itself. The warehouse installs its opener here; until it does, the import
// buttons open nothing.
#include <QString>
#include <QWidget>

#include <functional>

namespace orv::docs {

using ArticleImport = std::function<void(QWidget* editor, const QString& rowTag, const QString& rowQuantity)>;
// Installs the import window's opener; an empty one removes it.
void setArticleImport(ArticleImport open);
// Opens the import for the row, when an opener is installed.
void importArticle(QWidget* editor, const QString& rowTag, const QString& rowQuantity);

} // namespace orv::docs
