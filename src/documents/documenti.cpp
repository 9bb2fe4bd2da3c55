#include "documents/documenti.h"

#include <map>

namespace orv::documents {

namespace {
std::map<QString, DocumentWindows>& installed()
{
    static std::map<QString, DocumentWindows> openers;
    return openers;
}
} // namespace

void setDocumentWindows(const QString& editorName, DocumentWindows open)
{
    if (open) installed()[editorName] = std::move(open);
    else installed().erase(editorName);
}

void openDocumentWindow(QWidget* editor, DocumentOutput output)
{
    const auto it = installed().find(editor->objectName());
    if (it != installed().end()) it->second(editor, output);
}

} // namespace orv::documents
