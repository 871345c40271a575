#include "speech/sapi4/ansi_text.h"

#include <gtest/gtest.h>

#include "platform/linux/utf8_code_page.h"
#include "tests/fakes/cp1252_code_page.h"

namespace parlino::speech {
namespace {

using namespace std::string_literals;

struct AnsiCase {
  const char* name;
  std::u16string text;
  std::string utf8;
  std::string cp1252;
};

void PrintTo(const AnsiCase& c, std::ostream* os) {
  *os << c.name;
}

class ToAnsiTextTest : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(ToAnsiTextTest, ConvertsWithOneClosingZeroByte) {
  EXPECT_EQ(ToAnsiText(platform::linux_impl::Utf8CodePage(), GetParam().text), GetParam().utf8);
  EXPECT_EQ(ToAnsiText(testing::Cp1252CodePage(), GetParam().text), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToAnsiTextTest,
    ::testing::Values(AnsiCase{"empty", u"", "\0"s, "\0"s},
                      AnsiCase{"ascii", u"Hello.", "Hello.\0"s, "Hello.\0"s},
                      AnsiCase{"latin1", u"café", "caf\xC3\xA9\0"s, "caf\xE9\0"s},
                      AnsiCase{"cp1252_specials", u"€ – “q”",
                               "\xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9Cq\xE2\x80\x9D\0"s,
                               "\x80 \x96 \x93q\x94\0"s},
                      AnsiCase{"outside_the_page", u"Привет",
                               "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\0"s, "??????\0"s},
                      AnsiCase{"surrogate_pair_is_one_character", u"a\U0001F600b",
                               "a\xF0\x9F\x98\x80"
                               "b\0"s,
                               "a?b\0"s},
                      AnsiCase{"lone_surrogate", u"a\xD800", "a\xEF\xBF\xBD\0"s, "a?\0"s},
                      AnsiCase{"inner_zero_kept", u"a\0b"s, "a\0b\0"s, "a\0b\0"s}));

TEST(Cp1252CodePageTest, ReadsTheHighHalfAsThePlatformDoes) {
  EXPECT_EQ(testing::Cp1252CodePage().ToWide("\x80\x81\x9F\xA0\xE9\xFF"), u"€\u0081Ÿ\u00A0éÿ");
}

}  // namespace
}  // namespace parlino::speech
