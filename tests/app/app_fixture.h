#pragma once
// An options window over fakes and a fresh data folder, as the program entry would build it.
#include <memory>

#include "app/ui/frm_main.h"
#include "platform/linux/ini_profile_store.h"
#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/fake_capture_services.h"
#include "tests/fakes/fake_legacy_engines.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_voice_server.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::testing {

class AppFixture {
 public:
  explicit AppFixture(std::vector<std::string> arguments = {"/opt/parlino/parlino"})
      : context{{dir.path(), dir.path()},
                "/opt/parlino/parlino",
                std::move(arguments),
                profiles,
                autostart,
                boxes,
                shell,
                voices,
                legacyEngines,
                codePage,
                hotKeys,
                clipboard,
                focusCopy,
                keyboard,
                pointer,
                beeper,
                clock,
                pump} {}

  app::TfrmMain& Form() {
    if (!form) form = std::make_unique<app::TfrmMain>(context);
    return *form;
  }

  // The options window with its voice catalogue built, as the startup sequence builds it.
  app::TfrmMain& Catalogue() {
    Form().LoadVoicesList();
    return *form;
  }

  std::filesystem::path Cfg() const { return dir / "cfg.ini"; }
  std::optional<Text> Stored(TextView section, TextView key) {
    return profiles.Read(Cfg(), section, key);
  }

  TempDir dir;
  platform::linux_impl::IniProfileStore profiles;
  FakeAutostartEntry autostart;
  FakeMessageBoxes boxes;
  FakeShell shell;
  FakeMessagePump pump;
  FakeVoiceServer voices{pump, {u"Anna", u"Bob"}};
  FakeLegacyEngineServer legacyEngines;
  Cp1252CodePage codePage;
  FakeHotKeyRegistrar hotKeys;
  FakeClipboard clipboard;
  FakeFocusCopy focusCopy;
  FakeKeyboardInput keyboard;
  FakePointerButtons pointer;
  FakeBeeper beeper;
  VirtualClock clock;
  app::AppContext context;
  std::unique_ptr<app::TfrmMain> form;
};

}  // namespace parlino::testing
