#pragma once
// The frame every archive editor shares inside its 995 x 692 container: framed sections
// down the left, the white command column on the right, the navigation arrows around
// the position label and the hint band at the bottom. Each editor adds its own fields,
// buttons and pictures between them.
#include "platform/ui/art.h"
#include "platform/ui/layout.h"

#include <QColor>
#include <QString>

#include <initializer_list>
#include <span>

namespace orv::platform::ui {
class Control;
class Form;
class Label;
} // namespace orv::platform::ui

namespace orv::kit {

// Colours of the editors' captions and picture commands.
inline const QColor kEditorCaption(0x00, 0x00, 0x8B);
inline const QColor kEditorCommand(0x2F, 0x5D, 0x8A);
inline const QColor kEditorFrame(0xB8, 0xC2, 0xCE);

struct EditorSection {
    int y, h;
    platform::ui::art::Icon icon;
    QColor colour;
};
// Grey bands across the left part (bkgSezione01...), each with a white tile
// (shpTessera01...) holding the section's picture (imgSezione01...).
void addEditorSections(platform::ui::Layout& l, const QString& in, std::span<const EditorSection> sections);

struct EditorCommand {
    const char* name;
    int y;
    const char* words;
};
// The white column (shpComandi) with the picture commands, each showing its words.
void addCommandColumn(platform::ui::Layout& l, const QString& in, std::span<const EditorCommand> commands);

// The arrows cmdPrimo, cmdIndietro, cmdAvanti and cmdUltimo around lblPosizione in their
// box (shpNavigazione), and the hint band (bkgInfo) with the hint line panInfo.
void addNavigationAndHint(platform::ui::Layout& l, const QString& in, const QString& hint);

// The window's background and the frame's own parts, with `more` of the editor's,
// empty the hint line when the mouse moves over them.
void bindEditorHintClear(platform::ui::Label& hintLine, platform::ui::Form& form, int sections, std::initializer_list<platform::ui::Control*> more);

} // namespace orv::kit
