#include "reading/selected_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>

#include "tests/fakes/fake_capture_services.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/fake_platform.h"

namespace parlino::reading {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using testing::FakeClipboard;
using testing::Journal;

// The virtual clock and the fake pump, writing into the journal as well.
class JournalClock final : public platform::Clock {
 public:
  JournalClock(testing::VirtualClock& clock, Journal& journal) : clock_(clock), journal_(journal) {}
  std::chrono::milliseconds Now() override { return clock_.Now(); }
  void Sleep(std::chrono::milliseconds duration) override {
    journal_.push_back("sleep " + std::to_string(duration.count()));
    clock_.Sleep(duration);
  }

 private:
  testing::VirtualClock& clock_;
  Journal& journal_;
};

class JournalPump final : public platform::MessagePump {
 public:
  JournalPump(testing::FakeMessagePump& pump, Journal& journal) : pump_(pump), journal_(journal) {}
  void ProcessPendingMessages() override {
    journal_.push_back("pump");
    pump_.ProcessPendingMessages();
  }
  void Post(std::function<void()> task) override { pump_.Post(std::move(task)); }

 private:
  testing::FakeMessagePump& pump_;
  Journal& journal_;
};

const platform::ClipboardSnapshot kUserClipboard = {
    {"image/png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    {"text/html", "<b>kept</b>"},
    {"text/plain", "kept"},
};

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clipboard.journal = &journal;
    focusCopy.journal = &journal;
    keyboard.journal = &journal;
    clipboard.contents = kUserClipboard;
  }

  Journal journal;
  FakeClipboard clipboard;
  testing::FakeFocusCopy focusCopy;
  testing::FakeKeyboardInput keyboard;
  testing::VirtualClock virtualClock;
  testing::FakeMessagePump fakePump;
  JournalClock clock{virtualClock, journal};
  JournalPump pump{fakePump, journal};
  std::vector<Text> prepared;
  SelectedTextCapture capture{{clipboard, focusCopy, keyboard, clock, pump}, [this](TextView raw) {
                                journal.push_back("prepare");
                                prepared.emplace_back(raw);
                                return u"[" + Text(raw) + u"]";
                              }};
};

TEST_F(CaptureTest, CopiesWaitsReadsRestoresAndPreparesInThisOrder) {
  clipboard.reads = {u"selected words"};

  EXPECT_EQ(capture.GetSelectedText(), u"[selected words]");

  EXPECT_THAT(journal, ElementsAre("backup", "focus copy", "keys", "pump", "sleep 100", "pump",
                                   "read", "restore", "prepare"));
  EXPECT_EQ(virtualClock.now, 100ms);
  EXPECT_THAT(prepared, ElementsAre(u"selected words"));
}

struct TimingCase {
  const char* name;
  std::deque<std::optional<Text>> reads;
  std::deque<bool> restores;
  int expectedReads;
  int expectedRestores;
  std::chrono::milliseconds expectedWaits;
  Text expectedRaw;
};

TEST_F(CaptureTest, WaitsAndRetriesAsTheAttemptsFail) {
  const std::vector<TimingCase> cases = {
      {"everything works at once", {u"a"}, {true}, 1, 1, 100ms, u"a"},
      {"every attempt fails", {}, {false, false, false}, 5, 3, 1300ms, u""},
      {"read on the third try, restore on the third",
       {{}, {}, u"c"},
       {false, false},
       3,
       3,
       100ms + 2 * 150ms + 2 * 150ms,
       u"c"},
      {"reads fail, restore works", {}, {true}, 5, 1, 100ms + 5 * 150ms, u""},
      {"read on the fifth try", {{}, {}, {}, {}, u"e"}, {true}, 5, 1, 100ms + 4 * 150ms, u"e"},
  };
  for (const TimingCase& c : cases) {
    SCOPED_TRACE(c.name);
    journal.clear();
    prepared.clear();
    virtualClock.now = 0ms;
    clipboard.reads = c.reads;
    clipboard.restores = c.restores;
    clipboard.restored.clear();

    capture.GetSelectedText();

    EXPECT_EQ(std::count(journal.begin(), journal.end(), "read"), c.expectedReads);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "restore"), c.expectedRestores);
    EXPECT_EQ(virtualClock.now, c.expectedWaits);
    EXPECT_THAT(prepared, ElementsAre(c.expectedRaw));
    // The restore runs whether or not the read worked, always with the backed-up clipboard.
    for (const platform::ClipboardSnapshot& snapshot : clipboard.restored) {
      EXPECT_EQ(snapshot, kUserClipboard);
    }
  }
}

TEST_F(CaptureTest, GivesTheClipboardBackInEveryFormatItHeld) {
  clipboard.reads = {u"x"};
  capture.GetSelectedText();
  EXPECT_THAT(clipboard.restored, ElementsAre(kUserClipboard));

  // An empty clipboard is given back empty.
  clipboard.contents.clear();
  clipboard.restored.clear();
  capture.GetSelectedText();
  EXPECT_THAT(clipboard.restored, ElementsAre(platform::ClipboardSnapshot()));
}

TEST_F(CaptureTest, AFailedBackupDoesNotStopTheCapture) {
  clipboard.failBackup = true;
  clipboard.reads = {u"still read"};

  EXPECT_EQ(capture.GetSelectedText(), u"[still read]");
  EXPECT_THAT(clipboard.restored, ElementsAre(platform::ClipboardSnapshot()));
}

TEST_F(CaptureTest, CutsTheTextAtItsFirstNulCharacter) {
  clipboard.reads = {Text(u"before\0after\0", 13)};
  capture.GetSelectedText();
  EXPECT_THAT(prepared, ElementsAre(u"before"));
}

TEST_F(CaptureTest, PlatformErrorsReachTheCallerAfterTheClipboardIsGivenBack) {
  keyboard.fail = true;
  EXPECT_THROW(capture.GetSelectedText(), PlatformError);
  EXPECT_THAT(clipboard.restored, ElementsAre(kUserClipboard));
  EXPECT_TRUE(prepared.empty());
  EXPECT_FALSE(capture.CaptureInProgress());

  keyboard.fail = false;
  clipboard.restored.clear();
  clipboard.throwOnRead = true;
  clipboard.restores = {false, false, false};  // a failing restore does not hide the error
  EXPECT_THROW(capture.GetSelectedText(), PlatformError);
  EXPECT_EQ(clipboard.restored.size(), 3u);
  EXPECT_FALSE(capture.CaptureInProgress());
}

TEST_F(CaptureTest, RequestsArrivingDuringACaptureFindItBusy) {
  int nestedRuns = 0;
  // Handlers run while the capture processes messages, as a hot key press would.
  fakePump.Post([&] {
    ++nestedRuns;
    EXPECT_TRUE(capture.CaptureInProgress());
    EXPECT_THROW(capture.GetSelectedText(), CaptureBusy);
  });
  clipboard.reads = {u"outer"};

  EXPECT_FALSE(capture.CaptureInProgress());
  EXPECT_EQ(capture.GetSelectedText(), u"[outer]");
  EXPECT_EQ(nestedRuns, 1);
  EXPECT_FALSE(capture.CaptureInProgress());
  // The nested request touched neither the clipboard nor the keyboard.
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "backup"), 1);
  EXPECT_EQ(keyboard.copies, 1);
}

}  // namespace
}  // namespace parlino::reading
