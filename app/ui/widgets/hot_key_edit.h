#pragma once
#include <QLineEdit>
#include <cstdint>

#include "platform/text.h"

namespace parlino::app {

// A hot key control: the user presses a key combination and the control shows its text; its
// value is a hot key code (virtual key in the low byte, Shift/Ctrl/Alt bits above).
class THotKeyEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit THotKeyEdit(QWidget* parent = nullptr);

  std::uint16_t HotKey() const { return code_; }
  void SetHotKey(std::uint16_t code);

 signals:
  void HotKeyChanged(std::uint16_t code);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::uint16_t code_ = 0;
};

// The virtual-key code of a Qt key, 0 for keys that have none (modifiers alone among them).
std::uint8_t VirtualKeyOf(int qtKey, bool keypad);

// The text a hot key control shows for a code; keys outside the fixed table by Qt's names.
Text HotKeyDisplayText(std::uint16_t code);

}  // namespace parlino::app
