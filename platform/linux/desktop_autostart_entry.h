#pragma once
#include "platform/autostart_entry.h"

namespace parlino::platform::linux_impl {

// The XDG autostart entry `<config home>/autostart/Parlino.desktop`; its Exec line is the
// registered command.
class DesktopAutostartEntry final : public AutostartEntry {
 public:
  explicit DesktopAutostartEntry(std::filesystem::path desktopFile);
  std::optional<Text> Read() override;
  void Write(const std::filesystem::path& program, TextView arguments) override;
  void Remove() override;

 private:
  std::filesystem::path desktopFile_;
};

}  // namespace parlino::platform::linux_impl
