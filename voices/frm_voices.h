#pragma once
// TfrmVoices, "Additional voices": the voice packages of add_voices.ini in a list with check
// boxes and their status, "Download and install" for the checked ones with the progress of each
// download, "Reinstall engine" for an installed one, and the web page with news of more. Created
// once and reused; every showing reads the catalogue and the downloads folder anew.
#include <QDialog>
#include <QLocale>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/downloads.h"
#include "platform/folders.h"
#include "platform/message_boxes.h"
#include "platform/profile_store.h"
#include "platform/shell.h"
#include "voices/download_run.h"
#include "voices/package_catalogue.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace parlino::voices {

// A number with exactly two decimals in `locale`, with its separators: 1,200.00 in English.
Text TwoDecimalsIn(const QLocale& locale, double value);

struct VoicesWindowServices {
  platform::ProfileStore& profiles;
  platform::Downloads& downloads;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  platform::MessagePump& pump;
  platform::Folders folders;  // the catalogue in the program's, the downloads in the data folder
  Text agent;                 // the name the program gives itself to web servers
  Text voicesPage;            // the page "Check for new engines" opens
  std::function<void()> exitProgram;
};

class TfrmVoices final : public QDialog, private DownloadRunView {
  Q_OBJECT
 public:
  explicit TfrmVoices(VoicesWindowServices services, QWidget* parent = nullptr);
  ~TfrmVoices() override;

  // Rebuilds the list from the catalogue and the downloads folder, which it makes when missing.
  void UpdateVoicesList() override;
  // A row's selection changed: Reinstall is enabled exactly when that row is installed.
  void ListSelectItem(int row, bool selected);
  void btnDownloadClick();
  void btnReinstallClick();
  void btnCheckClick();
  void btnCloseClick();
  // Every way of closing the window ends here: a download run stops and leaves nothing behind.
  void done(int result) override;

  bool Downloading() const { return run_.Running(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // FormClose.
  void FormClose();
  std::filesystem::path Installer(std::size_t row) const;

  std::size_t RowCount() const override;
  const VoicePackage& Package(std::size_t row) const override;
  bool RowChecked(std::size_t row) const override;
  void SetRowChecked(std::size_t row, bool checked) override;
  bool RowInstalled(std::size_t row) const override;
  void SetRowInstalled(std::size_t row) override;
  void SetDownloadEnabled(bool enabled) override;
  void ShowProgressControls(bool shown) override;
  void ShowFileName(TextView name) override;
  void ShowProgress(std::optional<int> percent, TextView text) override;

  VoicesWindowServices s_;
  std::vector<VoicePackage> packages_;  // row r is package r
  DownloadRun run_;

  QLabel* Label1;
  QTableWidget* List;
  QPushButton* btnDownload;
  QPushButton* btnReinstall;
  QPushButton* btnCheck;
  QLabel* Label2;
  QProgressBar* Progress;
  QLabel* Status;
  QPushButton* btnClose;
};

}  // namespace parlino::voices
