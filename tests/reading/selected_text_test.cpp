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
using ::testing::Contains;
using ::testing::ElementsAre;
using testing::FakeClipboard;
using testing::Journal;
using ::testing::Not;

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
    clipboard.clock = &virtualClock;
    focusCopy.journal = &journal;
    keyboard.journal = &journal;
    primary.journal = &journal;
    clipboard.contents = kUserClipboard;
  }

  Journal journal;
  FakeClipboard clipboard;
  testing::FakeFocusCopy focusCopy;
  testing::FakeKeyboardInput keyboard;
  testing::FakePrimarySelection primary;
  testing::VirtualClock virtualClock;
  testing::FakeMessagePump fakePump;
  JournalClock clock{virtualClock, journal};
  JournalPump pump{fakePump, journal};
  std::vector<Text> prepared;
  SelectedTextCapture capture{{clipboard, focusCopy, keyboard, clock, pump, &primary},
                              [this](TextView raw) {
                                journal.push_back("prepare");
                                prepared.emplace_back(raw);
                                return u"[" + Text(raw) + u"]";
                              }};
};

TEST_F(CaptureTest, ACopySeenAtOnceIsReadAtOnce) {
  clipboard.reads = {u"selected words"};

  EXPECT_EQ(capture.GetSelectedText(), u"[selected words]");

  EXPECT_THAT(journal,
              ElementsAre("backup", "focus copy", "keys", "pump", "read", "restore", "prepare"));
  EXPECT_EQ(virtualClock.now, 0ms);
  EXPECT_THAT(prepared, ElementsAre(u"selected words"));
}

struct TimingCase {
  const char* name;
  std::optional<std::chrono::milliseconds> copyAfter;  // nothing: the application never copies
  std::deque<std::optional<Text>> reads;
  std::deque<bool> restores;
  bool ownerHangs;   // the owner that took the clipboard never answers
  bool backupHangs;  // the user's clipboard belongs to a program that never answers
  std::vector<std::chrono::milliseconds> expectedReadTimes;
  int expectedRestores;
  std::chrono::milliseconds expectedEnd;
  Text expectedRaw;
};

TEST_F(CaptureTest, WaitsForTheCopyAndRetriesWithinTheBound) {
  const std::vector<TimingCase> cases = {
      {"copy seen after 5 ms: read at the next look",
       5ms,
       {u"a"},
       {},
       false,
       false,
       {6ms},
       1,
       6ms,
       u"a"},
      {"copy after 330 ms: read, then the clipboard given back",
       330ms,
       {u"late"},
       {},
       false,
       false,
       {330ms},
       1,
       330ms,
       u"late"},
      {"no copy: the clipboard's own text after the bound, the clipboard left alone",
       {},
       {u"old"},
       {},
       false,
       false,
       {1000ms},
       0,
       1000ms,
       u"old"},
      {"read on the third try, restore on the third",
       0ms,
       {{}, {}, u"c"},
       {false, false},
       false,
       false,
       {0ms, 150ms, 300ms},
       3,
       600ms,
       u"c"},
      {"the copying application dies: every read refused",
       90ms,
       {},
       {},
       false,
       false,
       {90ms, 240ms, 390ms, 540ms, 690ms},
       1,
       690ms,
       u""},
      {"every attempt fails",
       0ms,
       {},
       {false, false, false},
       false,
       false,
       {0ms, 150ms, 300ms, 450ms, 600ms},
       3,
       900ms,
       u""},
      {"a late copy that keeps failing is cut by the bound",
       900ms,
       {},
       {false, false},
       false,
       false,
       {900ms, 1050ms, 1200ms},
       2,
       1300ms,
       u""},
      {"the copying application stops answering", 5ms, {}, {}, true, false, {6ms}, 1, 1300ms, u""},
      {"the user's clipboard belongs to a program that stopped",
       0ms,
       {u"sel"},
       {},
       false,
       true,
       {300ms},
       1,
       300ms,
       u"sel"},
      {"a stopped owner and no copy", {}, {}, {}, true, true, {1150ms}, 0, 1300ms, u""},
  };
  for (const TimingCase& c : cases) {
    SCOPED_TRACE(c.name);
    journal.clear();
    prepared.clear();
    virtualClock.now = 0ms;
    clipboard.ownerChangesAfter = c.copyAfter;
    clipboard.reads = c.reads;
    clipboard.restores = c.restores;
    clipboard.readsHang = c.ownerHangs;
    clipboard.backupHangs = c.backupHangs;
    clipboard.readTimes.clear();
    clipboard.restored.clear();

    capture.GetSelectedText();

    EXPECT_EQ(clipboard.readTimes, c.expectedReadTimes);
    EXPECT_EQ(std::ssize(clipboard.restored), c.expectedRestores);
    EXPECT_EQ(virtualClock.now, c.expectedEnd);
    EXPECT_LE(virtualClock.now, kCaptureLimit);
    EXPECT_THAT(prepared, ElementsAre(c.expectedRaw));
    // Every restore gives back what the backup got: all of it, or nothing from a stopped owner.
    for (const platform::ClipboardSnapshot& snapshot : clipboard.restored) {
      EXPECT_EQ(snapshot, c.backupHangs ? platform::ClipboardSnapshot() : kUserClipboard);
    }
  }
}

