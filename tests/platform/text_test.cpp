#include "platform/text.h"

#include <gtest/gtest.h>

namespace parlino {
namespace {

TEST(Text, Utf8RoundTripAndInvalidInput) {
  const std::u16string sample = u"a\u00E9\u0416\u20AC\U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(sample)), sample);
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");                      // truncated sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong form
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");              // lone surrogate
}

TEST(Text, TrimAndCase) {
  EXPECT_EQ(Trim(u" \t\r\n word \x01"), u"word");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_TRUE(EqualsIgnoreAsciiCase(u"Speech", u"sPEECH"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase(u"\u00C9", u"\u00E9"));  // only A to Z fold
}

}  // namespace
}  // namespace parlino
