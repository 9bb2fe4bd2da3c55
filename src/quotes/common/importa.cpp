#include "quotes/common/importa.h"

namespace orv::docs {

namespace {
ArticleImport& installed()
{
    static ArticleImport open;
    return open;
}
} // namespace

void setArticleImport(ArticleImport open) { installed() = std::move(open); }

void importArticle(QWidget* editor, const QString& rowTag, const QString& rowQuantity)
{
    if (installed()) installed()(editor, rowTag, rowQuantity);
}

} // namespace orv::docs
