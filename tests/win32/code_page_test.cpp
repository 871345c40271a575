#include "platform/win32/win32_code_page.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "speech/sapi4/ansi_text.h"
#include "tests/fakes/cp1252_code_page.h"

namespace parlino {
namespace {

using platform::win32_impl::Win32CodePage;

// The tests run with an English locale (run-under-wine), whose ANSI code page is 1252: the
// system's conversion must then agree with the page the other tests assume.
TEST(Win32CodePage, AgreesWithCodePage1252) {
  ASSERT_EQ(GetACP(), 1252u);
  const Win32CodePage system;
  const testing::Cp1252CodePage reference;
  // (A character beyond the 16-bit range is left out: Wine gives a "?" for each of its two
  // code units, where the reference page gives one.)
  const std::u16string texts[] = {u"plain ASCII", u"caf\u00E9 \u20AC5 \u2026",
                                  std::u16string(u"a\0b", 3), u"\u6F22\u5B57 \u0416"};
  for (const std::u16string& text : texts) {
    EXPECT_EQ(system.FromWide(text), reference.FromWide(text));
    EXPECT_EQ(system.ToWide(system.FromWide(text)), reference.ToWide(reference.FromWide(text)));
  }
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  EXPECT_EQ(system.ToWide(everyByte), reference.ToWide(everyByte));
}

TEST(Win32CodePage, AnsiTextEndsInOneZeroByte) {
  const Win32CodePage page;
  EXPECT_EQ(speech::ToAnsiText(page, u""), std::string(1, '\0'));
  EXPECT_EQ(speech::ToAnsiText(page, u"caf\u00E9"), std::string("caf\xE9\0", 5));
}

}  // namespace
}  // namespace parlino
