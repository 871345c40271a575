// Text preparation over large selections: the nine default ignored characters and 100 correction
// rows, half of them ignoring case, some matching very often.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "reading/text_preparation.h"
#include "tests/fakes/fake_pronunciation_settings.h"
#include "tests/reading/reference_text_preparation.h"

namespace parlino {
namespace {

constexpr std::size_t kMi = std::size_t{1} << 20;

// English-like text of `length` characters: common words, sentences, punctuation, paths, quotes
// and line breaks, the same for every run.
Text EnglishLikeText(std::size_t length) {
  static constexpr std::string_view kVocabulary =
      "the of and a to in is you that it he was for on are as with his they I at be this have "
      "from or one had by word but not what all were we when your can said there use an each "
      "which she do how their if will up other about out many then them these so some her would "
      "make like him into time has look two more write go see number no way could people my "
      "than first water been call who oil its now find long down day did get come made may part "
      "Dr Mr Mrs SQL e.g. etc GUI don't it's \"quoted\" C:\\Users\\data\\file_name.txt "
      "https://example.org/a/b *important* `code` ~approx Drive MySQL Windows Linux April";
  std::vector<std::string> words;
  for (std::size_t start = 0; start < kVocabulary.size();) {
    const std::size_t end = std::min(kVocabulary.find(' ', start), kVocabulary.size());
    words.emplace_back(kVocabulary.substr(start, end - start));
    start = end + 1;
  }
  std::mt19937 random(42);
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  text.reserve(length + 64);
  bool sentenceStart = true;
  while (text.size() < length) {
    std::string word = words[pick(random)];
    if (sentenceStart && word[0] >= 'a' && word[0] <= 'z') {
      word[0] = static_cast<char>(word[0] - 'a' + 'A');
    }
    text += word;
    sentenceStart = false;
    const int p = percent(random);
    if (p < 6) {
      text += ". ";
      sentenceStart = true;
    } else if (p < 8) {
      text += ".\r\n";
      sentenceStart = true;
    } else if (p < 12) {
      text += ", ";
    } else if (p < 13) {
      text += ": ";
    } else {
      text += ' ';
    }
  }
  text.resize(length);
  return FromUtf8(text);
}

testing::FakePronunciationSettings BenchSettings() {
  testing::FakePronunciationSettings settings;
  settings.ignoreCharacters = true;
  settings.ignoredCharacters = u"*\\/\"`_~:'";
  settings.wordsCorrections = true;
  settings.rows = {
      {u"a", u"ay", u"No"},          {u"the", u"thee", u"Yes"},  {u"Dr", u"Doctor", u"Yes"},
      {u"Mr", u"Mister", u"Yes"},    {u"Mrs", u"Missis", u"No"}, {u"e.g.", u"for example", u"No"},
      {u"etc", u"et cetera", u"No"}, {u"SQL", u"sequel", u"No"}, {u"GUI", u"gooey", u"Yes"},
      {u"of", u"ov", u"No"},         {u"to", u"too", u"Yes"},    {u"is", u"iz", u"No"},
      {u"in", u"inn", u"Yes"},       {u"and", u"", u"No"},       {u"you", u"ya", u"Yes"},
  };
  // The rest: words that turn up now and then or never, alternating case marks.
  static const char16_t* const kRare[] = {u"water", u"people", u"number", u"Linux", u"Windows",
                                          u"April", u"oil",    u"write",  u"could", u"first"};
  for (int i = 0; settings.rows.size() < 100; ++i) {
    const Text word = i < 10 ? Text(kRare[i]) : u"zq" + ToText(i) + u"x";
    settings.rows.push_back({word, u"[" + word + u"]", i % 2 == 0 ? u"No" : u"Yes"});
  }
  return settings;
}

const Text& CachedText(std::size_t length) {
  static std::map<std::size_t, Text> texts;
  auto [it, inserted] = texts.try_emplace(length);
  if (inserted) it->second = EnglishLikeText(length);
  return it->second;
}

template <Text (*Prepare)(Text, const reading::PronunciationSettings&)>
void RunPreparation(benchmark::State& state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  const Text& raw = CachedText(length);
  const testing::FakePronunciationSettings settings = BenchSettings();
  std::size_t resultLength = 0;
  for (auto _ : state) {
    Text prepared = Prepare(raw, settings);
    resultLength = prepared.size();
    benchmark::DoNotOptimize(prepared.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(length));
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(length * sizeof(char16_t)));
  state.counters["result_chars"] = static_cast<double>(resultLength);
}

void BM_PrepareText(benchmark::State& state) {
  RunPreparation<reading::PrepareText>(state);
}
void BM_Reference(benchmark::State& state) {
  RunPreparation<testing::ReferencePrepareText>(state);
}

BENCHMARK(BM_PrepareText)
    ->Arg(64 * 1024)
    ->Arg(1 * kMi)
    ->Arg(8 * kMi)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference)->Arg(64 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace parlino

BENCHMARK_MAIN();
