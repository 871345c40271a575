#include "voices/package_catalogue.h"

#include <cstdint>

#include "voices/installer_file_name.h"

namespace parlino::voices {

std::vector<VoicePackage> ReadPackageCatalogue(platform::ProfileStore& store,
                                               const std::filesystem::path& catalogue) {
  const auto file = store.Open(catalogue);
  const auto read = [&](TextView section, TextView key) {
    return file->Read(section, key).value_or(Text());
  };
  const auto count =
      static_cast<std::uint8_t>(ParseInteger(read(u"Info", u"Count")).value_or(0) & 0xFF);

  std::vector<VoicePackage> packages;
  packages.reserve(count);
  for (int d = 1; d <= count; ++d) {
    const Text section = u"File_" + ToText(d);
    VoicePackage package{read(section, u"Title"), read(section, u"Size"), read(section, u"URL"),
                         std::nullopt};
    package.fileName = InstallerFileName(package.url);
    packages.push_back(std::move(package));
  }
  return packages;
}

}  // namespace parlino::voices
