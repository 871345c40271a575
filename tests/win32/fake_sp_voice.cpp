#include "tests/win32/fake_sp_voice.h"

#include <ocidl.h>
#include <olectl.h>
#include <sapi.h>

#include <algorithm>
#include <string>

// COM objects end in their own Release, never by a delete through an interface pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace parlino::testing {
namespace {

// Members of the interfaces that the program never calls.
#define PARLINO_UNUSED_MEMBER(signature)         \
  HRESULT STDMETHODCALLTYPE signature override { \
    return E_NOTIMPL;                            \
  }

std::string Narrow(const wchar_t* text, UINT length) {
  std::string narrow;
  for (UINT i = 0; i < length; ++i) {
    narrow += text[i] < 128 ? static_cast<char>(text[i]) : '?';
  }
  return narrow;
}

std::string Narrow(BSTR text) {
  return text == nullptr ? std::string() : Narrow(text, SysStringLen(text));
}

// IDispatch members for dual interfaces that are only called early-bound.
#define PARLINO_NO_TYPE_INFO                                                   \
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {           \
    *count = 0;                                                                \
    return S_OK;                                                               \
  }                                                                            \
  PARLINO_UNUSED_MEMBER(GetTypeInfo(UINT, LCID, ITypeInfo**))                  \
  PARLINO_UNUSED_MEMBER(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)) \
  PARLINO_UNUSED_MEMBER(                                                       \
      Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))

#define PARLINO_REFERENCES(counter)            \
  ULONG STDMETHODCALLTYPE AddRef() override {  \
    return ++references_;                      \
  }                                            \
  ULONG STDMETHODCALLTYPE Release() override { \
    const ULONG left = --references_;          \
    if (left == 0) {                           \
      --Sapi5().counter;                       \
      delete this;                             \
    }                                          \
    return left;                               \
  }

class FakeToken final : public ISpeechObjectToken {
 public:
  explicit FakeToken(std::wstring description) : description_(std::move(description)) {
    ++Sapi5().liveTokens;
  }
  const std::wstring& description() const { return description_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ISpeechObjectToken) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  PARLINO_REFERENCES(liveTokens)
  PARLINO_NO_TYPE_INFO

