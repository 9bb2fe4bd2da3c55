#pragma once
// Window layout as data: each window has one table of its controls (name, kind, caption,
// position, size, maximum length, font and a few switches) in its own file, placed at the
// designed pixel positions. The Form creates the controls from the table in its order
// (which is also the Tab order and the stacking order: later items lie on top).
//
//   const Layout kLayout = {
//       panel("panContainer", 0, 0, 995, 692).centred(),
//       label("lblCliente", 136, 26, 281, 16, "Cognome e nome:").in("panContainer"),
//       edit("txtCliente", 136, 42, 281).in("panContainer").maxLen(50).font(kField).highlighted(),
//   };
//
// Repeated control sets (thirty document rows) are added by a loop over numbered() names.
//
// A container marked deferred() is built with the window, its contents only when the
// window first needs them: when it is shown, or when a control inside is asked for by
// name. Until then they cost nothing at start; once built, they stand in the same Tab
// and stacking order as if they had been built with the rest.
#include "platform/ui/controls.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orv::platform::ui {

enum class Kind {
    Edit, ComboEdit, Label, Memo, Image, Button, CheckBox, Shape, Panel, GroupBox, ListBox,
    StringGrid, Calendar,
};

struct Item {
    Kind kind = Kind::Label;
    QString name;
    int x = 0, y = 0, w = 0, h = 0;
    QString text;         // caption or initial text
    QString parentName;   // container; empty: the window's client area
    int maxLength = 0;    // edits: 0 for no limit
    std::optional<FontSpec> fontSpec;
    std::optional<Align> alignment;
    bool isVisible = true;
    bool isEnabled = true;
    bool isReadOnly = false;
    bool isMasked = false;
    bool handCursor = false;
    bool isCentred = false;    // kept centred in its parent when that is resized
    bool isWrapped = false;
    bool hasHighlight = false; // an `eff` rectangle behind the edit, shown while focused
    bool isSorted = false;
    bool isChecked = false;
    bool isDeferred = false;   // containers: the contents are built on first need
    QColor fillColor, fillTo, strokeColor;
    double cornerRadius = 0;
    Artwork artwork;
    QStringList listItems;

    Item& in(const QString& parent) { parentName = parent; return *this; }
    Item& maxLen(int n) { maxLength = n; return *this; }
    Item& font(const FontSpec& f) { fontSpec = f; return *this; }
    Item& align(Align a) { alignment = a; return *this; }
    Item& centre() { return align(Align::Center); }
    Item& hidden() { isVisible = false; return *this; }
    Item& disabled() { isEnabled = false; return *this; }
    Item& readOnly() { isReadOnly = true; return *this; }
    Item& masked() { isMasked = true; return *this; }
    Item& hand() { handCursor = true; return *this; }
    Item& centred() { isCentred = true; return *this; }
    Item& wrap() { isWrapped = true; return *this; }
    Item& highlighted() { hasHighlight = true; return *this; }
    Item& sorted() { isSorted = true; return *this; }
    Item& checked() { isChecked = true; return *this; }
    Item& deferred() { isDeferred = true; return *this; }
    Item& fill(const QColor& c, const QColor& to = QColor()) { fillColor = c; fillTo = to; return *this; }
    Item& stroke(const QColor& c) { strokeColor = c; return *this; }
    Item& radius(double r) { cornerRadius = r; return *this; }
    Item& art(Artwork a) { artwork = std::move(a); return *this; }
    Item& items(const QStringList& l) { listItems = l; return *this; }
};

using Layout = std::vector<Item>;

// Default heights of single-line controls.
constexpr int kEditHeight = 24;
constexpr int kButtonHeight = 30;

inline Item make(Kind k, const QString& name, int x, int y, int w, int h, const QString& text = {})
{
    Item i;
    i.kind = k; i.name = name; i.x = x; i.y = y; i.w = w; i.h = h; i.text = text;
    return i;
}
inline Item edit(const QString& n, int x, int y, int w, int h = kEditHeight) { return make(Kind::Edit, n, x, y, w, h); }
inline Item combo(const QString& n, int x, int y, int w, int h = kEditHeight) { return make(Kind::ComboEdit, n, x, y, w, h); }
inline Item label(const QString& n, int x, int y, int w, int h, const QString& text) { return make(Kind::Label, n, x, y, w, h, text); }
inline Item memo(const QString& n, int x, int y, int w, int h) { return make(Kind::Memo, n, x, y, w, h); }
// A picture without behaviour of its own.
inline Item picture(const QString& n, int x, int y, int w, int h, Artwork a = {}) { return make(Kind::Image, n, x, y, w, h).art(std::move(a)); }
// A clickable picture: hand cursor, never takes the focus.
inline Item command(const QString& n, int x, int y, int w, int h, Artwork a = {}) { return picture(n, x, y, w, h, std::move(a)).hand(); }
inline Item button(const QString& n, int x, int y, int w, int h, const QString& caption) { return make(Kind::Button, n, x, y, w, h, caption); }
inline Item check(const QString& n, int x, int y, int w, int h, const QString& caption) { return make(Kind::CheckBox, n, x, y, w, h, caption); }
inline Item rect(const QString& n, int x, int y, int w, int h, const QColor& fill) { return make(Kind::Shape, n, x, y, w, h).fill(fill); }
inline Item panel(const QString& n, int x, int y, int w, int h) { return make(Kind::Panel, n, x, y, w, h); }
inline Item group(const QString& n, int x, int y, int w, int h, const QString& caption = {}) { return make(Kind::GroupBox, n, x, y, w, h, caption); }
inline Item list(const QString& n, int x, int y, int w, int h) { return make(Kind::ListBox, n, x, y, w, h); }
inline Item grid(const QString& n, int x, int y, int w, int h) { return make(Kind::StringGrid, n, x, y, w, h); }
inline Item calendar(const QString& n, int x, int y, int w, int h) { return make(Kind::Calendar, n, x, y, w, h); }

// The highlight rectangle's name for an edit: "txtCliente" gives "effCliente".
QString highlightName(const QString& controlName);

} // namespace orv::platform::ui
