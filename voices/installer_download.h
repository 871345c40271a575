#pragma once
// One package's installer, downloaded into the downloads folder: the body goes into a temporary
// file that takes the installer's name only when all of it arrived, with as many bytes as the
// server announced, and at least one.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/downloads.h"
#include "voices/download_file.h"

namespace parlino::voices {

class InstallerDownload final : private platform::DownloadReceiver {
 public:
  class Observer {
   public:
    virtual ~Observer() = default;
    // After every block, and once when the server's answer starts.
    virtual void Progress(std::uint64_t done, std::optional<std::uint64_t> total) = 0;
    // Once, at the end: true when the installer is in place under its name. Called from within
    // the download's own calls: the observer must not destroy this download there.
    virtual void Done(bool completed) = 0;
  };

  // Starts the download into `target`. Throws FileError when no file can be made beside it.
  InstallerDownload(platform::Downloads& downloads, TextView agent, TextView address,
                    std::filesystem::path target, Observer& observer);
  // A download that has not ended stops, and its temporary file goes.
  ~InstallerDownload() override = default;

  // Why the download failed, in the user's words; empty while it has not.
  const std::string& Problem() const { return problem_; }

 private:
  void Started(std::optional<std::uint64_t> contentLength) override;
  bool Received(std::string_view block) override;
  void Finished(std::optional<std::string> error) override;
  void Fail(std::string problem);

  Observer& observer_;
  std::unique_ptr<DownloadFile> file_;
  std::optional<std::uint64_t> total_;
  std::string problem_;
  std::unique_ptr<platform::Download> download_;  // last: stopped before the file goes
};

}  // namespace parlino::voices