  HRESULT STDMETHODCALLTYPE GetDescription(LONG locale, BSTR* description) override {
    Sapi5().calls.push_back("GetDescription " + std::to_string(locale));
    *description = SysAllocString(description_.c_str());
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(get_Id(BSTR*))
  PARLINO_UNUSED_MEMBER(get_DataKey(ISpeechDataKey**))
  PARLINO_UNUSED_MEMBER(get_Category(ISpeechObjectTokenCategory**))
  PARLINO_UNUSED_MEMBER(SetId(BSTR, BSTR, VARIANT_BOOL))
  PARLINO_UNUSED_MEMBER(GetAttribute(BSTR, BSTR*))
  PARLINO_UNUSED_MEMBER(CreateInstance(IUnknown*, SpeechTokenContext, IUnknown**))
  PARLINO_UNUSED_MEMBER(Remove(BSTR))
  PARLINO_UNUSED_MEMBER(GetStorageFileName(BSTR, BSTR, BSTR, SpeechTokenShellFolder, BSTR*))
  PARLINO_UNUSED_MEMBER(RemoveStorageFileName(BSTR, BSTR, VARIANT_BOOL))
  PARLINO_UNUSED_MEMBER(IsUISupported(const BSTR, const VARIANT*, IUnknown*, VARIANT_BOOL*))
  PARLINO_UNUSED_MEMBER(DisplayUI(LONG, BSTR, const BSTR, const VARIANT*, IUnknown*))
  PARLINO_UNUSED_MEMBER(MatchesAttributes(BSTR, VARIANT_BOOL*))

 private:
  ~FakeToken() = default;
  ULONG references_ = 1;
  std::wstring description_;
};

class FakeTokens final : public ISpeechObjectTokens {
 public:
  FakeTokens() { ++Sapi5().liveTokens; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ISpeechObjectTokens) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  PARLINO_REFERENCES(liveTokens)
  PARLINO_NO_TYPE_INFO

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    Sapi5().calls.push_back("Count");
    *count = static_cast<LONG>(Sapi5().voices.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(LONG index, ISpeechObjectToken** token) override {
    Sapi5().calls.push_back("Item " + std::to_string(index));
    if (index < 0 || static_cast<std::size_t>(index) >= Sapi5().voices.size()) {
      *token = nullptr;
      return E_INVALIDARG;
    }
    *token = new FakeToken(Sapi5().voices[static_cast<std::size_t>(index)]);
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(get__NewEnum(IUnknown**))

 private:
  ~FakeTokens() = default;
  ULONG references_ = 1;
};

std::vector<class FakeSpVoice*>& LiveVoices() {
  static std::vector<FakeSpVoice*> voices;
  return voices;
}

class FakeSpVoice final : public ISpeechVoice,
                          public IConnectionPointContainer,
                          public IConnectionPoint {
 public:
  FakeSpVoice() {
    ++Sapi5().liveVoices;
    LiveVoices().push_back(this);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ISpeechVoice) {
      if (iid == IID_ISpeechVoice) Sapi5().calls.push_back("QueryInterface ISpeechVoice");
      *object = static_cast<ISpeechVoice*>(this);
    } else if (iid == IID_IConnectionPointContainer) {
      Sapi5().calls.push_back("QueryInterface IConnectionPointContainer");
      *object = static_cast<IConnectionPointContainer*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      --Sapi5().liveVoices;
      std::erase(LiveVoices(), this);
      delete this;
    }
    return left;
  }
  PARLINO_NO_TYPE_INFO

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    Sapi5().calls.push_back("FindConnectionPoint");
    if (iid != DIID__ISpeechVoiceEvents) {
      *point = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    *point = this;
    AddRef();
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(EnumConnectionPoints(IEnumConnectionPoints**))

  // IConnectionPoint
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(DIID__ISpeechVoiceEvents, reinterpret_cast<void**>(&events)))) {
      return CONNECT_E_CANNOTCONNECT;
    }
    Sapi5().calls.push_back("Advise");
    sinks_.push_back(events);
    *cookie = static_cast<DWORD>(sinks_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    Sapi5().calls.push_back("Unadvise " + std::to_string(cookie));
    if (cookie == 0 || cookie > sinks_.size() || sinks_[cookie - 1] == nullptr) {
      return CONNECT_E_NOCONNECTION;
    }
    Sapi5().sinkReferencesLeft = static_cast<int>(sinks_[cookie - 1]->Release());
    sinks_[cookie - 1] = nullptr;
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(GetConnectionInterface(IID*))
  PARLINO_UNUSED_MEMBER(GetConnectionPointContainer(IConnectionPointContainer**))
  PARLINO_UNUSED_MEMBER(EnumConnections(IEnumConnections**))

  // ISpeechVoice
  HRESULT STDMETHODCALLTYPE putref_Voice(ISpeechObjectToken* voice) override {
    // The program only hands back tokens that this stand-in gave out.
    const std::wstring& description = static_cast<FakeToken*>(voice)->description();
    Sapi5().calls.push_back("putref_Voice " +
                            Narrow(description.c_str(), static_cast<UINT>(description.size())));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Rate(LONG rate) override {
    Sapi5().calls.push_back("put_Rate " + std::to_string(rate));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) override {
    Sapi5().calls.push_back("put_Volume " + std::to_string(volume));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Speak(BSTR text, SpeechVoiceSpeakFlags flags, LONG* stream) override {
    Sapi5().calls.push_back("Speak '" + Narrow(text) + "' " + std::to_string(flags));
    *stream = ++streams_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Pause() override {
    Sapi5().calls.push_back("Pause");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Resume() override {
    Sapi5().calls.push_back("Resume");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVoices(BSTR required, BSTR optional,
                                      ISpeechObjectTokens** tokens) override {
    Sapi5().calls.push_back("GetVoices '" + Narrow(required) + "' '" + Narrow(optional) + "'");
    *tokens = new FakeTokens;
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(get_Status(ISpeechVoiceStatus**))
  PARLINO_UNUSED_MEMBER(get_Voice(ISpeechObjectToken**))
  PARLINO_UNUSED_MEMBER(get_AudioOutput(ISpeechObjectToken**))
  PARLINO_UNUSED_MEMBER(putref_AudioOutput(ISpeechObjectToken*))
  PARLINO_UNUSED_MEMBER(get_AudioOutputStream(ISpeechBaseStream**))
  PARLINO_UNUSED_MEMBER(putref_AudioOutputStream(ISpeechBaseStream*))
  PARLINO_UNUSED_MEMBER(get_Rate(LONG*))
  PARLINO_UNUSED_MEMBER(get_Volume(LONG*))
  PARLINO_UNUSED_MEMBER(put_AllowAudioOutputFormatChangesOnNextSet(VARIANT_BOOL))
  PARLINO_UNUSED_MEMBER(get_AllowAudioOutputFormatChangesOnNextSet(VARIANT_BOOL*))
  PARLINO_UNUSED_MEMBER(get_EventInterests(SpeechVoiceEvents*))
  PARLINO_UNUSED_MEMBER(put_EventInterests(SpeechVoiceEvents))
  PARLINO_UNUSED_MEMBER(put_Priority(SpeechVoicePriority))
  PARLINO_UNUSED_MEMBER(get_Priority(SpeechVoicePriority*))
  PARLINO_UNUSED_MEMBER(put_AlertBoundary(SpeechVoiceEvents))
  PARLINO_UNUSED_MEMBER(get_AlertBoundary(SpeechVoiceEvents*))
  PARLINO_UNUSED_MEMBER(put_SynchronousSpeakTimeout(LONG))
  PARLINO_UNUSED_MEMBER(get_SynchronousSpeakTimeout(LONG*))
  PARLINO_UNUSED_MEMBER(SpeakStream(ISpeechBaseStream*, SpeechVoiceSpeakFlags, LONG*))
  PARLINO_UNUSED_MEMBER(Skip(const BSTR, LONG, LONG*))
  PARLINO_UNUSED_MEMBER(GetAudioOutputs(BSTR, BSTR, ISpeechObjectTokens**))
  PARLINO_UNUSED_MEMBER(WaitUntilDone(LONG, VARIANT_BOOL*))
  PARLINO_UNUSED_MEMBER(SpeakCompleteEvent(LONG*))
  PARLINO_UNUSED_MEMBER(IsUISupported(const BSTR, const VARIANT*, VARIANT_BOOL*))
  PARLINO_UNUSED_MEMBER(DisplayUI(LONG, BSTR, const BSTR, const VARIANT*))

  void Fire(DISPID id, const std::vector<LONG>& arguments) {
    std::vector<VARIANT> reversed(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      VARIANT& argument = reversed[arguments.size() - 1 - i];
      VariantInit(&argument);
      // The stream position travels as a 64-bit number, the others as 32-bit ones.
      if (i == 1) {
        argument.vt = VT_I8;
        argument.llVal = arguments[i];
      } else {
        argument.vt = VT_I4;
        argument.lVal = arguments[i];
      }
    }
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    for (IDispatch* sink : std::vector<IDispatch*>(sinks_)) {
      if (sink != nullptr) {
        sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
      }
    }
  }

 private:
  ~FakeSpVoice() {
    for (IDispatch* sink : sinks_) {
      if (sink != nullptr) sink->Release();
    }
  }

  ULONG references_ = 1;
  std::vector<IDispatch*> sinks_;  // by cookie - 1; released ones are null
  LONG streams_ = 0;
};

class FakeFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory lives in static storage for the whole test program.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    Sapi5().calls.push_back("CreateInstance");
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if (FAILED(Sapi5().createResult)) return Sapi5().createResult;
    auto* voice = new FakeSpVoice;
    const HRESULT result = voice->QueryInterface(iid, object);
    voice->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

FakeFactory factory;

}  // namespace

FakeSapi5& Sapi5() {
  static FakeSapi5 state;
  return state;
}

FakeSapi5Registration::FakeSapi5Registration() {
  Sapi5() = FakeSapi5{};
  CoRegisterClassObject(CLSID_SpVoice, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                        &cookie_);
}

FakeSapi5Registration::~FakeSapi5Registration() {
  CoRevokeClassObject(cookie_);
}

IUnknown* NewFakeSpVoice() {
  return static_cast<ISpeechVoice*>(new FakeSpVoice);
}

void FireVoiceEvent(DISPID id, const std::vector<LONG>& arguments) {
  for (FakeSpVoice* voice : std::vector<FakeSpVoice*>(LiveVoices())) voice->Fire(id, arguments);
}

}  // namespace parlino::testing
