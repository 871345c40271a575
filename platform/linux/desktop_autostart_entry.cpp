#include "platform/linux/desktop_autostart_entry.h"

#include <cerrno>
#include <system_error>

#include "platform/platform_error.h"
#include "platform/text_file.h"

namespace parlino::platform::linux_impl {
namespace {

// Quotes a program path for an Exec line when it holds characters the desktop entry format
// reserves; a plain path stays as it is.
std::string ExecQuoted(const std::string& path) {
  if (path.find_first_of(" \t\n\"'\\><~|&;$*?#()`=%") == std::string::npos) return path;
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  // The format's own escape for a backslash inside a string value doubles it once more.
  std::string escaped;
  for (const char c : quoted + "\"") {
    escaped += c;
    if (c == '\\') escaped += '\\';
  }
  return escaped;
}

}  // namespace

DesktopAutostartEntry::DesktopAutostartEntry(std::filesystem::path desktopFile)
    : desktopFile_(std::move(desktopFile)) {}

std::optional<Text> DesktopAutostartEntry::Read() {
  const auto file = ReadTextFile(desktopFile_);
  if (!file) return std::nullopt;
  for (const TextLine& line : file->lines) {
    if (line.content.starts_with(u"Exec=")) return line.content.substr(5);
  }
  return Text();
}

void DesktopAutostartEntry::Write(const std::filesystem::path& program, TextView arguments) {
  std::error_code error;
  std::filesystem::create_directories(desktopFile_.parent_path(), error);
  if (error) {
    throw PlatformError(
        "Cannot create " + desktopFile_.parent_path().string() + ": " + error.message(),
        error.value());
  }
  const std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Parlino\n"
      "Comment=Reads the selected text aloud\n"
      "Exec=" +
      ExecQuoted(program.string()) + ToUtf8(arguments) +
      "\n"
      "X-GNOME-Autostart-enabled=true\n";
  ReplaceFileAtomically(desktopFile_, entry);
}

void DesktopAutostartEntry::Remove() {
  std::error_code error;
  std::filesystem::remove(desktopFile_, error);
  if (error) throw PlatformError("Cannot remove " + desktopFile_.string(), error.value());
}

}  // namespace parlino::platform::linux_impl
