#include "platform/VirtualKeys.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, quint16>, 21> kMainKeys{{
    {Qt::Key_Backspace, VK::Back}, {Qt::Key_Tab, VK::Tab},        {Qt::Key_Backtab, VK::Tab},
    {Qt::Key_Return, VK::Return},  {Qt::Key_Enter, VK::Return},   {Qt::Key_Shift, VK::Shift},
    {Qt::Key_Control, VK::Control}, {Qt::Key_Alt, VK::Menu},      {Qt::Key_Escape, VK::Escape},
    {Qt::Key_Space, VK::Space},    {Qt::Key_PageUp, VK::Prior},   {Qt::Key_PageDown, VK::Next},
    {Qt::Key_End, VK::End},        {Qt::Key_Home, VK::Home},      {Qt::Key_Left, VK::Left},
    {Qt::Key_Up, VK::Up},          {Qt::Key_Right, VK::Right},    {Qt::Key_Down, VK::Down},
    {Qt::Key_Insert, VK::Insert},  {Qt::Key_Delete, VK::Delete},  {Qt::Key_Period, VK::OemPeriod},
}};

constexpr std::array<std::pair<int, quint16>, 8> kPunctuation{{
    {Qt::Key_Comma, VK::OemComma},
    {Qt::Key_Minus, VK::OemMinus},
    {Qt::Key_Plus, VK::OemPlus},
    {Qt::Key_Equal, VK::OemPlus},
    {Qt::Key_Asterisk, VK::Multiply},
    {Qt::Key_Slash, VK::Divide},
    {Qt::Key_Less, 226},
    {Qt::Key_Ntilde, 192},
}};

constexpr std::array<std::pair<int, quint16>, 6> kKeypad{{
    {Qt::Key_Asterisk, VK::Multiply},
    {Qt::Key_Plus, VK::Add},
    {Qt::Key_Minus, VK::Subtract},
    {Qt::Key_Period, VK::Decimal},
    {Qt::Key_Comma, VK::Decimal},
    {Qt::Key_Slash, VK::Divide},
}};

template <std::size_t N>
quint16 find(const std::array<std::pair<int, quint16>, N>& table, int key) {
  for (const auto& [qt, vk] : table)
    if (qt == key) return vk;
  return 0;
}

}  // namespace

quint16 VirtualKey(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return quint16(VK::Numpad0 + (key - Qt::Key_0));
    // The keypad's decimal key types "." or "," by layout.
    if (const quint16 vk = find(kKeypad, key)) return vk;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return quint16(key);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return quint16(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return quint16(VK::F1 + (key - Qt::Key_F1));
  if (const quint16 vk = find(kMainKeys, key)) return vk;
  return find(kPunctuation, key);
}

int QtKey(quint16 virtualKey) {
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) return virtualKey;
  if (virtualKey >= VK::Numpad0 && virtualKey <= VK::Numpad0 + 9) return Qt::Key_0 + (virtualKey - VK::Numpad0);
  if (virtualKey >= VK::F1 && virtualKey <= VK::F24) return Qt::Key_F1 + (virtualKey - VK::F1);
  for (const auto& [qt, vk] : kMainKeys)
    if (vk == virtualKey) return qt;
  for (const auto& [qt, vk] : kKeypad)
    if (vk == virtualKey) return qt;
  for (const auto& [qt, vk] : kPunctuation)
    if (vk == virtualKey) return qt;
  return Qt::Key_unknown;
}

Qt::KeyboardModifiers ShiftState(const QKeyEvent& event) { return event.modifiers() & ~Qt::KeypadModifier; }

QChar TypedChar(const QKeyEvent& event) {
  if (VirtualKey(event) == VK::Decimal) return u'.';
  const QString text = event.text();
  if (text.isEmpty()) return {};
  // Enter types a carriage return whatever the platform puts in its text.
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return u'\r';
  return text.front();
}
