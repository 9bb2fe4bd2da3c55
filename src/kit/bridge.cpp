#include "kit/bridge.h"

#include "platform/ui/services.h"

#include <stdexcept>

namespace orv::kit {

using namespace orv::platform::ui;

QString controlText(const Control& c)
{
    if (auto* e = dynamic_cast<const Edit*>(&c)) return e->text();
    if (auto* e = dynamic_cast<const ComboEdit*>(&c)) return e->text();
    if (auto* l = dynamic_cast<const Label*>(&c)) return l->text();
    if (auto* m = dynamic_cast<const Memo*>(&c)) return m->text();
    throw std::logic_error(("control " + c.name() + " shows no text").toStdString());
}

void setControlText(Control& c, const QString& text)
{
    if (auto* e = dynamic_cast<Edit*>(&c)) return e->setText(text);
    if (auto* e = dynamic_cast<ComboEdit*>(&c)) return e->setText(text);
    if (auto* l = dynamic_cast<Label*>(&c)) return l->setText(text);
    if (auto* m = dynamic_cast<Memo*>(&c)) return m->setText(text);
    throw std::logic_error(("control " + c.name() + " shows no text").toStdString());
}

Control& FormView::find(const QString& control) const
{
    Control* c = form_.findControl(control);
    if (!c) throw std::logic_error(("no control " + control + " in " + form_.objectName()).toStdString());
    return *c;
}

QString FormView::text(const QString& control) const { return controlText(find(control)); }

void FormView::setText(const QString& control, const QString& text) { setControlText(find(control), text); }

bool FormView::isChecked(const QString& control) const
{
    return form_.control<CheckBox>(control).isChecked();
}

void FormView::setChecked(const QString& control, bool checked)
{
    form_.control<CheckBox>(control).setChecked(checked);
}

void FormView::setFocus(const QString& control) { find(control).setFocus(); }

namespace {

class Boxes final : public archive::MessageService {
public:
    archive::MessageButton show(archive::MessageKind kind, const QString& text) override
    {
        using archive::MessageButton;
        using archive::MessageKind;
        switch (kind) {
        case MessageKind::Plain:
            platform::ui::showMessage(text);
            return MessageButton::Ok;
        case MessageKind::Confirmation:
            return platform::ui::confirmBox(text) ? MessageButton::Yes : MessageButton::No;
        case MessageKind::Warning:
            return answer(messages().messageDlg(text, MsgType::Warning, mbOk | mbCancel));
        case MessageKind::Error:
            return answer(messages().messageDlg(text, MsgType::Error, mbOk | mbCancel));
        case MessageKind::Information:
            return answer(messages().messageDlg(text, MsgType::Information, mbOk | mbCancel));
        }
        return archive::MessageButton::Ok;
    }

private:
    static archive::MessageButton answer(int r)
    {
        return r == mrOk ? archive::MessageButton::Ok : archive::MessageButton::Cancel;
    }
};

} // namespace

archive::MessageService& boxMessages()
{
    static Boxes boxes;
    return boxes;
}

} // namespace orv::kit
