// A voice slot as a user makes and uses it, with the real program and the real voice: the options
// hot key opens the window, the Voice slots page's Insert key opens the editor, a German voice
// with speed 240 and the hot key Ctrl+Alt+G are chosen through the X server, and that hot key
// reads the selection in front with the German voice while the reading hot key keeps the
// default voice. Deleting the slot through the list gives Ctrl+Alt+G back to the application in
// front. Screenshots of the page and of the editor are written beside the test for a look.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/espeak_library.h"
#include "tests/e2e/parlino_process.h"
#include "tests/e2e/window_actions.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/audio_samples.h"
#include "tests/platform/x11_test_support.h"

namespace parlino::testing {
namespace {

using namespace std::chrono_literals;
using platform::linux_impl::EspeakLibrary;

Words Tail(const Words& words, std::size_t from) {
  return Words(words.begin() + static_cast<std::ptrdiff_t>(std::min(from, words.size())),
               words.end());
}

// A window of this test that records the keys it is given: the application in front.
class KeyWitness : public QWidget {
 public:
  KeyWitness() {
    setWindowTitle("Key witness");
    resize(200, 100);
    show();
  }
  std::vector<QKeyCombination> keys;

 protected:
  void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->keyCombination()); }
};

// What espeak-ng itself makes of `text` with `voice` at `wordsPerMinute`.
Samples Reference(const TempDir& dir, const std::string& text, const std::string& voice,
                  int wordsPerMinute) {
  const std::filesystem::path wav = dir / "reference.wav";
  RunTool("espeak-ng", {"-v", QString::fromStdString(voice), "-s", QString::number(wordsPerMinute),
                        "-w", QString::fromStdString(wav.string()), QString::fromStdString(text)});
  return ReadWavSamples(wav);
}

void ExpectLengthNear(const Samples& heard, const Samples& reference) {
  const double length = double(FindSound(heard).length());
  const double expected = double(FindSound(reference).length());
  EXPECT_GT(expected, 0.5 * EspeakLibrary::Instance().SampleRate());
  EXPECT_NEAR(length, expected, 0.1 * expected);
}

TEST(VoiceSlots, ASlotMadeInTheEditorReadsWithItsVoiceUntilItIsDeleted) {
  TempDir home;
  ParlinoProcess parlino(home);
  ASSERT_TRUE(parlino.Started()) << parlino.Output();
  const std::filesystem::path slotsFile = home / "Parlino" / "slots.ini";

  // The options window on the Voice slots page; Insert in the empty list opens the editor.
  Press("ctrl+F11");
  const QString options = NewWindow("Parlino!");
  ASSERT_FALSE(options.isEmpty()) << "the options window did not open";
  // Tab puts the focus on the first page's controls, where Ctrl+Tab turns the pages.
  Press("Tab");
  Press("ctrl+Tab");
  Press("ctrl+Tab");
  const QRect frame = Geometry(options);  // the list fills the page's middle
  RunTool("xdotool", {"mousemove", QString::number(frame.center().x()),
                      QString::number(frame.center().y()), "click", "1"});
  Screenshot(options, "slots_page_empty");
  Press("Insert");
  const QString editor = NewWindow("Add voice slot");
  ASSERT_FALSE(editor.isEmpty()) << "the slot editor did not open";

  // The German voice, Ctrl+Alt+G, and the speed slider from 150 up to 240.
  Type("German");
  Press("Tab");
  Press("ctrl+alt+g");
  Press("Tab");
  for (int step = 0; step < 6; ++step) Press("Right");
  Screenshot(editor, "slot_editor");
  Press("Return");
  ASSERT_TRUE(WaitFor([&] { return Windows("Add voice slot").isEmpty(); }))
      << "the editor stayed open";
  EXPECT_EQ(ReadBytes(slotsFile),
            "[Slot_0]\r\nVoice=German\r\nHotKey=49223\r\nSpeed=240\r\nPitch=105\r\nVolume=100\r\n"
            "SAPIVersion=5\r\n");
  Screenshot(options, "slots_page");

  // Ctrl+Alt+G reads the selection in front with the German voice at speed 240.
  const std::string usersText = "the user's own text";
  PutOnClipboardWithXclip("UTF8_STRING", QByteArray::fromStdString(usersText));
  const std::string german = "Heute gehen wir mit dem Hund in den Park und spielen dort lange.";
  {
    CopyTarget target("text", QString::fromStdString(german));
    ASSERT_TRUE(target.Ready());
    Press("ctrl+alt+g");
    ASSERT_TRUE(WaitFor([&] { return parlino.Spoken().size() >= WordsOf(german).size(); }, 30s))
        << "words so far: " << parlino.Spoken().size();
    EXPECT_EQ(parlino.Spoken(), WordsOf(german));
    ExpectLengthNear(parlino.FinishedSpeech(),
                     Reference(home, german, "de", platform::linux_impl::WordsPerMinute(4)));
  }

  // The reading hot key still reads with the default voice at its own speed.
  const std::string english = "The quick brown fox jumps over the lazy dog.";
  {
    const std::size_t before = parlino.Spoken().size();
    CopyTarget target("text", QString::fromStdString(english));
    ASSERT_TRUE(target.Ready());
    Press("ctrl+BackSpace");
    ASSERT_TRUE(
        WaitFor([&] { return parlino.Spoken().size() >= before + WordsOf(english).size(); }, 30s));
    EXPECT_EQ(Tail(parlino.Spoken(), before), WordsOf(english));
    const std::string defaultVoice = EspeakLibrary::Instance().ListVoices().at(0).identifier;
    ExpectLengthNear(parlino.FinishedSpeech(), Reference(home, english, defaultVoice,
                                                         platform::linux_impl::WordsPerMinute(0)));
  }
  EXPECT_EQ(ClipboardData("UTF8_STRING").toStdString(), usersText);

  // Deleted through the list, the slot lets its hot key go.
  Focus(options);
  Press("ctrl+a");  // the list has the focus again: its one row selected
  Press("Delete");
  const QString question = NewWindow("Parlino!", {options});
  ASSERT_FALSE(question.isEmpty()) << "no confirmation was asked";
  Press("Return");
  ASSERT_TRUE(WaitFor([&] { return !std::filesystem::exists(slotsFile); }))
      << "slots.ini is still there";

  KeyWitness witness;
  ASSERT_TRUE(WaitFor([&] { return witness.isVisible(); }));
  Focus(QString::number(witness.winId()));
  ASSERT_TRUE(WaitFor([&] { return witness.isActiveWindow(); }));
  Press("ctrl+alt+g");
  ASSERT_TRUE(WaitFor([&] { return !witness.keys.empty(); }))
      << "Ctrl+Alt+G did not reach the application in front";
  EXPECT_EQ(witness.keys.back(), QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_G));
  EXPECT_TRUE(parlino.Running());
  if (::testing::Test::HasFailure()) std::cerr << "The program's output:\n" << parlino.Output();
}

}  // namespace
}  // namespace parlino::testing
