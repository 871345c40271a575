#pragma once
// How far a download has come, as the window shows it: the bar's position and a text such as
// "2.90 MB of 5.70 MB completed".
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/text.h"

namespace parlino::voices {

// Megabytes (of 1 048 576 bytes) as the progress text shows them: rounded to two significant
// digits, then to at most two decimals. 1.234 MB shows as 1.20, 1234 MB as 1,200.00.
double ShownMegabytes(std::uint64_t bytes);

// The bar's position 0..100, done × 100 / total rounded down; nothing without a total, for a
// busy bar.
std::optional<int> ProgressPercent(std::uint64_t done, std::optional<std::uint64_t> total);

// Prints a number with exactly two decimals in the user's locale.
using TwoDecimals = std::function<Text(double)>;

// The progress text: "<done> MB of <total> MB completed", or "<done> MB completed" without a
// total. It changes far more rarely than blocks arrive, so it is only printed anew when a
// shown number changes.
class ProgressText {
 public:
  explicit ProgressText(TwoDecimals twoDecimals) : twoDecimals_(std::move(twoDecimals)) {}

  // The text for this point; true when it differs from the last one.
  bool Update(std::uint64_t done, std::optional<std::uint64_t> total);
  const Text& text() const { return text_; }

 private:
  TwoDecimals twoDecimals_;
  std::optional<double> done_;
  std::optional<double> total_;
  Text text_;
};

}  // namespace parlino::voices
