#include "kit/editorlayout.h"

#include "platform/ui/form.h"
#include "platform/ui/input.h"

namespace orv::kit {

using namespace orv::platform::ui;

void addEditorSections(Layout& l, const QString& in, std::span<const EditorSection> sections)
{
    int n = 0;
    for (const EditorSection& s : sections) {
        ++n;
        l.push_back(rect(numbered(u"bkgSezione"_qs, n), 16, s.y, 777, s.h, QColor(0xE4, 0xE8, 0xEE)).radius(4).in(in));
        l.push_back(rect(numbered(u"shpTessera"_qs, n), 24, s.y + 8, 97, s.h - 16, Qt::white).radius(4).in(in));
        l.push_back(picture(numbered(u"imgSezione"_qs, n), 32, s.y + s.h / 2 - 40, 81, 80, art::tile(s.icon, s.colour))
                        .in(in));
    }
}

void addCommandColumn(Layout& l, const QString& in, std::span<const EditorCommand> commands)
{
    l.push_back(rect(u"shpComandi"_qs, 800, 16, 177, 489, Qt::white).stroke(kEditorFrame).radius(4).in(in));
    for (const EditorCommand& c : commands)
        l.push_back(command(QString::fromLatin1(c.name), 814, c.y, 148, 32,
                            art::command(QString::fromUtf8(c.words), kEditorCommand)).in(in));
}

void addNavigationAndHint(Layout& l, const QString& in, const QString& hint)
{
    l.push_back(rect(u"shpNavigazione"_qs, 800, 642, 177, 32, Qt::white).stroke(kEditorFrame).radius(4).in(in));
    l.push_back(command(u"cmdPrimo"_qs, 803, 645, 22, 26, art::icon(art::Icon::ArrowFirst)).in(in));
    l.push_back(command(u"cmdIndietro"_qs, 825, 645, 22, 26, art::icon(art::Icon::ArrowPrev)).in(in));
    l.push_back(label(u"lblPosizione"_qs, 847, 645, 82, 26, QString()).centre()
                    .font({u"Verdana"_qs, 12, true, false, false, kEditorCaption}).in(in));
    l.push_back(command(u"cmdAvanti"_qs, 929, 645, 22, 26, art::icon(art::Icon::ArrowNext)).in(in));
    l.push_back(command(u"cmdUltimo"_qs, 951, 645, 22, 26, art::icon(art::Icon::ArrowLast)).in(in));
    l.push_back(rect(u"bkgInfo"_qs, 16, 642, 777, 32, QColor(0x6A, 0x5A, 0xCD)).radius(4).in(in));
    l.push_back(label(u"panInfo"_qs, 26, 648, 757, 20, hint).font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).in(in));
}

void bindEditorHintClear(Label& hintLine, Form& form, int sections, std::initializer_list<Control*> more)
{
    bindHintClear(hintLine, form, more);
    QStringList names = {u"shpComandi"_qs, u"shpNavigazione"_qs, u"bkgInfo"_qs, u"lblPosizione"_qs};
    for (int n = 1; n <= sections; ++n)
        names << numbered(u"bkgSezione"_qs, n) << numbered(u"shpTessera"_qs, n) << numbered(u"imgSezione"_qs, n);
    for (const QString& name : names) bindHintClear(hintLine, form, {&form.control<Control>(name)});
}

} // namespace orv::kit
