#include "customers/common/appseams.h"

#include "platform/ui/form.h"

#include <QApplication>

namespace orv::forms {

void showHelp(QWidget*, const QString&, const QStringList&) {}

void showMainMenu()
{
    if (ui::Form* menu = globalWindow(QStringLiteral("frmAvvio"))) menu->show();
}

ui::Form* globalWindow(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* f = dynamic_cast<ui::Form*>(w);
        if (f && !f->parentWidget() && f->objectName() == name) return f;
    }
    return nullptr;
}

} // namespace orv::forms
