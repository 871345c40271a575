#include "tests/win32/fake_sapi4.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <map>

// COM objects end in their own Release, never by a delete through an interface pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace parlino::testing {

using namespace platform::win32_impl::sapi4;

FakeSapi4& Sapi4() {
  static FakeSapi4 state;
  return state;
}

TTSMODEINFOA FakeMode(const std::string& name, unsigned long number) {
  TTSMODEINFOA mode{};
  mode.gModeID = {number, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
  mode.gEngineID = {0xE0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
  std::strncpy(mode.szModeName, name.c_str(), sizeof mode.szModeName - 1);
  std::strncpy(mode.szMfgName, "Maker", sizeof mode.szMfgName - 1);
  std::strncpy(mode.szSpeaker, "Speaker", sizeof mode.szSpeaker - 1);
  mode.wGender = 1;
  return mode;
}

namespace {

#define PARLINO_UNUSED_MEMBER(signature)         \
  HRESULT STDMETHODCALLTYPE signature override { \
    return E_NOTIMPL;                            \
  }

void Note(const std::string& call) {
  Sapi4().calls.push_back(call);
}

// Reference counting of a stand-in that answers the interface identifiers in `iids`.
class FakeObject {
 public:
  FakeObject() { ++Sapi4().liveObjects; }
  virtual ~FakeObject() { --Sapi4().liveObjects; }

 protected:
  ULONG Add() { return ++references_; }
  ULONG Drop() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> references_{1};
};

class FakeCentral;
std::vector<FakeCentral*> centrals;  // live engines, the newest last

class FakeCentral final : public ITTSCentralA, public ITTSAttributesA, public FakeObject {
 public:
  FakeCentral() { centrals.push_back(this); }
  ~FakeCentral() override {
    std::erase(centrals, this);
    for (auto& [key, sink] : sinks_) Sapi4().sinkReleases.push_back(sink->Release());
    if (buffer_ != nullptr) Sapi4().sinkReleases.push_back(buffer_->Release());
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_ITTSDialogsA) {
      if (iid == IID_ITTSDialogsA) Note("QueryInterface ITTSDialogsA");
      *object = static_cast<ITTSCentralA*>(this);
    } else if (iid == IID_ITTSAttributesA) {
      Note("QueryInterface ITTSAttributesA");
      *object = static_cast<ITTSAttributesA*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    Add();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }

  HRESULT STDMETHODCALLTYPE Inject(const CHAR* tag) override {
    Note(std::string("Inject ") + tag);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TextData(VOICECHARSET charset, DWORD flags, SDATA text, void* sink,
                                     IID iid) override {
    if (iid != IID_ITTSBufNotifySink) return E_NOINTERFACE;
    Note("TextData " + std::to_string(charset) + " " + std::to_string(flags) + " '" +
         std::string(static_cast<const char*>(text.pData), text.dwSize) + "'");
    if (buffer_ != nullptr) Sapi4().sinkReleases.push_back(buffer_->Release());
    buffer_ = static_cast<ITTSBufNotifySink*>(sink);
    buffer_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AudioPause() override {
    Note("AudioPause");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AudioResume() override {
    Note("AudioResume");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AudioReset() override {
    Note("AudioReset");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Register(void* sink, IID iid, DWORD* key) override {
    if (iid != IID_ITTSNotifySink) return E_NOINTERFACE;
    *key = ++lastKey_;
    Note("Register " + std::to_string(*key));
    sinks_[*key] = static_cast<ITTSNotifySinkA*>(sink);
    sinks_[*key]->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UnRegister(DWORD key) override {
    Note("UnRegister " + std::to_string(key));
    const auto found = sinks_.find(key);
    if (found == sinks_.end()) return E_INVALIDARG;
    Sapi4().sinkReleases.push_back(found->second->Release());
    sinks_.erase(found);
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(ModeGet(TTSMODEINFOA*))
  PARLINO_UNUSED_MEMBER(Phoneme(VOICECHARSET, DWORD, SDATA, SDATA*))
  PARLINO_UNUSED_MEMBER(PosnGet(QWORD*))
  PARLINO_UNUSED_MEMBER(ToFileTime(QWORD*, FILETIME*))

  // Attributes clamped as an engine clamps them.
  HRESULT STDMETHODCALLTYPE PitchGet(WORD* pitch) override {
    *pitch = pitch_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PitchSet(WORD pitch) override {
    Note("PitchSet " + std::to_string(pitch));
    pitch_ = std::clamp<WORD>(pitch, 50, 250);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RealTimeGet(DWORD* realTime) override {
    *realTime = realTime_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RealTimeSet(DWORD realTime) override {
    Note("RealTimeSet " + std::to_string(realTime));
    realTime_ = std::clamp<DWORD>(realTime, 0x40, 0x400);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SpeedGet(DWORD* speed) override {
    *speed = speed_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SpeedSet(DWORD speed) override {
    Note("SpeedSet " + std::to_string(speed));
    speed_ = std::clamp<DWORD>(speed, 60, 450);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE VolumeGet(DWORD* volume) override {
    *volume = volume_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE VolumeSet(DWORD volume) override {
    Note("VolumeSet " + std::to_string(volume));
    volume_ = volume;
    return S_OK;
  }

  std::vector<ITTSNotifySinkA*> Sinks() const {
    std::vector<ITTSNotifySinkA*> sinks;
    for (const auto& [key, sink] : sinks_) sinks.push_back(sink);
    return sinks;
  }
  ITTSBufNotifySink* Buffer() const { return buffer_; }

 private:
  std::map<DWORD, ITTSNotifySinkA*> sinks_;
  ITTSBufNotifySink* buffer_ = nullptr;
  DWORD lastKey_ = 0;
  WORD pitch_ = 120;
  DWORD realTime_ = 0x100;
  DWORD speed_ = 170;
  DWORD volume_ = 0xFFFFFFFF;
};

class FakeEnum final : public ITTSEnumA, public FakeObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_ITTSEnumA) {
      *object = static_cast<ITTSEnumA*>(this);
      Add();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, TTSMODEINFOA* modes, ULONG* fetched) override {
    Note("Next " + std::to_string(count));
    ULONG done = 0;
    while (done < count && position_ < Sapi4().modes.size()) {
      modes[done++] = Sapi4().modes[position_++];
    }
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    Note("Skip " + std::to_string(count));
    position_ += count;
    return position_ <= Sapi4().modes.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    Note("Reset");
    position_ = 0;
    return S_OK;
  }
  PARLINO_UNUSED_MEMBER(Clone(ITTSEnumA**))
  HRESULT STDMETHODCALLTYPE Select(GUID mode, ITTSCentralA** central, IUnknown* audio) override {
    IUnknown* device = nullptr;
    const bool isDevice =
        audio != nullptr && SUCCEEDED(audio->QueryInterface(IID_IAudioMultiMediaDevice,
                                                            reinterpret_cast<void**>(&device)));
    if (device != nullptr) device->Release();
    Note("Select " + std::to_string(mode.Data1) + (isDevice ? " device" : " other"));
    *central = new FakeCentral;
    return S_OK;
  }

 private:
  std::size_t position_ = 0;
};

class FakeAudioDevice final : public IUnknown, public FakeObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IAudioMultiMediaDevice) {
      *object = static_cast<IUnknown*>(this);
      Add();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }
};

template <typename Object>
class FakeFactory final : public IClassFactory {
 public:
  explicit FakeFactory(const char* name) : name_(name) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factories live in static storage for the whole test program.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    Note(std::string("CreateInstance ") + name_);
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* created = new Object;
    const HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  const char* name_;
};

FakeFactory<FakeEnum> enumFactory("TTSEnumerator");
FakeFactory<FakeAudioDevice> deviceFactory("MMAudioDest");

}  // namespace

FakeSapi4Registration::FakeSapi4Registration() {
  Sapi4() = FakeSapi4{};
  for (const auto& [clsid, factory] :
       {std::pair<const GUID*, IClassFactory*>{&CLSID_TTSEnumerator, &enumFactory},
        std::pair<const GUID*, IClassFactory*>{&CLSID_MMAudioDest, &deviceFactory}}) {
    DWORD cookie = 0;
    CoRegisterClassObject(*clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    cookies_.push_back(cookie);
  }
}

FakeSapi4Registration::~FakeSapi4Registration() {
  for (const DWORD cookie : cookies_) CoRevokeClassObject(cookie);
}

void SendAudioStart() {
  for (ITTSNotifySinkA* sink : centrals.back()->Sinks()) sink->AudioStart(100);
}

void SendAudioStop() {
  for (ITTSNotifySinkA* sink : centrals.back()->Sinks()) sink->AudioStop(200);
}

void SendWordPosition(DWORD byteOffset) {
  if (ITTSBufNotifySink* buffer = centrals.back()->Buffer()) buffer->WordPosition(150, byteOffset);
}

}  // namespace parlino::testing
