#include "reading/reading_controller.h"

#include <stdexcept>

#include "speech/catalogue/value_scales.h"
#include "speech/catalogue/voice_catalogue.h"
#include "speech/sapi4/ansi_text.h"

namespace parlino::reading {

bool ReadingController::IsLegacyIndex(int index) const {
  return index >= 0 &&
         speech::EntryAt(index, LegacyCount()).generation == speech::VoiceGeneration::Sapi4;
}

void ReadingController::Guarded(const std::function<void()>& block) {
  try {
    block();
  } catch (const std::exception&) {
    s_.beeper.WarningBeep();
  }
}

Text ReadingController::CapturedText(Capture capture) {
  Text text = (s_.selection.*capture)();
  if (text.size() > kMaxReadingLength) {
    // Never leave half a surrogate pair at the end of the cut.
    const bool splitsPair =
        text[kMaxReadingLength - 1] >= 0xD800 && text[kMaxReadingLength - 1] <= 0xDBFF;
    text.resize(kMaxReadingLength - (splitsPair ? 1 : 0));
  }
  return text;
}

void ReadingController::SpeakLegacy(const Text& text) {
  s_.sapi4.Text = {speech::ToAnsiText(s_.codePage, text)};
  s_.sapi4.Speak();
}

void ReadingController::Speak(const Text& text) {
  SpokenText = PitchPrefix + text;
  s_.sapi5.Speak(SpokenText, platform::kSpeakAsync);
}

void ReadingController::DefaultHotKeyHotKey() {
  ReadWithDefaultVoice(&SelectedTextCapture::GetSelectedText);
}

void ReadingController::ReadHighlightedText() {
  ReadWithDefaultVoice(&SelectedTextCapture::GetHighlightedText);
}

void ReadingController::ReadWithDefaultVoice(Capture capture) {
  // Two captures must never interleave their clipboard back-ups.
  if (s_.selection.CaptureInProgress()) return;
  Guarded([this, capture] {
    PitchPrefix.clear();
    s_.defaultVoice.SelectDefaultVoice();
    if (IsLegacyIndex(s_.defaultVoice.SelectedVoiceIndex())) {
      s_.sapi4.Text.clear();
      SpeakLegacy(CapturedText(capture));
      return;
    }
    const Text text = CapturedText(capture);
    // A fresh voice object: the old one goes with whatever it was saying.
    s_.sapi5.Disconnect();
    s_.sapi5.Connect();
    s_.defaultVoice.SelectDefaultVoice();
    s_.sapi5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
    Speak(text);
  });
}

void ReadingController::SelectSlot(int slot) {
  if (s_.selection.CaptureInProgress()) return;
  PitchPrefix.clear();
  const std::optional<SlotRow> row = s_.slotTable.Slot(slot);
  if (!row) return;
  const speech::VoiceGeneration generation = row->generation;
  if (generation == speech::VoiceGeneration::Sapi5 && s_.sapi5Available) {
    ReadModernSlot(*row);
  } else if (s_.sapi4Available) {
    ReadLegacySlot(*row);
  }
  ReadingEngine = generation;
}

void ReadingController::ReadModernSlot(const SlotRow& row) {
  Guarded([this] {
    // Stopping a legacy engine is only asked of a system that has them.
    if (s_.sapi4Available) s_.sapi4.Stop();
    s_.sapi5.Pause();
    s_.sapi5.Disconnect();
    s_.sapi5.Connect();
  });
  Guarded([this, &row] {
    const int index = s_.defaultVoice.VoiceIndexOfName(speech::Sapi5DisplayName(row.voice));
    s_.sapi5.SetVoice(
        s_.sapi5.GetVoices(u"", u"")->Item(speech::EntryAt(index, LegacyCount()).position));
    s_.sapi5.SetRate(speech::Sapi5Position(RequireInteger(row.speed)));
    s_.sapi5.SetVolume(RequireInteger(row.volume));
    PitchPrefix = speech::PitchPrefix(speech::Sapi5Position(RequireInteger(row.pitch)));
  });
  Guarded([this] {
    s_.sapi5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
    Speak(CapturedText());
  });
}

void ReadingController::ReadLegacySlot(const SlotRow& row) {
  Guarded([this, &row] {
    s_.sapi4.Stop();
    s_.sapi4.Pause();
    const int index = s_.defaultVoice.VoiceIndexOfName(row.voice);
    if (!IsLegacyIndex(index)) throw std::out_of_range("No legacy voice " + ToUtf8(row.voice));
    s_.sapi4.SelectEngine(s_.sapi4.Engines()[static_cast<std::size_t>(index)]);
    s_.sapi4.SetSpeed(static_cast<std::uint32_t>(RequireInteger(row.speed)));
    s_.sapi4.SetPitch(static_cast<std::uint16_t>(RequireInteger(row.pitch)));
    s_.sapi4.SetVolume(RequireInteger(row.volume));
    s_.sapi4.Text.clear();
    SpeakLegacy(CapturedText());
  });
}

void ReadingController::MouseTimerTimer(bool middleButtonDown) {
  if (middleButtonDown) DefaultHotKeyHotKey();
}

void ReadingController::Stopreading1Click() {
  if (!ReadingPaused && !ReadingActive) return;
  ReadingPaused = !ReadingPaused;

  const bool modernReading =
      ReadingEngine == speech::VoiceGeneration::Sapi5 ||
      (!ReadingEngine && !IsLegacyIndex(s_.defaultVoice.SelectedVoiceIndex()));
  const bool onModern = modernReading && s_.sapi5Available;
  const bool onLegacy = !onModern && s_.sapi4Available;

  if (ReadingPaused) {
    if (onModern) s_.sapi5.Pause();
    if (onLegacy) s_.sapi4.Pause();
    s_.view.SetAnimationRunning(false);
    s_.view.ShowTrayPicture(TrayPicture::Normal);
    s_.view.SetPauseCaption(u"Resume");
    ReadingActive = false;
  } else {
    if (onModern) s_.sapi5.Resume();
    if (onLegacy) s_.sapi4.Resume();
    s_.view.SetAnimationRunning(true);
    s_.view.SetPauseCaption(u"Pause");
    ReadingActive = true;
  }
}

void ReadingController::SpeechStarted() {
  s_.view.SetPauseCaption(u"Pause");
  s_.view.SetAnimationRunning(true);
  ReadingActive = true;
  ReadingPaused = false;
}

void ReadingController::SpeechEnded() {
  s_.view.SetAnimationRunning(false);
  s_.view.ShowTrayPicture(TrayPicture::Normal);
  ReadingActive = false;
  if (!ReadingPaused) ReadingEngine.reset();
}

void ReadingController::WordSpoken() {
  s_.view.SetAnimationRunning(ReadingActive);
}

void ReadingController::TrayAnimation_TimerTimer() {
  AnimationStep = AnimationStep >= 5 ? 3 : AnimationStep + 1;
  // Steps 1 and 2 happen once per run, so the first animation starts with two silent ticks.
  if (AnimationStep == 3) s_.view.ShowTrayPicture(TrayPicture::Frame1);
  if (AnimationStep == 4) s_.view.ShowTrayPicture(TrayPicture::Frame2);
  if (AnimationStep == 5) s_.view.ShowTrayPicture(TrayPicture::Normal);
}

}  // namespace parlino::reading
