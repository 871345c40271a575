#pragma once
// Turns a reading request into speech and follows it while it plays: the reading hot key and
// the middle button read the selection with the default voice, a slot's hot key with the slot's
// voice; the pause/resume toggle, the engines' events and the tray animation keep the state.
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/beep.h"
#include "platform/code_page.h"
#include "platform/text.h"
#include "reading/selected_text.h"
#include "speech/catalogue/voice_catalogue.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

namespace parlino::reading {

// The engines receive at most this many UTF-16 code units of a reading.
inline constexpr std::size_t kMaxReadingLength = 51200;

// The default voice as the options window's voice list holds it.
class DefaultVoice {
 public:
  virtual ~DefaultVoice() = default;
  // Readies the selected voice's engine with the tab's values.
  virtual void SelectDefaultVoice() = 0;
  virtual int SelectedVoiceIndex() const = 0;  // -1 when none is selected
  // The catalogue index of a display name (first match), -1 when none matches.
  virtual int VoiceIndexOfName(TextView displayName) const = 0;
};

// Slot n's row of the slot list: the voice name without " (SAPI5)" and its values as shown.
struct SlotRow {
  Text voice;
  Text speed;
  Text pitch;
  Text volume;
  speech::VoiceGeneration generation = speech::VoiceGeneration::Sapi5;
};

class SlotTable {
 public:
  virtual ~SlotTable() = default;
  virtual std::optional<SlotRow> Slot(int n) const = 0;
};

enum class TrayPicture { Normal, Frame1, Frame2 };

// What a reading shows: the tray icon, its animation timer and the pause item's caption.
class ReadingView {
 public:
  virtual ~ReadingView() = default;
  virtual void SetPauseCaption(TextView caption) = 0;
  virtual void SetAnimationRunning(bool running) = 0;
  virtual void ShowTrayPicture(TrayPicture picture) = 0;
};

struct ReadingServices {
  speech::TMSpeech& sapi4;
  speech::TSpVoice& sapi5;
  const platform::CodePage& codePage;
  DefaultVoice& defaultVoice;
  SlotTable& slotTable;
  SelectedTextCapture& selection;
  ReadingView& view;
  platform::Beeper& beeper;
  const bool& sapi4Available;
  const bool& sapi5Available;
};

class ReadingController {
 public:
  explicit ReadingController(ReadingServices services) : s_(services) {}

  void DefaultHotKeyHotKey();
  // A reading of the text the user highlighted (the primary selection) with the default voice,
  // for requests no synthetic copy can serve; the clipboard is left alone.
  void ReadHighlightedText();
  void SelectSlot(int slot);
  // The middle-button poll: a button that is down reads the selection.
  void MouseTimerTimer(bool middleButtonDown);

  void Stopreading1Click();
  void SpeechStarted();
  void SpeechEnded();
  void WordSpoken();
  void TrayAnimation_TimerTimer();

  bool ReadingActive = false;
  bool ReadingPaused = false;
  // Empty for the default voice, else the generation of the slot's voice.
  std::optional<speech::VoiceGeneration> ReadingEngine;
  Text PitchPrefix;
  int AnimationStep = 0;
  // What the modern voice was last given to speak, where its word events point.
  Text SpokenText;

 private:
  int LegacyCount() const { return static_cast<int>(s_.sapi4.Engines().size()); }
  bool IsLegacyIndex(int index) const;
  using Capture = Text (SelectedTextCapture::*)();
  // The captured text, cut to what the engines take.
  Text CapturedText(Capture capture = &SelectedTextCapture::GetSelectedText);
  void ReadWithDefaultVoice(Capture capture);
  void SpeakLegacy(const Text& text);
  void Speak(const Text& text);  // on the modern voice, after the pitch prefix
  void ReadModernSlot(const SlotRow& row);
  void ReadLegacySlot(const SlotRow& row);
  // Runs `block`; an error in it ends the block with a warning beep, nothing more.
  void Guarded(const std::function<void()>& block);

  ReadingServices s_;
};

}  // namespace parlino::reading
