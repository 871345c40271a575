// add_voices.ini on any bytes: at most 255 packages, each with the values the profile store reads
// from its section, one line each; the installers' names have a target of their own.
// Input: the file.
#include "platform/linux/ini_profile_store.h"
#include "tests/fuzz/fuzz_support.h"
#include "voices/package_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  const std::filesystem::path file = ScratchFile("add_voices.ini");
  WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));
  platform::linux_impl::IniProfileStore store;

  const std::vector<voices::VoicePackage> packages = voices::ReadPackageCatalogue(store, file);
  Check(packages.size() <= 255, "at most 255 packages");
  for (std::size_t i = 0; i < packages.size(); ++i) {
    const Text section = u"File_" + ToText(static_cast<int>(i) + 1);
    const auto stored = [&](TextView key) {
      return store.Read(file, section, key).value_or(Text());
    };
    const voices::VoicePackage& package = packages[i];
    Check(package.title == stored(u"Title"), "the title as stored", package.title,
          stored(u"Title"));
    Check(package.size == stored(u"Size"), "the size as stored", package.size, stored(u"Size"));
    Check(package.url == stored(u"URL"), "the address as stored", package.url, stored(u"URL"));
    for (const Text* text : {&package.title, &package.size, &package.url}) {
      Check(text->find_first_of(u"\r\n") == Text::npos, "a value is one line");
    }
  }
  return 0;
}
