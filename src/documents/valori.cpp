#include "documents/valori.h"

#include "kit/bridge.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "platform/ui/input.h"
#include "documents/editor.h"

namespace orv::documents {
using namespace orv::platform;
} // namespace orv::documents

namespace orv::documents {

using namespace orv::platform::ui;

ValuesDialog::ValuesDialog(QWidget* owner, const FormSpec& spec, const Layout& layout, QList<ValueField> fields,
                           QString tag, std::function<DocumentEditor*()> editor)
    : Form(owner, spec, layout), fields_(std::move(fields)), tag_(std::move(tag)), editor_(std::move(editor))
{
    onCreate = [this] { FormCreate(); };
    std::vector<Control*> chain;
    for (const ValueField& f : fields_) chain.push_back(&control<Control>(f.edit));
    for (size_t i = 0; i < chain.size(); ++i) chainEnter({chain[i], chain[(i + 1) % chain.size()]}, false);
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
}

void ValuesDialog::FormCreate()
{
    applyProgramFormats();
    for (const ValueField& f : fields_) {
        Control& c = control<Control>(f.edit);
        if (auto* e = dynamic_cast<Edit*>(&c)) e->setMaxLength(f.width);
        else if (auto* combo = dynamic_cast<ComboEdit*>(&c)) combo->setMaxLength(f.width);
    }
}

void ValuesDialog::showValues(const DocumentEditor& editor)
{
    lblMemory.setText(tag_);
    for (const ValueField& f : fields_)
        kit::setControlText(control<Control>(f.edit), trimmed(editor.control<Label>(f.label).text()));
}

void ValuesDialog::btnApplicaClick()
{
    DocumentEditor* editor = editor_ ? editor_() : nullptr;
    if (trimmed(lblMemory.text()) == tag_ && editor) {
        for (const ValueField& f : fields_)
            editor->control<Label>(f.label).setText(trimmed(kit::controlText(control<Control>(f.edit))));
    }
    close();
}

void ValuesDialog::btnAnnullaClick() { close(); }

Item valueCaption(const ValueField& f, int x, int y, int w)
{
    return label(u"lbl"_qs + f.edit.mid(3), x, y, w, 16, f.caption)
        .font({u"Verdana"_qs, 11, true, false, false, QColor(0x00, 0x00, 0x8B)});
}

const FontSpec& valueFont()
{
    static const FontSpec f{u"Verdana"_qs, 12, true, false, false, QColor()};
    return f;
}

} // namespace orv::documents
