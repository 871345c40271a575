#include "corrections/correction_rules.h"

#include <gtest/gtest.h>

namespace parlino::corrections {
namespace {

TEST(CorrectionRules, TheEditorsCheck) {
  const std::vector<Correction> rows = {{u"SQL", u"sequel", u"No"}, {u"Dr", u"Doctor", u"Yes"}};
  const struct {
    const char16_t* word;
    const char16_t* pronunciation;
    bool addMode;
    std::optional<Text> message;
  } cases[] = {
      {u"", u"anything", true, Text(kEmptyWordMessage)},
      {u"", u"anything", false, Text(kEmptyWordMessage)},
      {u"SQL", u"squeal", true,
       u"Sorry, but pronunciation correction for \"SQL\"  already exists."},
      {u"SQL", u"squeal", false, std::nullopt},  // editing makes no such check
      {u"Sql", u"sequel", true, std::nullopt},   // the comparison keeps case
      {u" SQL", u"sequel", true, std::nullopt},  // spaces are part of the word
      {u"   ", u"space", true, std::nullopt},
      {u"etc", u"", true, std::nullopt},  // an empty pronunciation deletes the word
      {u"a###***###b", u"x", true, Text(kUnstorableMessage)},
      {u"x", u"a###***###b", false, Text(kUnstorableMessage)},
      {u"x###***", u"y", true, Text(kUnstorableMessage)},
      {u"x", u"two\nlines", true, Text(kUnstorableMessage)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckCorrection(c.word, c.pronunciation, c.addMode, rows), c.message)
        << ToUtf8(c.word) << " / " << ToUtf8(c.pronunciation) << " / add " << c.addMode;
  }
}

TEST(CorrectionRules, TheRowAndTheQuestion) {
  EXPECT_EQ(MakeCorrection(u" Dr ", u"", true), (Correction{u" Dr ", u"", u"Yes"}));
  EXPECT_EQ(MakeCorrection(u"sql", u"sequel", false), (Correction{u"sql", u"sequel", u"No"}));
  EXPECT_EQ(DeleteQuestion(u"Dr"),
            u"Are you sure to delete pronunciation correction for word \"Dr\"?");
}

}  // namespace
}  // namespace parlino::corrections
