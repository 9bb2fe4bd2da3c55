#pragma once
// The quote and delivery-note editors on screen, opened through the main menu and the
// year menu as a user opens them, with the values a document prints typed in.
#include "documents_base_fixture.h"

#include "shell/avvio.h"
#include "documents/editor.h"
#include "documents/menuanno.h"

#include <QComboBox>

namespace orv::test {

class TradeDocumentTest : public DocumentsTest {
protected:
    // The editor of the year menu behind `menuImage`, shown on `year`.
    documents::DocumentEditor& openEditor(platform::ui::Image& menuImage, documents::YearMenu& menu, documents::DocumentEditor& editor)
    {
        shell::frmAvvio->show();
        click(menuImage);
        showAndActivate(menu);
        menu.txtAnnoPreventivi.setText(u"2026"_qs);
        click(menu.btnApriPreventivi);
        showAndActivate(editor);
        return editor;
    }

    // Sets the control of that name (edit, combo edit or label) to the text.
    static void show(platform::ui::Form& editor, const QString& name, const QString& text)
    {
        platform::ui::Control* c = editor.findControl(name);
        ASSERT_NE(c, nullptr) << name.toStdString();
        if (auto* e = dynamic_cast<platform::ui::Edit*>(c)) e->setText(text);
        else if (auto* l = dynamic_cast<platform::ui::Label*>(c)) l->setText(text);
        else if (auto* combo = dynamic_cast<platform::ui::ComboEdit*>(c)) combo->setText(text);
        else FAIL() << "no text control " << name.toStdString();
    }
    static void show(platform::ui::Form& editor, std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (const auto& [name, text] : values) show(editor, QString::fromLatin1(name), QString::fromUtf8(text));
    }

    // Types a row's five values.
    static void typeRow(documents::DocumentEditor& editor, int n, const char* quant, const char* code, const char* desc,
                        const char* price, const char* discount)
    {
        documents::DocumentEditor::Row& r = editor.row(n);
        r.txtQuant.setText(QString::fromUtf8(quant));
        r.txtCodice.setText(QString::fromUtf8(code));
        r.txtDesc.setText(QString::fromUtf8(desc));
        r.txtPrezzo.setText(QString::fromUtf8(price));
        r.txtPercSconto.setText(QString::fromUtf8(discount));
    }

    // Confirms the document window that `command` opens.
    void confirmThrough(platform::ui::Image& command, const QString& window)
    {
        whenShown(window, [](platform::ui::Form& f) { click(document(f).btnStampa); });
        click(command);
    }
};

// Cell memo name of a row.
inline QString cell(const char* column, int n)
{
    return QString::fromLatin1(column) + QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

} // namespace orv::test
