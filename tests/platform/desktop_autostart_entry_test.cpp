#include "platform/linux/desktop_autostart_entry.h"

#include <gtest/gtest.h>

#include "tests/fakes/temp_dir.h"

namespace parlino {
namespace {

using platform::linux_impl::DesktopAutostartEntry;

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

}  // namespace
}  // namespace parlino
