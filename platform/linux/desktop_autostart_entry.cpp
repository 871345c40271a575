#include "platform/linux/desktop_autostart_entry.h"

#include <cerrno>
#include <system_error>

#include "platform/platform_error.h"
#include "platform/text_file.h"

namespace parlino::platform::linux_impl {
namespace {

// Characters that make an argument of an Exec line need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

bool IsValidUtf8(const std::string& text) {
  return ToUtf8(FromUtf8(text)) == text;
}

TextView TrimBlanks(TextView text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string DesktopExecValue(const std::string& program, const std::string& arguments) {
  const auto refuse = [&](const std::string& why) {
    throw PlatformError("Parlino cannot start with the desktop from \"" + program + "\": " + why +
                            ", which a desktop entry cannot hold.",
                        EINVAL);
  };
  if (!IsValidUtf8(program)) refuse("the path is not valid UTF-8");
  for (const char c : program) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n' && c != '\t' && c != '\r') || byte == 0x7F) {
      refuse("the path holds a control character");
    }
  }

  // The quoting rules of the Exec key.
  std::string argument;
  const bool quote = program.find_first_of(kReserved) != std::string::npos || program.empty();
  if (quote) argument += '"';
  for (const char c : program) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) argument += '\\';
    argument += c;
  }
  if (quote) argument += '"';

  // A literal '%' is doubled, then the string escapes of every value apply, so that a line break
  // in the path cannot start a key of its own.
  std::string value;
  for (const char c : argument + arguments) {
    switch (c) {
      case '%':
        value += "%%";
        break;
      case '\\':
        value += "\\\\";
        break;
      case '\n':
        value += "\\n";
        break;
      case '\t':
        value += "\\t";
        break;
      case '\r':
        value += "\\r";
        break;
      default:
        value += c;
    }
  }
  return value;
}

DesktopAutostartEntry::DesktopAutostartEntry(std::filesystem::path desktopFile)
    : desktopFile_(std::move(desktopFile)) {}

std::optional<Text> DesktopAutostartEntry::Read() {
  const auto file = ReadTextFile(desktopFile_);
  if (!file) return std::nullopt;
  std::optional<Text> exec;
  bool inMainGroup = false;
  for (const TextLine& line : file->lines) {
    const TextView content = TrimBlanks(line.content());
    if (content.starts_with(u"[")) {
      inMainGroup = content == u"[Desktop Entry]";
      continue;
    }
    const std::size_t equals = content.find(u'=');
    if (!inMainGroup || equals == TextView::npos) continue;
    const TextView key = TrimBlanks(content.substr(0, equals));
    const TextView value = TrimBlanks(content.substr(equals + 1));
    // The desktop's own ways of switching an entry off.
    if (key == u"Hidden" && (value == u"true" || value == u"1")) return std::nullopt;
    if (key == u"X-GNOME-Autostart-enabled" && (value == u"false" || value == u"0")) {
      return std::nullopt;
    }
    if (key == u"Exec" && !exec) exec = Text(value);
  }
  return exec.value_or(Text());
}

void DesktopAutostartEntry::Write(const std::filesystem::path& program, TextView arguments) {
  const std::string exec = DesktopExecValue(program.string(), ToUtf8(arguments));
  std::error_code error;
  std::filesystem::create_directories(desktopFile_.parent_path(), error);
  if (error) throw FileError(true, desktopFile_.parent_path(), error.value());
  const std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Parlino\n"
      "Comment=Reads the selected text aloud\n"
      "Exec=" +
      exec +
      "\n"
      "X-GNOME-Autostart-enabled=true\n";
  ReplaceFileAtomically(desktopFile_, entry);
}

void DesktopAutostartEntry::Remove() {
  std::error_code error;
  std::filesystem::remove(desktopFile_, error);
  if (error) throw FileError(true, desktopFile_, error.value());
}

}  // namespace parlino::platform::linux_impl
