#pragma once
// In-process stand-ins for SAPI 4's mode enumerator, engines and audio destinations, registered
// by the test under their class identifiers so that the program's own COM calls reach them. They
// note every call, count their live objects, hold the program's notification sinks as an engine
// does, and send notifications on request, from any thread.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/sapi4_interfaces.h"

namespace parlino::testing {

struct FakeSapi4 {
  std::vector<platform::win32_impl::sapi4::TTSMODEINFOA> modes;
  std::vector<std::string> calls;  // "Select", "TextData 0 0 'Hello\0'", "PitchSet 65535", ...
  int liveObjects = 0;             // enumerators, engines and audio destinations
  // What each sink's final Release answered when an engine let go of it: 0 when it was freed.
  std::vector<ULONG> sinkReleases;
};

FakeSapi4& Sapi4();

// A mode with this name and mode identifier {0000000n-...}.
platform::win32_impl::sapi4::TTSMODEINFOA FakeMode(const std::string& name, unsigned long number);

// Registers the stand-ins' classes for the registration's lifetime.
class FakeSapi4Registration {
 public:
  FakeSapi4Registration();
  ~FakeSapi4Registration();
  FakeSapi4Registration(const FakeSapi4Registration&) = delete;
  FakeSapi4Registration& operator=(const FakeSapi4Registration&) = delete;

 private:
  std::vector<DWORD> cookies_;
};

// Notifications of the newest engine to every sink registered with it, and to the buffer sink of
// its last text.
void SendAudioStart();
void SendAudioStop();
void SendWordPosition(DWORD byteOffset);

}  // namespace parlino::testing
