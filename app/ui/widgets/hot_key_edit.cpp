#include "app/ui/widgets/hot_key_edit.h"

#include <QKeyEvent>
#include <QKeySequence>

#include "app/ui/widgets/qt_text.h"
#include "platform/hot_key_registrar.h"
#include "platform/virtual_keys.h"
#include "reading/hot_key_text.h"

namespace parlino::app {
namespace {

namespace vk = platform::vk;

struct KeyPair {
  int qtKey;
  std::uint8_t virtualKey;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, vk::kBack},
    {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab},
    {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},
    {Qt::Key_Pause, vk::kPause},
    {Qt::Key_CapsLock, vk::kCapital},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPrior},
    {Qt::Key_PageDown, vk::kNext},
    {Qt::Key_End, vk::kEnd},
    {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_Print, vk::kSnapshot},
    {Qt::Key_Insert, vk::kInsert},
    {Qt::Key_Delete, vk::kDelete},
    {Qt::Key_NumLock, vk::kNumLock},
    {Qt::Key_ScrollLock, vk::kScroll},
    {Qt::Key_Semicolon, vk::kOem1},
    {Qt::Key_Colon, vk::kOem1},
    {Qt::Key_Equal, vk::kOemPlus},
    {Qt::Key_Comma, vk::kOemComma},
    {Qt::Key_Less, vk::kOemComma},
    {Qt::Key_Minus, vk::kOemMinus},
    {Qt::Key_Underscore, vk::kOemMinus},
    {Qt::Key_Period, vk::kOemPeriod},
    {Qt::Key_Greater, vk::kOemPeriod},
    {Qt::Key_Slash, vk::kOem2},
    {Qt::Key_Question, vk::kOem2},
    {Qt::Key_QuoteLeft, vk::kOem3},
    {Qt::Key_AsciiTilde, vk::kOem3},
    {Qt::Key_BracketLeft, vk::kOem4},
    {Qt::Key_BraceLeft, vk::kOem4},
    {Qt::Key_Backslash, vk::kOem5},
    {Qt::Key_Bar, vk::kOem5},
    {Qt::Key_BracketRight, vk::kOem6},
    {Qt::Key_BraceRight, vk::kOem6},
    {Qt::Key_Apostrophe, vk::kOem7},
    {Qt::Key_QuoteDbl, vk::kOem7},
};

constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, vk::kMultiply}, {Qt::Key_Plus, vk::kAdd},
    {Qt::Key_Minus, vk::kSubtract},    {Qt::Key_Period, vk::kDecimal},
    {Qt::Key_Comma, vk::kDecimal},     {Qt::Key_Slash, vk::kDivide},
};

// The system's name for keys outside the fixed table: what Qt calls the key.
Text SystemKeyName(std::uint8_t virtualKey) {
  for (const KeyPair& pair : kKeypadKeys) {
    if (pair.virtualKey == virtualKey)
      return FromQString(QStringLiteral("Num ") + QKeySequence(pair.qtKey).toString());
  }
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.virtualKey == virtualKey) return FromQString(QKeySequence(pair.qtKey).toString());
  }
  return Text();
}

}  // namespace

std::uint8_t VirtualKeyOf(int qtKey, bool keypad) {
  if (keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
      return static_cast<std::uint8_t>(vk::kNumpad0 + (qtKey - Qt::Key_0));
    }
    for (const KeyPair& pair : kKeypadKeys) {
      if (pair.qtKey == qtKey) return pair.virtualKey;
    }
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<std::uint8_t>(qtKey);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::uint8_t>(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
    return static_cast<std::uint8_t>(vk::kF1 + (qtKey - Qt::Key_F1));
  }
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.qtKey == qtKey) return pair.virtualKey;
  }
  return 0;
}

Text HotKeyDisplayText(std::uint16_t code) {
  return reading::HotKeyText(code, SystemKeyName);
}

THotKeyEdit::THotKeyEdit(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);  // typing goes to keyPressEvent, never into the text
  setContextMenuPolicy(Qt::NoContextMenu);
}

void THotKeyEdit::SetHotKey(std::uint16_t code) {
  code_ = code;
  setText(ToQString(HotKeyDisplayText(code)));
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event) {
  const std::uint8_t key = VirtualKeyOf(event->key(), event->modifiers() & Qt::KeypadModifier);
  if (key == 0) {
    event->accept();  // a lone modifier: wait for the key that goes with it
    return;
  }
  std::uint16_t code = key;
  if (event->modifiers() & Qt::ShiftModifier) code |= platform::kHotKeyShift;
  if (event->modifiers() & Qt::ControlModifier) code |= platform::kHotKeyCtrl;
  if (event->modifiers() & Qt::AltModifier) code |= platform::kHotKeyAlt;
  SetHotKey(code);
  emit HotKeyChanged(code);
  event->accept();
}

}  // namespace parlino::app
