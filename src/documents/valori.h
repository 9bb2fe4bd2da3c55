#pragma once
// The side window of a kind's own values (the quote's extra information, the delivery
// note's transport data): fields that edit values the editor keeps in hidden labels.
// The editor fills the fields with its labels' texts, trimmed; "Applica e chiudi" writes
// the fields back, trimmed, when the window was opened by the editor (its caller tag),
// and closes it; "Annulla" closes it. Enter goes round the fields. The values reach the
// archive only with the editor's Save.
#include "platform/ui/form.h"

#include <QList>
#include <QString>

#include <functional>

namespace orv::documents {

class DocumentEditor;

struct ValueField {
    QString edit;  // the window's field (an edit or a combo edit)
    QString label; // the editor's hidden label
    int width;     // the record field's width, the field's maximum length
    QString caption;
};

class ValuesDialog : public platform::ui::Form {
public:
    ORV_CONTROL(Button, btnApplica);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Label, lblMemory);

    void FormCreate();
    void btnApplicaClick();
    void btnAnnullaClick();

    const QList<ValueField>& fields() const { return fields_; }
    // The editor's hidden values into the fields, each trimmed.
    void showValues(const DocumentEditor& editor);

protected:
    // `editor` gives the editor the window writes into (its global instance); `tag` is
    // the caller tag the window must carry for that.
    ValuesDialog(QWidget* owner, const platform::ui::FormSpec& spec, const platform::ui::Layout& layout, QList<ValueField> fields,
                 QString tag, std::function<DocumentEditor*()> editor);

private:
    QList<ValueField> fields_;
    QString tag_;
    std::function<DocumentEditor*()> editor_;
};

// A field's caption above it, in the windows' caption font.
platform::ui::Item valueCaption(const ValueField& f, int x, int y, int w);
// The fields' font.
const platform::ui::FontSpec& valueFont();

} // namespace orv::documents
