// Pronunciation corrections as a user keeps them, with the real program and the real voice: the
// options hot key opens the window, the Pronunciation page's Add opens the editor, the correction
// is typed through the X server, a reading speaks it, and deleting the row removes words.ini.
// Screenshots of the page and of the editor are written beside the test for a look.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tests/e2e/parlino_process.h"
#include "tests/e2e/window_actions.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/x11_test_support.h"

namespace parlino::testing {
namespace {

using namespace std::chrono_literals;

// From the options window's first tab to the Pronunciation page: Tab puts the focus on the
// first tab's controls, where Ctrl+Tab turns the pages (lists pass it on, unlike Ctrl+PgDown).
void ToPronunciationPage() {
  Press("Tab");
  for (int tab = 0; tab < 3; ++tab) Press("ctrl+Tab");
}

// A settled account whose corrections are switched on.
constexpr char kCorrectionsOn[] =
    "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n[Pronunciation]\r\nWordsCorrections=1\r\n";

TEST(PronunciationEndToEnd, ACorrectionTypedOnThePageIsHeardAndDeletingItRemovesTheFile) {
  TempDir home;
  const auto words = home / "Parlino" / "words.ini";
  ParlinoProcess parlino(home, kCorrectionsOn);
  ASSERT_TRUE(parlino.Started()) << parlino.Output();

  Press("ctrl+F11");
  const QString options = NewWindow("Parlino!");
  ASSERT_FALSE(options.isEmpty()) << "the options hot key showed no window";
  ToPronunciationPage();
  Press("alt+a");
  const QString editor = NewWindow("Pronunciation correction");
  ASSERT_FALSE(editor.isEmpty()) << "Add opened no editor";
  Type("Dr");
  Press("Tab");
  Type("Doctor");
  Screenshot(editor, "pronunciation_editor");
  Press("Return");
  ASSERT_TRUE(WaitFor([&] { return ReadBytes(words) == "Dr###***###Doctor###***###No\r\n"; }))
      << "words.ini: " << ReadBytes(words);
  ASSERT_TRUE(WaitFor([&] { return Windows("Pronunciation correction").isEmpty(); }));
  Screenshot(options, "pronunciation_page");
  // OK saves the settings, and the list once more.
  Focus(options);
  // Without a tray host OK minimizes the window instead of hiding it, so wait for the save.
  const auto cfg = home / "Parlino" / "cfg.ini";
  const auto before = std::filesystem::last_write_time(cfg);
  Press("alt+o");
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::last_write_time(cfg) != before; }));
  EXPECT_EQ(ReadBytes(words), "Dr###***###Doctor###***###No\r\n");

  // The voice reaches the words of the corrected text.
  CopyTarget target("text", "Dr Smith");
  ASSERT_TRUE(target.Ready());
  Press("ctrl+BackSpace");
  ASSERT_TRUE(WaitFor([&] { return parlino.Spoken().size() >= 2; }, 30s)) << parlino.Output();
  EXPECT_EQ(parlino.Spoken(), (Words{"Doctor", "Smith"}));

  // Edit with nothing selected selects the first row; Esc leaves it as it is; Delete asks.
  Press("ctrl+F11");
  ASSERT_EQ(NewWindow("Parlino!"), options);
  ToPronunciationPage();
  Press("alt+e");
  ASSERT_FALSE(NewWindow("Pronunciation correction").isEmpty());
  Press("Escape");
  ASSERT_TRUE(WaitFor([&] { return Windows("Pronunciation correction").isEmpty(); }));
  EXPECT_EQ(ReadBytes(words), "Dr###***###Doctor###***###No\r\n");
  Focus(options);
  Press("alt+d");
  const QString question = NewWindow("Parlino!", {options});
  ASSERT_FALSE(question.isEmpty()) << "Delete asked nothing";
  Press("alt+y");
  EXPECT_TRUE(WaitFor([&] { return !std::filesystem::exists(words); }))
      << "words.ini: " << ReadBytes(words);
  if (HasFailure()) std::cerr << "The program's error output:\n" << parlino.Output();
}

}  // namespace
}  // namespace parlino::testing
