#pragma once
// The keyboard model every window is written against: one key-down call per key press
// with a Windows virtual-key code, the character the key types (or none) and the shift
// state. A handler may change or clear both; clearing both swallows the key entirely.
#include <QChar>
#include <QtGlobal>

class QKeyEvent;

namespace orv::platform::ui {

using Word = quint16;

// Modifier keys and mouse buttons held down while an event happened.
enum class Shift : unsigned {
    None = 0, Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32,
};
struct ShiftState {
    unsigned bits = 0;
    bool has(Shift s) const { return (bits & unsigned(s)) != 0; }
    ShiftState& operator|=(Shift s) { bits |= unsigned(s); return *this; }
    bool operator==(const ShiftState&) const = default;
};

// Windows virtual-key codes used by the windows.
namespace vk {
constexpr Word Back = 8, Tab = 9, Return = 13, ShiftKey = 16, Control = 17, Menu = 18,
               Pause = 19, Capital = 20, Escape = 27, Space = 32, Prior = 33, Next = 34,
               End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40,
               Snapshot = 44, Insert = 45, Delete = 46, Apps = 93,
               Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D,
               Decimal = 0x6E, Divide = 0x6F, F1 = 0x70,
               Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD,
               OemPeriod = 0xBE, Oem2 = 0xBF, Oem3 = 0xC0, Oem4 = 0xDB, Oem5 = 0xDC,
               Oem6 = 0xDD, Oem7 = 0xDE;
} // namespace vk

// What a Qt key event means in this model. keyChar is null for keys that type no
// character (Enter, Tab, Backspace, Delete, Escape, arrows, function keys, Ctrl
// combinations).
struct KeyInfo {
    Word key = 0;
    QChar keyChar;
    ShiftState shift;
};
KeyInfo translateKey(const QKeyEvent& e);
ShiftState shiftFromQt(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton);

} // namespace orv::platform::ui
