// The options window's part in reading: hot keys, the middle-button poll, the engines' events,
// the tray animation and the pause item, all handed to the reading controller.
#include <QAction>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/ui/frm_main.h"
#include "app/ui/widgets/artwork.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/qt_text.h"

namespace parlino::app {
namespace {

// PARLINO_TRACE_WORDS=1 prints every word the modern voice reaches and the end of each of its
// texts, for tests and diagnosis.
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
  SpeechAPI5.OnEndStream = [this](speech::TSpVoice&, std::int32_t) {
    Reading.SpeechEnded();
    if (TraceWords()) std::fprintf(stderr, "end of speech\n");
  };
  SpeechAPI5.OnWord = [this](speech::TSpVoice&, std::int32_t, std::int32_t position,
                             std::int32_t length) {
    Reading.WordSpoken();
    if (TraceWords() && position >= 0 && length >= 0) {
      // Speech that is no reading (the voice test) has no text here: its words show by place.
      const auto start = static_cast<std::size_t>(position);
      const auto size = static_cast<std::size_t>(length);
      if (start + size <= Reading.SpokenText.size()) {
        std::fprintf(stderr, "word: %s\n", ToUtf8(Reading.SpokenText.substr(start, size)).c_str());
      } else {
        std::fprintf(stderr, "word: @%d\n", position);
      }
    }
  };
  SpeechAPI4.OnStart = [this](speech::TMSpeech&) { Reading.SpeechStarted(); };
  SpeechAPI4.OnStop = [this](speech::TMSpeech&) {
    Reading.SpeechEnded();
    if (TraceWords()) std::fprintf(stderr, "end of speech\n");
  };
}

void TfrmMain::EndWelcomeReading() {
  DispatchEvent(context_.boxes, [this] {
    Reading.Stopreading1Click();
    SpeechAPI5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
    TrayAnimation_Timer->stop();
    ShowTrayPicture(reading::TrayPicture::Normal);
  });
}

void TfrmMain::SingleInstanceRequest(platform::InstanceRequest request) {
  switch (request) {
    case platform::InstanceRequest::Read:
      if (context_.waylandSession) {
        Reading.ReadHighlightedText();
      } else {
        Reading.DefaultHotKeyHotKey();
      }
      return;
    case platform::InstanceRequest::Pause:
      DispatchEvent(context_.boxes, [this] { Reading.Stopreading1Click(); });
      return;
    case platform::InstanceRequest::Options:
      OptionsHotKeyHotKey();
      return;
  }
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

}  // namespace parlino::app
