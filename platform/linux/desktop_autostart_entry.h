#pragma once
#include "platform/autostart_entry.h"

namespace parlino::platform::linux_impl {

// The XDG autostart entry `<config home>/autostart/Parlino.desktop`; its Exec line is the
// registered command. An entry that the desktop has switched off (Hidden=true, or
// X-GNOME-Autostart-enabled=false) counts as none.
class DesktopAutostartEntry final : public AutostartEntry {
 public:
  explicit DesktopAutostartEntry(std::filesystem::path desktopFile);
  // The Exec value as the file holds it.
  std::optional<Text> Read() override;
  // Writes the entry anew, without the marks that switch it off. Throws PlatformError, also for
  // a program path that an Exec line cannot hold (not UTF-8, or a control character).
  void Write(const std::filesystem::path& program, TextView arguments) override;
  void Remove() override;

 private:
  std::filesystem::path desktopFile_;
};

// The Exec value that runs `program` with `arguments` (already in Exec form): the path quoted
// where the format reserves a character, '%' doubled, and the format's string escapes applied.
// Throws PlatformError for a path it cannot hold.
std::string DesktopExecValue(const std::string& program, const std::string& arguments);

}  // namespace parlino::platform::linux_impl
