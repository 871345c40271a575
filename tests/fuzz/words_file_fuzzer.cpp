// words.ini on any bytes: every line gives a row, and the rows the editor could have written
// come back unchanged through a write and a read. Input: the file.
#include <vector>

#include "corrections/words_file.h"
#include "platform/linux/utf8_code_page.h"
#include "tests/fuzz/fuzz_support.h"

namespace parlino::fuzz {
namespace {

bool HasLineBreakOrNul(TextView text) {
  return text.find_first_of(TextView(u"\r\n\0", 3)) != TextView::npos;
}

// Half of a surrogate pair has no bytes in any code page; cutting a malformed line eight
// characters in can leave one.
bool HasLoneSurrogate(TextView text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (high || low) {
      return true;
    }
  }
  return false;
}

}  // namespace
}  // namespace parlino::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  using corrections::Correction;
  const platform::linux_impl::Utf8CodePage page;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::vector<Correction> rows = corrections::ParseWordsFile(bytes, page);
  std::vector<Correction> storable;
  for (const Correction& row : rows) {
    if (corrections::IsStorableField(row.word) && corrections::IsStorableField(row.pronunciation) &&
        !HasLineBreakOrNul(row.caseMark) && !HasLoneSurrogate(row.word) &&
        !HasLoneSurrogate(row.pronunciation) && !HasLoneSurrogate(row.caseMark)) {
      storable.push_back(row);
    }
  }
  const std::string written = corrections::EncodeWordsFile(storable, page);
  Check(corrections::ParseWordsFile(written, page) == storable,
        "rows that can be stored read back as they were written");
  Check(corrections::EncodeWordsFile(corrections::ParseWordsFile(written, page), page) == written,
        "writing what was read gives the same bytes");
  return 0;
}
