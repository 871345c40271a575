// Downloads over an Internet whose reads block: one block per task of the message pump, so the
// user-interface thread's other events run between two blocks; stopping ends the reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

#include "platform/platform_error.h"
#include "platform/pulled_downloads.h"
#include "tests/fakes/fake_message_pump.h"

namespace parlino::testing {
namespace {

using ::testing::ElementsAre;

// A resource that gives its blocks one per read, then 0, or fails where the script says.
class ScriptedResource final : public platform::InternetResource {
 public:
  ScriptedResource(std::deque<std::string> blocks, bool failAtEnd, bool& closed)
      : blocks_(std::move(blocks)), failAtEnd_(failAtEnd), closed_(closed) {}
  ~ScriptedResource() override { closed_ = true; }

  std::size_t Read(char* buffer, std::size_t size) override {
    if (blocks_.empty()) {
      if (failAtEnd_) throw PlatformError("The connection was reset.");
      return 0;
    }
    const std::string block = blocks_.front().substr(0, size);
    blocks_.pop_front();
    block.copy(buffer, block.size());
    return block.size();
  }
  std::optional<std::uint64_t> ContentLength() const override { return 6; }

 private:
  std::deque<std::string> blocks_;
  bool failAtEnd_;
  bool& closed_;
};

class ScriptedInternet final : public platform::Internet {
 public:
  std::unique_ptr<platform::InternetResource> Open(TextView agent, TextView address) override {
    opened.push_back(ToUtf8(agent) + " " + ToUtf8(address));
    if (refuse) throw PlatformError("The server name cannot be resolved.");
    return std::make_unique<ScriptedResource>(blocks, failAtEnd, closed);
  }
  std::vector<std::string> opened;
  std::deque<std::string> blocks{"MZ", "abcd"};
  bool refuse = false;
  bool failAtEnd = false;
  bool closed = false;
};

// Writes down what it hears, and what the test posts between the steps.
class Log final : public platform::DownloadReceiver {
 public:
  void Started(std::optional<std::uint64_t> length) override {
    events.push_back("started " + std::to_string(length.value_or(0)));
  }
  bool Received(std::string_view block) override {
    events.push_back("block " + std::string(block));
    return keepGoing;
  }
  void Finished(std::optional<std::string> error) override {
    events.push_back("finished " + error.value_or("well"));
  }
  std::vector<std::string> events;
  bool keepGoing = true;
};

// Runs one round of the pump after posting a marker, so that the order shows what ran when.
void Round(FakeMessagePump& pump, Log& log, const std::string& marker) {
  pump.Post([&log, marker] { log.events.push_back(marker); });
  pump.ProcessPendingMessages();
}

TEST(PulledDownloads, ReadsOneBlockPerTaskOfThePump) {
  ScriptedInternet internet;
  FakeMessagePump pump;
  Log log;
  platform::PulledDownloads downloads(internet, pump);
  const auto download = downloads.Start(u"parlino.exe", u"http://v.example/a.exe", log);
  EXPECT_TRUE(log.events.empty());  // nothing from within Start
  for (int round = 1; round <= 5; ++round) Round(pump, log, "other event");
  EXPECT_THAT(log.events,
              ElementsAre("started 6", "other event", "block MZ", "other event", "block abcd",
                          "other event", "finished well", "other event", "other event"));
  EXPECT_THAT(internet.opened, ElementsAre("parlino.exe http://v.example/a.exe"));
  EXPECT_TRUE(internet.closed);
}

TEST(PulledDownloads, FailuresEndTheDownloadWithTheirReason) {
  {
    ScriptedInternet internet;
    internet.refuse = true;
    FakeMessagePump pump;
    Log log;
    platform::PulledDownloads downloads(internet, pump);
    const auto download = downloads.Start(u"parlino.exe", u"http://v.example/a.exe", log);
    pump.RunUntil([&] { return !log.events.empty(); });
    EXPECT_THAT(log.events, ElementsAre("finished The server name cannot be resolved."));
  }
  ScriptedInternet internet;
  internet.failAtEnd = true;
  FakeMessagePump pump;
  Log log;
  platform::PulledDownloads downloads(internet, pump);
  const auto download = downloads.Start(u"parlino.exe", u"http://v.example/a.exe", log);
  pump.RunUntil([&] { return log.events.size() == 4; });
  EXPECT_THAT(log.events, ElementsAre("started 6", "block MZ", "block abcd",
                                      "finished The connection was reset."));
  EXPECT_TRUE(internet.closed);
}

TEST(PulledDownloads, StoppingEndsTheReadsAndClosesTheResource) {
  ScriptedInternet internet;
  FakeMessagePump pump;
  Log log;
  platform::PulledDownloads downloads(internet, pump);
  auto download = downloads.Start(u"parlino.exe", u"http://v.example/a.exe", log);
  Round(pump, log, "round 1");
  download.reset();
  EXPECT_TRUE(internet.closed);
  for (int round = 2; round <= 4; ++round) Round(pump, log, "round " + std::to_string(round));
  EXPECT_THAT(log.events, ElementsAre("started 6", "round 1", "round 2", "round 3", "round 4"));
}

TEST(PulledDownloads, AReceiverThatAnswersFalseHearsNothingMore) {
  ScriptedInternet internet;
  FakeMessagePump pump;
  Log log;
  log.keepGoing = false;
  platform::PulledDownloads downloads(internet, pump);
  const auto download = downloads.Start(u"parlino.exe", u"http://v.example/a.exe", log);
  for (int round = 1; round <= 4; ++round) Round(pump, log, "round " + std::to_string(round));
  EXPECT_THAT(log.events,
              ElementsAre("started 6", "round 1", "block MZ", "round 2", "round 3", "round 4"));
  EXPECT_TRUE(internet.closed);
}

}  // namespace
}  // namespace parlino::testing
