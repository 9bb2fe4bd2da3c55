#pragma once
// What joins the archive logic to a window: the editor's view over the controls of a
// form, found by name, and the archive logic's message boxes shown as the windows' boxes.
// Every archive window of the program uses these two; nothing here is customer-specific.
#include "archive/command.h"
#include "archive/editor.h"
#include "platform/ui/form.h"

namespace orv::kit {

// The controls of a form as the archive editor sees them. Texts go to edits, combo edits
// (their edit text), labels and memos; check states to check boxes. A name the form does
// not have is a programming error and throws.
class FormView : public archive::EditorView {
public:
    explicit FormView(platform::ui::Form& form) : form_(form) {}

    QString text(const QString& control) const override;
    void setText(const QString& control, const QString& text) override;
    bool isChecked(const QString& control) const override;
    void setChecked(const QString& control, bool checked) override;
    void setFocus(const QString& control) override;

    platform::ui::Form& form() const { return form_; }

private:
    platform::ui::Control& find(const QString& control) const;
    platform::ui::Form& form_;
};

// The text of a control that shows one (edit, combo edit, label, memo).
QString controlText(const platform::ui::Control& c);
void setControlText(platform::ui::Control& c, const QString& text);

// The program's message boxes for the archive logic: warnings, errors and information
// with OK and Cancel, confirmations with Yes and No, the plain box with OK.
archive::MessageService& boxMessages();

} // namespace orv::kit
