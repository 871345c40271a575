#pragma once
// An in-process stand-in for SAPI 5's SpVoice, registered by the test under SpVoice's class
// identifier so that the program's own COM calls reach it: ISpeechVoice with its token
// collections, and the connection point of _ISpeechVoiceEvents, through which the test fires
// events as SpVoice does. It notes every call and counts its live objects, so that tests see the
// order of the calls and that every reference was given back.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace parlino::testing {

struct FakeSapi5 {
  std::vector<std::wstring> voices{L"Anna", L"Bruno"};  // the descriptions GetVoices lists
  HRESULT createResult = S_OK;                          // what CreateInstance answers
  std::vector<std::string> calls;                       // "Speak 'text' 1", "put_Rate 3", ...
  int liveVoices = 0;  // voice objects and token objects that are not yet released
  int liveTokens = 0;
  int sinkReferencesLeft = -1;  // what the sink's Release answered at Unadvise: 0 when freed
};

// The one state of all fakes, reset by each test's FakeSapi5Registration.
FakeSapi5& Sapi5();

// Registers the stand-in as SpVoice's class (CoRegisterClassObject) for its lifetime.
class FakeSapi5Registration {
 public:
  FakeSapi5Registration();
  ~FakeSapi5Registration();
  FakeSapi5Registration(const FakeSapi5Registration&) = delete;
  FakeSapi5Registration& operator=(const FakeSapi5Registration&) = delete;

 private:
  DWORD cookie_ = 0;
};

// A voice object of the stand-in; the running-object test registers one itself.
IUnknown* NewFakeSpVoice();

// Fires an event of _ISpeechVoiceEvents at every sink of every live voice, as SpVoice calls
// them: Invoke with the dispatch identifier and the arguments, last one first.
void FireVoiceEvent(DISPID id, const std::vector<LONG>& arguments);

}  // namespace parlino::testing
