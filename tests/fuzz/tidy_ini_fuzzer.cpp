// TidyIniFile on any file: it keeps every line that holds something, in order, and tidying a
// tidy file changes nothing. Input: the file.
#include <vector>

#include "app/settings/tidy_ini_file.h"
#include "platform/text_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace parlino::fuzz {
namespace {

// The lines that tidying must keep: all but the empty ones and those of a single space.
std::vector<Text> Kept(const platform::TextFile& file) {
  std::vector<Text> lines;
  for (const platform::TextLine& line : file.lines) {
    if (!line.content().empty() && line.content() != u" ") lines.push_back(line.content());
  }
  return lines;
}

}  // namespace
}  // namespace parlino::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path file = ScratchFile("tidy.ini");
  WriteBytes(file, bytes);
  const platform::TextFile given = platform::ParseText(std::string(bytes));

  app::TidyIniFile(file);
  const std::string once = ReadBytes(file);
  const platform::TextFile tidied = platform::ParseText(once);
  // A file without a mark whose first kept line starts as one would gets a UTF-8 mark.
  Check(tidied.encoding == given.encoding || (given.encoding == platform::TextEncoding::Utf8 &&
                                              tidied.encoding == platform::TextEncoding::Utf8Bom),
        "the encoding stays");
  Check(Kept(tidied) == Kept(given), "every line that holds something stays, in order");

  app::TidyIniFile(file);
  Check(ReadBytes(file) == once, "tidying twice gives what tidying once gave");
  return 0;
}
