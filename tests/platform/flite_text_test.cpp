#include "platform/linux/flite_text.h"

#include <gtest/gtest.h>

namespace parlino::platform::linux_impl {
namespace {

TEST(FliteTextTest, GivesFliteThePlainEnglishFormOfEveryCharacter) {
  struct Case {
    Text given;
    Text spoken;
  };
  const Case cases[] = {
      {u"Hello, world! 1+1=2 (ok) $5 50% a@b.c #1", u"Hello, world! 1+1=2 (ok) $5 50% a@b.c #1"},
      {u"caf\u00e9 na\u00efve \u00c5ngstr\u00f6m Stra\u00dfe \u00c6sop",
       u"cafe naive Angstrom Strasse AEsop"},
      {u"\u0141\u00f3d\u017a \u0160koda \u0152uvre \u0133s \u0131", u"Lodz Skoda OEuvre ijs i"},
      {u"\u201cquoted\u201d \u2018it\u2019s\u2019 a\u2013b \u2014 wait\u2026",
       u"\"quoted\" 'it's' a-b - wait..."},
      {u"20\u00b0C \u00a35 \u20ac3 \u00bd", u"20 degrees C  pounds 5  euros 3  one half "},
      {u"line\r\nbreak\ttab", u"line  break tab"},
      {u"soft\u00adhy\u200bphen, no\u00a0break", u"softhyphen, no break"},
      // Characters Flite cannot say are one space each, a surrogate pair too.
      {u"a\u2603b \U0001F600c \u4e2d\u0416 \xd800x", u"a b  c     x"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FliteText(c.given), c.spoken) << ToUtf8(c.given);
  }
}

}  // namespace
}  // namespace parlino::platform::linux_impl
