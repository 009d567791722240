#pragma once

#include <QChar>
#include <Qt>

class QKeyEvent;

// Keys as the suite's forms compare them: Windows virtual-key codes, with
// the keypad told apart from the main keyboard.
namespace VK {
inline constexpr quint16 Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Escape = 27,
                         Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39,
                         Down = 40, Insert = 45, Delete = 46, Numpad0 = 96, Multiply = 106, Add = 107,
                         Subtract = 109, Decimal = 110, Divide = 111, F1 = 112, F2 = 113, F3 = 114, F5 = 116, F8 = 119,
                         F24 = 135, OemPlus = 187,
                         OemComma = 188, OemMinus = 189, OemPeriod = 190;
}  // namespace VK

// The virtual-key code of a key event; 0 for a key the suite has no code for.
quint16 VirtualKey(const QKeyEvent& event);
// The Qt key of a virtual-key code, for handing a changed key on.
int QtKey(quint16 virtualKey);
// The modifiers as a whole shift state: the keypad is not one of them.
Qt::KeyboardModifiers ShiftState(const QKeyEvent& event);
// The character a key press types, as the suite reads it: the keypad's
// decimal key is "." whatever the keyboard layout makes of it; a key that
// types nothing gives a null character.
QChar TypedChar(const QKeyEvent& event);
