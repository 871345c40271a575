#include "platform/windows_1252.h"

#include <gtest/gtest.h>

#include <random>

namespace parlino {
namespace {

using platform::DecodeUtf8OrWindows1252;
using platform::IsValidUtf8;

TEST(Windows1252, DecodesEveryByteAsOneCharacter) {
  EXPECT_EQ(platform::DecodeWindows1252("Caf\xE9 \x80 \x9F \x81 \xFF"),
            u"Caf\u00E9 \u20AC \u0178 \u0081 \u00FF");
}

TEST(Windows1252, ValidUtf8IsReadAsUtf8AndAnythingElseAsWindows1252) {
  EXPECT_EQ(DecodeUtf8OrWindows1252("Caf\xC3\xA9 \xE2\x82\xAC"), u"Caf\u00E9 \u20AC");
  EXPECT_EQ(DecodeUtf8OrWindows1252("Caf\xE9"), u"Caf\u00E9");
  // A replacement character that is really in the text stays one.
  EXPECT_EQ(DecodeUtf8OrWindows1252("\xEF\xBF\xBD"), u"\uFFFD");
}

// Valid exactly when UTF-8 decoding loses nothing, over every short sequence a random source
// gives, weighted towards the bytes that start and continue multi-byte forms.
TEST(Windows1252, Utf8CheckAgreesWithTheDecoder) {
  for (const std::string_view bad :
       {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\x80", "\xF8"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(bad);
  }
  std::mt19937 random(7);
  const unsigned char interesting[] = {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC2, 0xC0,
                                       0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  for (int round = 0; round < 200000; ++round) {
    std::string bytes(1 + random() % 5, '\0');
    for (char& byte : bytes) {
      byte = static_cast<char>(random() % 2 ? interesting[random() % sizeof interesting]
                                            : random() % 256);
    }
    ASSERT_EQ(IsValidUtf8(bytes), ToUtf8(FromUtf8(bytes)) == bytes)
        << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace parlino
