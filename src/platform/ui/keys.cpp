#include "platform/ui/keys.h"

#include <QKeyEvent>

namespace orv::platform::ui {

ShiftState shiftFromQt(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    ShiftState s;
    if (m & Qt::ShiftModifier) s |= Shift::Shift;
    if (m & Qt::AltModifier) s |= Shift::Alt;
    if (m & Qt::ControlModifier) s |= Shift::Ctrl;
    if (b & Qt::LeftButton) s |= Shift::Left;
    if (b & Qt::RightButton) s |= Shift::Right;
    if (b & Qt::MiddleButton) s |= Shift::Middle;
    return s;
}

namespace {

// Punctuation keys by the character they carry, as on a US layout; shifted digits give
// the digit key.
Word punctuationKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Semicolon: case Qt::Key_Colon: return vk::Oem1;
    case Qt::Key_Equal: case Qt::Key_Plus: return vk::OemPlus;
    case Qt::Key_Comma: case Qt::Key_Less: return vk::OemComma;
    case Qt::Key_Minus: case Qt::Key_Underscore: return vk::OemMinus;
    case Qt::Key_Period: case Qt::Key_Greater: return vk::OemPeriod;
    case Qt::Key_Slash: case Qt::Key_Question: return vk::Oem2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return vk::Oem3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return vk::Oem4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return vk::Oem5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return vk::Oem6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return vk::Oem7;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: return 0;
    }
}

Word keypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return Word(vk::Numpad0 + (qtKey - Qt::Key_0));
    switch (qtKey) {
    case Qt::Key_Asterisk: return vk::Multiply;
    case Qt::Key_Plus: return vk::Add;
    case Qt::Key_Minus: return vk::Subtract;
    case Qt::Key_Period: case Qt::Key_Comma: return vk::Decimal;
    case Qt::Key_Slash: return vk::Divide;
    default: return 0;
    }
}

Word virtualKey(const QKeyEvent& e)
{
    const int k = e.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return Word('A' + (k - Qt::Key_A));
    if (e.modifiers() & Qt::KeypadModifier) {
        if (Word w = keypadKey(k)) return w;
    }
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return Word('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return Word(vk::F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab: case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return: case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::ShiftKey;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: case Qt::Key_AltGr: return vk::Menu;
    case Qt::Key_Pause: return vk::Pause;
    case Qt::Key_CapsLock: return vk::Capital;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Print: return vk::Snapshot;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Menu: return vk::Apps;
    default: return punctuationKey(k);
    }
}

} // namespace

KeyInfo translateKey(const QKeyEvent& e)
{
    KeyInfo info;
    info.key = virtualKey(e);
    const QString text = e.text();
    if (text.size() == 1) {
        const QChar c = text.front();
        if (c.unicode() >= 32 && c.unicode() != 127) info.keyChar = c;
    }
    info.shift = shiftFromQt(e.modifiers());
    return info;
}

} // namespace orv::platform::ui
