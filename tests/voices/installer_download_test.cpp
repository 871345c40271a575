// One installer's download against a scripted stand-in for the network: what the server
// announced and sent decides whether the file takes the installer's name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/temp_dir.h"
#include "voices/installer_download.h"

namespace parlino::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Keeps the receiver of the one download started, for the test to play the server's part.
class ScriptedDownloads final : public platform::Downloads {
 public:
  class Running final : public platform::Download {
   public:
    explicit Running(bool& stopped) : stopped_(stopped) {}
    ~Running() override { stopped_ = true; }

   private:
    bool& stopped_;
  };

  std::unique_ptr<platform::Download> Start(TextView agentName, TextView target,
                                            platform::DownloadReceiver& told) override {
    agent = Text(agentName);
    address = Text(target);
    receiver = &told;
    return std::make_unique<Running>(stopped);
  }

  Text agent;
  Text address;
  platform::DownloadReceiver* receiver = nullptr;
  bool stopped = false;
};

struct Progress {
  std::uint64_t done;
  std::optional<std::uint64_t> total;
  bool operator==(const Progress&) const = default;
};

class RecordingObserver final : public voices::InstallerDownload::Observer {
 public:
  void Progress(std::uint64_t done, std::optional<std::uint64_t> total) override {
    progress.push_back({done, total});
  }
  void Done(bool completed) override { outcome = completed; }

  std::vector<testing::Progress> progress;
  std::optional<bool> outcome;
};

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(InstallerDownload, TheFileTakesItsNameOnlyWithTheWholeBody) {
  const struct {
    const char* name;
    std::optional<std::uint64_t> announced;
    std::vector<std::string> blocks;
    std::optional<std::string> error;  // at the end
    bool completed;
  } cases[] = {
      {"as announced", 6, {"MZ", "abcd"}, std::nullopt, true},
      {"without a length", std::nullopt, {"MZ", "abcd"}, std::nullopt, true},
      {"less than announced", 10, {"MZ", "abcd"}, std::nullopt, false},
      {"more than announced", 3, {"MZ", "abcd"}, std::nullopt, false},
      {"empty", 0, {}, std::nullopt, false},
      {"empty without a length", std::nullopt, {}, std::nullopt, false},
      {"broken off", 6, {"MZ"}, "Connection closed", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteBytes(dir / "setup.exe", "");  // an earlier empty file: replaced only by a whole one
    ScriptedDownloads downloads;
    RecordingObserver observer;
    auto download = std::make_unique<voices::InstallerDownload>(
        downloads, u"parlino", u"http://v.example/setup.exe", dir / "setup.exe", observer);
    EXPECT_EQ(downloads.agent, u"parlino");
    EXPECT_EQ(downloads.address, u"http://v.example/setup.exe");
    auto& receiver = *downloads.receiver;
    receiver.Started(c.announced);
    bool going = true;
    for (const std::string& block : c.blocks) {
      going = receiver.Received(block);
      if (!going) break;
    }
    if (going) receiver.Finished(c.error);
    EXPECT_EQ(observer.outcome, c.completed);
    EXPECT_THAT(FilesIn(dir.path()), ElementsAre("setup.exe"));
    EXPECT_EQ(ReadBytes(dir / "setup.exe"), c.completed ? "MZabcd" : "");
    EXPECT_EQ(download->Problem().empty(), c.completed);
  }
}

TEST(InstallerDownload, ReportsEachBlocksProgress) {
  TempDir dir;
  ScriptedDownloads downloads;
  RecordingObserver observer;
  voices::InstallerDownload download(downloads, u"parlino", u"http://v.example/setup.exe",
                                     dir / "setup.exe", observer);
  downloads.receiver->Started(4096);
  downloads.receiver->Received(std::string(2048, 'a'));
  downloads.receiver->Received(std::string(2048, 'b'));
  EXPECT_THAT(observer.progress,
              ElementsAre(Progress{0, 4096}, Progress{2048, 4096}, Progress{4096, 4096}));
}

TEST(InstallerDownload, StoppingItEndsTheDownloadAndRemovesThePartialFile) {
  TempDir dir;
  ScriptedDownloads downloads;
  RecordingObserver observer;
  auto download = std::make_unique<voices::InstallerDownload>(
      downloads, u"parlino", u"http://v.example/setup.exe", dir / "setup.exe", observer);
  downloads.receiver->Started(10);
  downloads.receiver->Received("MZ");
  EXPECT_EQ(FilesIn(dir.path()).size(), 1u);
  download.reset();
  EXPECT_TRUE(downloads.stopped);
  EXPECT_THAT(FilesIn(dir.path()), IsEmpty());
  EXPECT_EQ(observer.outcome, std::nullopt);
}

}  // namespace
}  // namespace parlino::testing
