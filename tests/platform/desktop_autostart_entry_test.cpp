#include "platform/linux/desktop_autostart_entry.h"

#include <gtest/gtest.h>

#include "platform/platform_error.h"
#include "tests/fakes/temp_dir.h"

namespace parlino {
namespace {

using platform::linux_impl::DesktopAutostartEntry;
using platform::linux_impl::DesktopExecValue;
using testing::ReadBytes;
using testing::WriteBytes;

TEST(DesktopAutostartEntry, WriteReadRemove) {
  testing::TempDir dir;
  DesktopAutostartEntry entry(dir / "autostart" / "Parlino.desktop");
  EXPECT_EQ(entry.Read(), std::nullopt);
  entry.Remove();  // removing a missing entry is no error

  entry.Write("/opt/parlino/parlino", u" -autostart");
  EXPECT_EQ(entry.Read(), u"/opt/parlino/parlino -autostart");

  entry.Write("/home/a b/parlino", u" -autostart");
  EXPECT_EQ(entry.Read(), u"\"/home/a b/parlino\" -autostart");

  entry.Remove();
  EXPECT_EQ(entry.Read(), std::nullopt);
}

TEST(DesktopAutostartEntry, ExecLineQuotesAndEscapesThePath) {
  const std::pair<std::string, std::string> cases[] = {
      {"/opt/parlino/parlino", "/opt/parlino/parlino -autostart"},
      {"/opt/my reader/parlino", "\"/opt/my reader/parlino\" -autostart"},
      {"/opt/100%/parlino", "/opt/100%%/parlino -autostart"},
      {"/opt/a \"b\"/p", "\"/opt/a \\\\\"b\\\\\"/p\" -autostart"},
      {"/opt/it's/p", "\"/opt/it's/p\" -autostart"},
      {"/opt/$HOME/`x`/p", "\"/opt/\\\\$HOME/\\\\`x\\\\`/p\" -autostart"},
      {"/opt/back\\slash/p", "\"/opt/back\\\\\\\\slash/p\" -autostart"},
      {"/opt/x\nHidden=true\n/p", "\"/opt/x\\nHidden=true\\n/p\" -autostart"},
      {"/opt/tab\there/p", "\"/opt/tab\\there/p\" -autostart"},
      {"/opt/caf\xC3\xA9/p", "/opt/caf\xC3\xA9/p -autostart"},
  };
  for (const auto& [path, exec] : cases) {
    EXPECT_EQ(DesktopExecValue(path, " -autostart"), exec) << path;
  }

  // A line break in the path never makes a key of its own.
  testing::TempDir dir;
  DesktopAutostartEntry entry(dir / "Parlino.desktop");
  entry.Write("/opt/x\nHidden=true\n/p", u" -autostart");
  EXPECT_EQ(
      ReadBytes(dir / "Parlino.desktop"),
      "[Desktop Entry]\nType=Application\nName=Parlino\nComment=Reads the selected text "
      "aloud\nExec=\"/opt/x\\nHidden=true\\n/p\" -autostart\nX-GNOME-Autostart-enabled=true\n");
  EXPECT_TRUE(entry.Read().has_value());
}

TEST(DesktopAutostartEntry, PathsTheFormatCannotHoldAreRefused) {
  testing::TempDir dir;
  DesktopAutostartEntry entry(dir / "Parlino.desktop");
  for (const std::string path : {"/opt/caf\xE9/p", "/opt/bell\x07/p", "/opt/del\x7F/p"}) {
    EXPECT_THROW(entry.Write(path, u" -autostart"), PlatformError) << path;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "Parlino.desktop"));
}

TEST(DesktopAutostartEntry, TheDesktopsOffMarksReadAsOff) {
  testing::TempDir dir;
  const auto file = dir / "Parlino.desktop";
  DesktopAutostartEntry entry(file);
  const std::pair<std::string, bool> cases[] = {
      {"Hidden=true\n", false},
      {"Hidden = true\n", false},
      {"X-GNOME-Autostart-enabled=false\n", false},
      {"Hidden=false\nX-GNOME-Autostart-enabled=true\n", true},
      {"[Desktop Action x]\nHidden=true\n", true},  // another group's key
  };
  for (const auto& [marks, on] : cases) {
    WriteBytes(file, "[Desktop Entry]\nType=Application\nExec=/opt/parlino -autostart\n" + marks);
    EXPECT_EQ(entry.Read().has_value(), on) << marks;
  }
  // Turning it on again removes the marks.
  WriteBytes(file, "[Desktop Entry]\nExec=/opt/parlino -autostart\nHidden=true\n");
  entry.Write("/opt/parlino", u" -autostart");
  EXPECT_EQ(entry.Read(), u"/opt/parlino -autostart");
  EXPECT_EQ(ReadBytes(file).find("Hidden"), std::string::npos);
}

}  // namespace
}  // namespace parlino
