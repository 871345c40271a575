#include "reading/text_preparation.h"

#include <algorithm>
#include <bitset>
#include <memory>

#include "reading/replace_all.h"

namespace parlino::reading {
namespace {

// Replacing each listed character by a space in turn is the same as one pass that turns every
// listed character into a space: a space stays a space whatever comes later in the list.
void BlankIgnoredCharacters(TextView ignored, Text& text) {
  if (ignored.empty()) return;
  auto listed = std::make_unique<std::bitset<0x10000>>();
  for (const char16_t c : ignored) listed->set(c);
  for (char16_t& c : text) {
    if (listed->test(c)) c = u' ';
  }
}

}  // namespace

Text ApplyCorrections(TextView text, const std::vector<corrections::Correction>& rows,
                      std::size_t pieceLength) {
  std::vector<ReplaceStream> stages;
  // Room in front of a piece for the unsettled ends that the stages put before it, at most the
  // length of a row's word and pronunciation each.
  std::size_t headroom = 0;
  for (const corrections::Correction& row : rows) {
    // An empty word is never found: such a row changes nothing.
    if (row.word.empty()) continue;
    stages.emplace_back(row.word, row.pronunciation, IgnoresCase(row));
    headroom += row.word.size() + row.pronunciation.size();
  }
  if (stages.empty()) return Text(text);
  pieceLength = std::max<std::size_t>(pieceLength, 1);

  Text result;
  // Room for the text to grow by half; pages never written cost nothing.
  result.reserve(text.size() + text.size() / 2);
  // A stage reads [begin, end) of one buffer. When it changes nothing there, the next stage reads
  // the settled beginning of the same range with its own unsettled end put in front; otherwise
  // it reads what the stage wrote into the other buffer after that end.
  Text buffers[2];
  for (std::size_t start = 0;; start += pieceLength) {
    const bool last = text.size() - start <= pieceLength;
    Text* in = &buffers[0];
    in->resize(headroom);
    in->append(text.substr(start, pieceLength));
    std::size_t begin = headroom - stages.front().Unsettled().size();
    std::size_t end = in->size();
    in->replace(begin, stages.front().Unsettled().size(), stages.front().Unsettled());
    for (std::size_t k = 0; k < stages.size(); ++k) {
      const bool finalStage = k + 1 == stages.size();
      Text* out = finalStage ? &result : (in == &buffers[0] ? &buffers[1] : &buffers[0]);
      if (!finalStage) {
        out->resize(headroom);
        out->append(stages[k + 1].Unsettled());
      }
      const std::size_t settled =
          stages[k].Scan(TextView(*in).substr(begin, end - begin), last, *out);
      if (settled == ReplaceStream::kWritten) {
        in = out;
        begin = headroom;
        end = out->size();
      } else if (finalStage) {
        result.append(TextView(*in).substr(begin, settled));
      } else {
        const Text& unsettled = stages[k + 1].Unsettled();
        end = begin + settled;
        begin -= unsettled.size();
        in->replace(begin, unsettled.size(), unsettled);
      }
    }
    if (last) return result;
  }
}

Text PrepareText(Text raw, const PronunciationSettings& settings) {
  if (settings.IgnoreCharacters()) BlankIgnoredCharacters(settings.IgnoredCharacters(), raw);
  if (!settings.WordsCorrections()) return raw;
  return ApplyCorrections(raw, settings.Corrections());
}

}  // namespace parlino::reading
