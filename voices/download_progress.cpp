#include "voices/download_progress.h"

#include <cmath>

namespace parlino::voices {
namespace {

constexpr double kMegabyte = 1048576.0;

double RoundToTwoSignificantDigits(double value) {
  if (value <= 0) return 0;
  const double scale = std::pow(10.0, 1 - std::floor(std::log10(value)));
  return std::round(value * scale) / scale;
}

}  // namespace

double ShownMegabytes(std::uint64_t bytes) {
  const double significant = RoundToTwoSignificantDigits(static_cast<double>(bytes) / kMegabyte);
  return std::round(significant * 100) / 100;
}

std::optional<int> ProgressPercent(std::uint64_t done, std::optional<std::uint64_t> total) {
  if (!total) return std::nullopt;
  if (done >= *total) return 100;
  // In 128 bits, done × 100 cannot overflow whatever a server announces.
  __extension__ using Wide = unsigned __int128;
  return static_cast<int>(Wide{done} * 100 / *total);
}

bool ProgressText::Update(std::uint64_t done, std::optional<std::uint64_t> total) {
  const double shownDone = ShownMegabytes(done);
  const std::optional<double> shownTotal =
      total ? std::optional<double>(ShownMegabytes(*total)) : std::nullopt;
  if (done_ == shownDone && total_ == shownTotal) return false;
  done_ = shownDone;
  total_ = shownTotal;
  Text text = twoDecimals_(shownDone) + u" MB";
  if (shownTotal) text += u" of " + twoDecimals_(*shownTotal) + u" MB";
  text += u" completed";
  text_ = std::move(text);
  return true;
}

}  // namespace parlino::voices
