#pragma once
// Direct copying from the program's own windows, for when one of them is in front.

namespace parlino::platform {

class FocusCopy {
 public:
  virtual ~FocusCopy() = default;
  // When one of the program's windows has the focus and its focused control is a text control,
  // that control copies its selection to the clipboard; otherwise nothing happens.
  virtual void CopyFocusedSelection() = 0;
};

}  // namespace parlino::platform
