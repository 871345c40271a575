#include "app/settings/data_files.h"

#include "platform/text_file.h"

namespace parlino::app {

void RemoveLeftoverTemporaryFiles(const std::filesystem::path& dataFolder) {
  for (const char* file : kDataFiles) platform::RemoveLeftoverTemporaries(dataFolder / file);
}

}  // namespace parlino::app
