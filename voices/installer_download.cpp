#include "voices/installer_download.h"

#include "platform/platform_error.h"

namespace parlino::voices {

InstallerDownload::InstallerDownload(platform::Downloads& downloads, TextView agent,
                                     TextView address, std::filesystem::path target,
                                     Observer& observer)
    : observer_(observer) {
  DownloadFile::RemoveLeftovers(target);
  file_ = std::make_unique<DownloadFile>(std::move(target));
  download_ = downloads.Start(agent, address, *this);
}

void InstallerDownload::Started(std::optional<std::uint64_t> contentLength) {
  total_ = contentLength;
  observer_.Progress(0, total_);
}

bool InstallerDownload::Received(std::string_view block) {
  try {
    file_->Append(block);
  } catch (const PlatformError& error) {
    Fail(error.what());
    return false;
  }
  if (total_ && file_->Size() > *total_) {
    Fail("The server sent more than it announced.");
    return false;
  }
  observer_.Progress(file_->Size(), total_);
  return true;
}

void InstallerDownload::Finished(std::optional<std::string> error) {
  if (error) return Fail(std::move(*error));
  if (file_->Size() == 0) return Fail("The server sent an empty file.");
  if (total_ && file_->Size() != *total_) return Fail("The server sent less than it announced.");
  try {
    file_->Complete();
  } catch (const PlatformError& failure) {
    return Fail(failure.what());
  }
  observer_.Done(true);
}

void InstallerDownload::Fail(std::string problem) {
  problem_ = std::move(problem);
  file_.reset();  // the partial file goes at once
  observer_.Done(false);
}

}  // namespace parlino::voices
