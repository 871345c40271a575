#include "voices/download_run.h"

#include "platform/platform_error.h"
#include "voices/downloads_folder.h"

namespace parlino::voices {

DownloadRun::DownloadRun(DownloadRunServices services, DownloadRunView& view)
    : s_(std::move(services)), view_(view), progressText_(s_.twoDecimals) {}

DownloadRun::~DownloadRun() {
  download_.reset();
}

void DownloadRun::Start() {
  if (running_) return;
  view_.SetDownloadEnabled(false);
  try {
    CreateDownloadsFolder(s_.folder);
  } catch (...) {
    view_.SetDownloadEnabled(true);
    throw;
  }
  ++*generation_;
  running_ = true;
  row_ = 0;
  successes_ = 0;
  Next();
}

void DownloadRun::Cancel() {
  if (!running_) return;
  ++*generation_;
  download_.reset();
  running_ = false;
  view_.ShowProgressControls(false);
  view_.SetDownloadEnabled(true);
}

void DownloadRun::Next() {
  for (; row_ < view_.RowCount(); ++row_) {
    if (!view_.RowChecked(row_) || view_.RowInstalled(row_)) {
      view_.SetRowChecked(row_, false);
      continue;
    }
    const VoicePackage& package = view_.Package(row_);
    if (!package.fileName) {
      // Saved under such a name, the installer would land outside the folder or nowhere.
      const Text text = u"\"" + package.title +
                        u"\" cannot be downloaded: its address does not end in a file name that "
                        u"can be saved in the downloads folder.\n\n" +
                        package.url;
      if (!Tell(platform::BoxKind::Warning, text)) return;
      continue;
    }
    if (StartDownload(package)) return;  // Done goes on
    if (!Tell(platform::BoxKind::Warning, kDownloadErrorMessage)) return;
  }
  End();
}

bool DownloadRun::StartDownload(const VoicePackage& package) {
  view_.ShowProgressControls(true);
  view_.ShowFileName(*package.fileName);
  progressText_ = ProgressText(s_.twoDecimals);
  progressText_.Update(0, std::nullopt);
  percent_ = 0;
  view_.ShowProgress(percent_, progressText_.text());
  try {
    InstallerDownload::Observer& observer = *this;
    download_ = std::make_unique<InstallerDownload>(
        s_.downloads, s_.agent, package.url, s_.folder / ToUtf8(*package.fileName), observer);
  } catch (const PlatformError&) {
    return false;  // no file can be made in the folder: a failed download like any other
  }
  return true;
}

void DownloadRun::Progress(std::uint64_t done, std::optional<std::uint64_t> total) {
  const std::optional<int> percent = ProgressPercent(done, total);
  const bool textChanged = progressText_.Update(done, total);
  if (textChanged || percent != percent_) {
    percent_ = percent;
    view_.ShowProgress(percent_, progressText_.text());
  }
}

void DownloadRun::Done(bool completed) {
  // Told from within the download: it goes, and the run goes on, once that call has returned.
  Later([this, completed] { Downloaded(completed); });
}

void DownloadRun::Downloaded(bool completed) {
  download_.reset();
  const VoicePackage& package = view_.Package(row_);
  if (completed) {
    view_.SetRowChecked(row_, false);
    ++successes_;
    // The program does not wait for the installer. One that cannot be started is shown in its
    // folder instead; the package counts as installed either way, since its file is there.
    const Text installer = FromUtf8((s_.folder / ToUtf8(*package.fileName)).string());
    if (!s_.shell.Open(installer)) s_.shell.ShowInFolder(installer);
    view_.SetRowInstalled(row_);
  } else if (!Tell(platform::BoxKind::Warning, kDownloadErrorMessage)) {
    return;
  }
  ++row_;
  Next();
}

void DownloadRun::End() {
  running_ = false;
  view_.ShowProgressControls(false);
  if (successes_ == 0) {
    s_.boxes.Show(platform::BoxKind::Information, u"Parlino!", kNothingDownloadedMessage,
                  platform::BoxButtons::Ok);
  } else {
    view_.UpdateVoicesList();
    if (s_.boxes.Show(platform::BoxKind::Confirmation, u"Parlino!", kExitNowQuestion,
                      platform::BoxButtons::YesNo) == platform::BoxAnswer::Yes) {
      s_.exitProgram();
    }
  }
  view_.SetDownloadEnabled(true);
}

bool DownloadRun::Tell(platform::BoxKind kind, TextView text) {
  const std::uint64_t generation = *generation_;
  s_.boxes.Show(kind, u"Parlino!", text, platform::BoxButtons::Ok);
  return running_ && *generation_ == generation;
}

void DownloadRun::Later(std::function<void()> step) {
  s_.pump.Post([alive = std::weak_ptr<std::uint64_t>(generation_), generation = *generation_,
                step = std::move(step)] {
    const auto current = alive.lock();
    if (current && *current == generation) step();
  });
}

}  // namespace parlino::voices
