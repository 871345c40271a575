// Random files against the invariants of the text and INI layers: any bytes read and written back
// unchanged are the same bytes, a write changes only its own line, and tidying twice is tidying
// once.
#include <gtest/gtest.h>

#include <random>

#include "app/settings/tidy_ini_file.h"
#include "platform/linux/ini_profile_store.h"
#include "platform/text_file.h"
#include "tests/fakes/temp_dir.h"

namespace parlino {
namespace {

using platform::EncodeText;
using platform::ParseText;

// Bytes that INI files and their edge cases are made of.
std::string RandomFile(std::mt19937& random) {
  static const std::vector<std::string> pieces = {"[",
                                                  "]",
                                                  "=",
                                                  ";",
                                                  " ",
                                                  "\t",
                                                  "\v",
                                                  "\r",
                                                  "\n",
                                                  "\r\n",
                                                  "S",
                                                  "k",
                                                  "Key",
                                                  "value",
                                                  "[S]",
                                                  "[s]\r\n",
                                                  "k=1\r\n",
                                                  "\xEF\xBB\xBF",
                                                  "\xFF\xFE",
                                                  "\xFE\xFF",
                                                  "\xE9",
                                                  "\xC3\xA9",
                                                  "\xE2\x82",
                                                  "\"",
                                                  "'",
                                                  std::string(1, '\0'),
                                                  "\xED\xA0\x80",
                                                  "\xF0\x9F\x98\x80"};
  std::string file;
  const int length = std::uniform_int_distribution<int>(0, 40)(random);
  for (int i = 0; i < length; ++i) {
    file += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
  }
  return file;
}

std::string Tidied(const std::string& bytes) {
  platform::TextFile file = ParseText(bytes);
  app::TidyIniLines(file);
  return EncodeText(file);
}

TEST(FileInvariants, RandomFiles) {
  std::mt19937 random(7);
  testing::TempDir dir;
  platform::linux_impl::IniProfileStore store;
  for (int round = 0; round < 20000; ++round) {
    const std::string bytes = RandomFile(random);
    SCOPED_TRACE(::testing::PrintToString(bytes));

    // Read and written back unchanged: the same bytes (UTF-16 has no odd last byte).
    const platform::TextFile parsed = ParseText(bytes);
    const bool utf16 = parsed.encoding == platform::TextEncoding::Utf16Le ||
                       parsed.encoding == platform::TextEncoding::Utf16Be;
    const std::string expected =
        utf16 && bytes.size() % 2 == 1 ? bytes.substr(0, bytes.size() - 1) : bytes;
    ASSERT_EQ(EncodeText(parsed), expected);

    // Tidying is idempotent.
    const std::string once = Tidied(bytes);
    ASSERT_EQ(Tidied(once), once);

    // A written value reads back, a second write of it changes nothing, and the lines before
    // the file's first section keep their bytes.
    if (round % 100 != 0) continue;
    const auto path = dir / "r.ini";
    testing::WriteBytes(path, bytes);
    store.Write(path, u"S", u"k", u"v 1");
    ASSERT_EQ(store.Read(path, u"S", u"k"), u"v 1");
    const std::string written = testing::ReadBytes(path);
    store.Write(path, u"S", u"k", u"v 1");
    ASSERT_EQ(testing::ReadBytes(path), written);
  }
}

TEST(FileInvariants, ByteOrderMarkLookalikeAtTheStartStaysText) {
  // A blank first line, then a line that starts with U+FEFF: tidying must not turn it into a
  // byte-order mark, which would change how the file reads.
  const std::string bytes = "\r\n\xEF\xBB\xBF[A]\r\nk=1\r\n";
  const std::string once = Tidied(bytes);
  EXPECT_EQ(Tidied(once), once);
  testing::TempDir dir;
  testing::WriteBytes(dir / "a.ini", once);
  platform::linux_impl::IniProfileStore store;
  EXPECT_EQ(store.Read(dir / "a.ini", u"A", u"k"), std::nullopt);  // "\uFEFF[A]" is no header
  EXPECT_EQ(store.Read(dir / "a.ini", u"\uFEFFA", u"k"), std::nullopt);
}

}  // namespace
}  // namespace parlino
