// The pitch markup in front of a modern voice's text: whatever the text, the voice speaks a part
// of it as given and a pitch in range; and the prefix the program writes for a step always reads
// back as that step (clamped to the range) with the text after it untouched.
// Input: a step on the first line, then the text. A text that starts with "#" is taken as raw
// UTF-16 (little-endian) code units after it, so that lone surrogates come in too.
#include <algorithm>

#include "platform/linux/speech_text.h"
#include "speech/catalogue/value_scales.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The spaces the voice skips at the end of a text.
bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' ||
         c == 0x00A0 || c == 0x3000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  using platform::linux_impl::kMaxPitch;
  using platform::linux_impl::kMinPitch;
  using platform::linux_impl::ParseSpeechText;
  Fields fields(data, size);
  const std::int32_t step = ParseInteger(FromUtf8(fields.Next())).value_or(0);
  const std::string_view rest = fields.Rest();
  Text text;
  if (rest.starts_with('#')) {
    for (std::size_t i = 1; i + 1 < rest.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(rest[i]) |
                                           static_cast<unsigned char>(rest[i + 1]) << 8));
    }
  } else {
    text = FromUtf8(rest);
  }

  const auto parsed = ParseSpeechText(text);
  Check(parsed.pitch >= kMinPitch && parsed.pitch <= kMaxPitch, "the pitch is in range");
  Check(parsed.offset <= text.size() && parsed.body.size() <= text.size() - parsed.offset,
        "the spoken part lies within the text");
  Check(parsed.body == TextView(text).substr(parsed.offset, parsed.body.size()),
        "the spoken part is the text as given", parsed.body,
        TextView(text).substr(parsed.offset, parsed.body.size()));

  const Text prefix = speech::PitchPrefix(step);
  const Text marked = prefix + text;
  const auto again = ParseSpeechText(marked);
  Check(again.pitch == std::clamp(step, kMinPitch, kMaxPitch), "the step reads back");
  Check(again.offset == prefix.size(), "the spoken part starts after the prefix");
  // A "</pitch>" at the very end, spaces after it aside, closes the prefix and is not spoken.
  TextView expected = text;
  TextView trimmed = text;
  while (!trimmed.empty() && IsSpace(trimmed.back())) trimmed.remove_suffix(1);
  if (trimmed.size() >= 8 &&
      EqualsIgnoreAsciiCase(trimmed.substr(trimmed.size() - 8), u"</pitch>")) {
    expected = trimmed.substr(0, trimmed.size() - 8);
  }
  Check(again.body == expected, "the text after the prefix is spoken as it stands", again.body,
        expected);
  return 0;
}
