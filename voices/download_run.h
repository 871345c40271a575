#pragma once
// "Download and install": every checked package that is not installed yet is downloaded in turn,
// in list order, and its installer started; the user hears of every failure and, at the end, of
// the outcome. The run goes on from the event loop, so the window stays responsive meanwhile.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/downloads.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"
#include "voices/download_progress.h"
#include "voices/installer_download.h"
#include "voices/package_catalogue.h"

namespace parlino::voices {

inline constexpr TextView kDownloadErrorMessage =
    u"Download error. Please, check internet connection and try again.";
inline constexpr TextView kNothingDownloadedMessage = u"No voices selected to download.";
inline constexpr TextView kExitNowQuestion =
    u"Selected voices were successfully downloaded and installed. Please, restart program to use "
    u"new voices. Exit now?";

// The package list and the progress controls, as a run sees and changes them.
class DownloadRunView {
 public:
  virtual ~DownloadRunView() = default;
  virtual std::size_t RowCount() const = 0;
  virtual const VoicePackage& Package(std::size_t row) const = 0;
  virtual bool RowChecked(std::size_t row) const = 0;
  virtual void SetRowChecked(std::size_t row, bool checked) = 0;
  virtual bool RowInstalled(std::size_t row) const = 0;
  virtual void SetRowInstalled(std::size_t row) = 0;
  virtual void SetDownloadEnabled(bool enabled) = 0;
  // The file name, the progress bar and the progress text: shown during a run only.
  virtual void ShowProgressControls(bool shown) = 0;
  virtual void ShowFileName(TextView name) = 0;
  // The bar at `percent`, or busy without one; the text under it.
  virtual void ShowProgress(std::optional<int> percent, TextView text) = 0;
  // Reads the catalogue and the downloads folder anew.
  virtual void UpdateVoicesList() = 0;
};

struct DownloadRunServices {
  platform::Downloads& downloads;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  platform::MessagePump& pump;
  Text agent;                    // the program file's name
  std::filesystem::path folder;  // the downloads folder
  TwoDecimals twoDecimals;       // the progress text's numbers
  std::function<void()> exitProgram;
};

class DownloadRun final : private InstallerDownload::Observer {
 public:
  DownloadRun(DownloadRunServices services, DownloadRunView& view);
  ~DownloadRun() override;
  DownloadRun(const DownloadRun&) = delete;
  DownloadRun& operator=(const DownloadRun&) = delete;

  // Starts a run over the rows as they are checked now. Throws FileError when the downloads
  // folder cannot be made; nothing has started then.
  void Start();
  bool Running() const { return running_; }
  // Ends a run at once and quietly: the download under way stops and leaves no file behind.
  void Cancel();

 private:
  void Progress(std::uint64_t done, std::optional<std::uint64_t> total) override;
  void Done(bool completed) override;

  // From row_ on: starts the next download, or ends the run.
  void Next();
  bool StartDownload(const VoicePackage& package);
  // The download of row_ has ended.
  void Downloaded(bool completed);
  void End();
  // Shows a box; false when the run was cancelled while it was open.
  bool Tell(platform::BoxKind kind, TextView text);
  // Runs `step` from the event loop, unless this run has ended or been cancelled by then.
  void Later(std::function<void()> step);

  DownloadRunServices s_;
  DownloadRunView& view_;
  bool running_ = false;
  std::size_t row_ = 0;
  int successes_ = 0;
  ProgressText progressText_;
  std::optional<int> percent_;
  // Bumped by every start and cancel: a step queued for an older run does nothing.
  std::shared_ptr<std::uint64_t> generation_ = std::make_shared<std::uint64_t>(0);
  std::unique_ptr<InstallerDownload> download_;
};

}  // namespace parlino::voices