TEST_F(CaptureTest, ACopyThatLandsWhileTheOldTextIsReadIsUndone) {
  // The wait gives up at 1000 ms; the read of the old text takes until the bound, and the
  // application's copy lands meanwhile.
  clipboard.ownerChangesAfter = 1001ms;
  clipboard.readsHang = true;
  capture.GetSelectedText();
  EXPECT_THAT(clipboard.readTimes, ElementsAre(1000ms));
  EXPECT_THAT(clipboard.restored, ElementsAre(kUserClipboard));
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

  // A clipboard that cannot be watched: no key is sent, so there is nothing to give back.
  clipboard.throwOnRead = false;
  clipboard.failWatch = true;
  clipboard.restored.clear();
  journal.clear();
  EXPECT_THROW(capture.GetSelectedText(), PlatformError);
  EXPECT_THAT(journal, ElementsAre("backup"));
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

TEST_F(CaptureTest, TheHighlightedTextIsReadWithoutACopyAndWithoutTheClipboard) {
  primary.highlighted = Text(u"highlighted words\0and the rest", 31);
  // The owner is awaited while messages run: a reading request then finds the capture busy.
  primary.whileReading = [&] { EXPECT_THROW(capture.GetSelectedText(), CaptureBusy); };

  EXPECT_EQ(capture.GetHighlightedText(), u"[highlighted words]");
  EXPECT_THAT(journal, ElementsAre("primary", "prepare"));
  EXPECT_THAT(primary.limits, ElementsAre(kCaptureLimit));
  EXPECT_FALSE(capture.CaptureInProgress());

  // Nothing highlighted: an empty text, still prepared.
  primary.whileReading = nullptr;
  primary.highlighted.reset();
  EXPECT_EQ(capture.GetHighlightedText(), u"[]");
  primary.fail = true;
  EXPECT_THROW(capture.GetHighlightedText(), PlatformError);
  EXPECT_FALSE(capture.CaptureInProgress());
  EXPECT_EQ(keyboard.copies + focusCopy.copies, 0);
  EXPECT_TRUE(clipboard.restored.empty());

  SelectedTextCapture withoutPrimary{{clipboard, focusCopy, keyboard, clock, pump},
                                     [](TextView raw) { return Text(raw); }};
  EXPECT_THROW(withoutPrimary.GetHighlightedText(), PlatformError);
  EXPECT_THAT(journal, Not(Contains("backup")));
}

}  // namespace
}  // namespace parlino::reading
