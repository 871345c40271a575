#pragma once
// A slot list with its editor over fakes and a fresh data folder: one legacy engine mode or none,
// the modern voices Anna and Bob, and the options window's three hot keys.
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "platform/linux/ini_profile_store.h"
#include "reading/global_hot_key.h"
#include "slots/slots_panel.h"
#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/fake_legacy_engines.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_voice_server.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::testing {

// A control of a window by its name; a missing one ends the test with that name.
template <typename T>
T* SlotControl(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(name);
  if (found == nullptr) throw std::logic_error(std::string("no control named ") + name);
  return found;
}

// A slots.ini section as the editor writes it.
inline std::string SlotSection(int n, const std::string& voice, std::uint16_t hotKey,
                               const std::string& speed = "150", const std::string& pitch = "105",
                               const std::string& volume = "100", int sapiVersion = 5) {
  return "[Slot_" + std::to_string(n) + "]\r\nVoice=" + voice +
         "\r\nHotKey=" + std::to_string(hotKey) + "\r\nSpeed=" + speed + "\r\nPitch=" + pitch +
         "\r\nVolume=" + volume + "\r\nSAPIVersion=" + std::to_string(sapiVersion) + "\r\n";
}

class StubSlotVoices final : public voice_slots::SlotVoices {
 public:
  std::vector<Text> names;
  Text testText = u"This is a test for selected voice.";
  std::vector<Text> VoiceNames() const override { return names; }
  Text TestText() const override { return testText; }
};

class SlotsFixture {
 public:
  // With `legacy`, the catalogue starts with the legacy mode "Fake Legacy".
  explicit SlotsFixture(bool legacy = false)
      : legacyEngines(legacy ? std::vector<FakeLegacyMode>{MakeFakeMode("Fake Legacy")}
                             : std::vector<FakeLegacyMode>{}) {
    if (legacy) voices.names.push_back(u"Fake Legacy");
    voices.names.push_back(u"Anna (SAPI5)");
    voices.names.push_back(u"Bob (SAPI5)");
    readingKey.SetHotKey(0x4008);
    optionsKey.SetHotKey(0x407A);
    stopKey.SetHotKey(0x407B);
  }

  voice_slots::TSlotsPanel& Panel() {
    if (!panel) {
      panel = std::make_unique<voice_slots::TSlotsPanel>(voice_slots::SlotsServices{
          profiles, SlotsFile(), [this](platform::TextFile&) { ++tidied; }, hotKeys,
          [this](int tag) { pressed.push_back(tag); },
          voice_slots::ProgramHotKeys{readingKey, optionsKey, stopKey}, voices, sapi4, sapi5,
          legacyEngines, codePage, boxes, shell, helpFile});
    }
    return *panel;
  }

  // The panel with the slots of `content` loaded, as the start-up loads them; no file for none.
  voice_slots::TSlotsPanel& Loaded(const std::string& content) {
    if (!content.empty()) WriteBytes(SlotsFile(), content);
    Panel().LoadVoiceSlots();
    return *panel;
  }

  voice_slots::TfrmSlot& Editor() { return Panel().frmSlot(); }

  template <typename T>
  T* PanelControl(const char* name) {
    return SlotControl<T>(Panel(), name);
  }
  template <typename T>
  T* EditorControl(const char* name) {
    return SlotControl<T>(Editor(), name);
  }

  // Runs `open`, and `inside` once the editor it opens is shown; closes the editor afterwards if
  // `inside` left it open. Returns whether the editor was shown.
  bool WithEditor(const std::function<void()>& open,
                  const std::function<void(voice_slots::TfrmSlot&)>& inside) {
    bool shown = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (!Editor().isVisible()) return;
      shown = true;
      inside(Editor());
      if (Editor().isVisible()) Editor().reject();
    });
    timer.start(0);
    open();
    QApplication::processEvents();
    return shown;
  }

  std::filesystem::path SlotsFile() const { return dir / "slots.ini"; }

  TempDir dir;
  platform::linux_impl::IniProfileStore profiles;
  FakeHotKeyRegistrar hotKeys;
  FakeMessageBoxes boxes;
  FakeShell shell;
  FakeMessagePump pump;
  FakeVoiceServer voiceServer{pump, {u"Anna", u"Bob"}};
  FakeLegacyEngineServer legacyEngines;
  Cp1252CodePage codePage;
  speech::TMSpeech sapi4{legacyEngines, codePage};
  speech::TSpVoice sapi5{voiceServer};
  reading::GlobalHotKey readingKey{hotKeys};
  reading::GlobalHotKey optionsKey{hotKeys};
  reading::GlobalHotKey stopKey{hotKeys};
  StubSlotVoices voices;
  Text helpFile = u"/opt/parlino/help/index.html";
  int tidied = 0;
  std::vector<int> pressed;  // the tags of the slot hot keys pressed
  std::unique_ptr<voice_slots::TSlotsPanel> panel;
};

}  // namespace parlino::testing
