// The options window's part in reading: hot keys, the middle-button poll, the engines' events,
// the tray animation and the pause item, all handed to the reading controller.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/ui/artwork.h"
#include "app/ui/event_dispatch.h"
#include "app/ui/frm_main.h"
#include "app/ui/qt_text.h"

namespace parlino::app {
namespace {

// PARLINO_TRACE_WORDS=1 prints every word the modern voice reaches, for tests and diagnosis.
bool TraceWords() {
  static const bool trace = std::getenv("PARLINO_TRACE_WORDS") != nullptr;
  return trace;
}

}  // namespace

void TfrmMain::ConnectReading() {
  DefaultHotKey.OnHotKey = [this](reading::GlobalHotKey&) { Reading.DefaultHotKeyHotKey(); };
  StopHotKey.OnHotKey = [this](reading::GlobalHotKey&) {
    DispatchEvent(context_.boxes, [this] { Reading.Stopreading1Click(); });
  };
  OptionsHotKey.OnHotKey = [this](reading::GlobalHotKey&) { OptionsHotKeyHotKey(); };
  connect(Stopreading1, &QAction::triggered, this,
          [this] { DispatchEvent(context_.boxes, [this] { Reading.Stopreading1Click(); }); });

  connect(MouseTimer, &QTimer::timeout, this,
          [this] { Reading.MouseTimerTimer(context_.pointer.MiddleButtonDown()); });
  connect(TrayAnimation_Timer, &QTimer::timeout, this,
          [this] { Reading.TrayAnimation_TimerTimer(); });

  SpeechAPI5.OnStartStream = [this](speech::TSpVoice&, std::int32_t) { Reading.SpeechStarted(); };
  SpeechAPI5.OnEndStream = [this](speech::TSpVoice&, std::int32_t) { Reading.SpeechEnded(); };
  SpeechAPI5.OnWord = [this](speech::TSpVoice&, std::int32_t, std::int32_t position,
                             std::int32_t length) {
    Reading.WordSpoken();
    if (TraceWords() && position >= 0 && length >= 0) {
      const Text word = Reading.SpokenText.substr(static_cast<std::size_t>(position),
                                                  static_cast<std::size_t>(length));
      std::fprintf(stderr, "word: %s\n", ToUtf8(word).c_str());
    }
  };
  SpeechAPI4.OnStart = [this](speech::TMSpeech&) { Reading.SpeechStarted(); };
  SpeechAPI4.OnStop = [this](speech::TMSpeech&) { Reading.SpeechEnded(); };
}

void TfrmMain::SetPauseCaption(TextView caption) {
  Stopreading1->setText(ToQString(caption));
}

void TfrmMain::SetAnimationRunning(bool running) {
  if (running) {
    if (!TrayAnimation_Timer->isActive()) TrayAnimation_Timer->start();
  } else {
    TrayAnimation_Timer->stop();
  }
}

void TfrmMain::ShowTrayPicture(reading::TrayPicture picture) {
  // Drawn once; the animation swaps them every half second.
  static const QIcon pictures[] = {ProgramIcon(Picture::Normal),
                                   ProgramIcon(Picture::SpeakingFrame1),
                                   ProgramIcon(Picture::SpeakingFrame2)};
  TrayIcon->setIcon(pictures[static_cast<int>(picture)]);
}

bool TfrmMain::IgnoreCharacters() const {
  return IgnoreCharacters_CheckBox->isChecked();
}

Text TfrmMain::IgnoredCharacters() const {
  return FromQString(Ignored_Characters->text());
}

bool TfrmMain::WordsCorrections() const {
  return WordsCorr_CheckBox->isChecked();
}

// The corrections list comes with the Pronunciation page's list; until then there are no rows.
std::vector<corrections::Correction> TfrmMain::Corrections() const {
  return {};
}

// The slot list comes with the Voice slots page; until then no slot exists.
std::optional<reading::SlotRow> TfrmMain::Slot(int) const {
  return std::nullopt;
}

}  // namespace parlino::app
