// A voice package's address as the catalogue gives it: the installer's name taken from it is a
// single plain file name in the downloads folder, or none at all, whatever the address holds.
// Input: the address.
#include <filesystem>

#include "tests/fuzz/fuzz_support.h"
#include "voices/installer_file_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  const Text address = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::optional<Text> name = voices::InstallerFileName(address);
  if (!name) return 0;
  Check(!name->empty() && *name != u"." && *name != u"..", "the name is a file's");
  Check(name->find_first_of(Text(u"/\\\0", 3)) == Text::npos, "the name has no separator");
  const char16_t first = AsciiLower(name->front());
  Check(!(name->size() >= 2 && (*name)[1] == u':' && first >= u'a' && first <= u'z'),
        "the name names no drive");
  const std::filesystem::path folder = "/downloads";
  const std::filesystem::path installer = (folder / ToUtf8(*name)).lexically_normal();
  Check(installer.parent_path() == folder, "the installer lies in the downloads folder");
  return 0;
}
