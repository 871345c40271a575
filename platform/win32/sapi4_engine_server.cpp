#include "platform/win32/sapi4_engine_server.h"

#include <atomic>
#include <cstring>
#include <map>
#include <vector>

#include "platform/platform_error.h"
#include "platform/win32/sapi4_interfaces.h"
#include "platform/win32/win32_text.h"

// COM objects end in their own Release, never by a delete through an interface pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace parlino::platform::win32_impl {
namespace {

using namespace sapi4;

// In-process server, in-process handler or local server: wherever the engine lives.
constexpr DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

Guid ToGuid(const GUID& guid) {
  Guid result{guid.Data1, guid.Data2, guid.Data3, {}};
  std::memcpy(result.data4.data(), guid.Data4, sizeof guid.Data4);
  return result;
}

GUID FromGuid(const Guid& guid) {
  GUID result{guid.data1, guid.data2, guid.data3, {}};
  std::memcpy(result.Data4, guid.data4.data(), sizeof result.Data4);
  return result;
}

// A fixed array's string, up to its first 0 byte or its end.
template <std::size_t N>
std::string FixedString(const CHAR (&text)[N]) {
  return std::string(text, strnlen(text, N));
}

LegacyEngineMode ToMode(const TTSMODEINFOA& info) {
  LegacyEngineMode mode;
  mode.engineId = ToGuid(info.gEngineID);
  mode.mfgName = FixedString(info.szMfgName);
  mode.productName = FixedString(info.szProductName);
  mode.modeId = ToGuid(info.gModeID);
  mode.modeName = FixedString(info.szModeName);
  mode.dialect = FixedString(info.language.szDialect);
  mode.speaker = FixedString(info.szSpeaker);
  mode.style = FixedString(info.szStyle);
  mode.gender = info.wGender;
  mode.age = info.wAge;
  mode.features = info.dwFeatures;
  mode.interfaces = info.dwInterfaces;
  return mode;
}

// The reference counting of the program's COM objects, which any thread may call.
template <typename Interface>
class ComObject : public Interface {
 public:
  ComObject(const IID& iid) : iid_(iid) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == iid_) {
      *object = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;

 private:
  const IID& iid_;
  std::atomic<ULONG> references_{1};
};

// Where a sink's notifications go while the program listens.
template <typename Sink>
struct SinkTarget : std::enable_shared_from_this<SinkTarget<Sink>> {
  SinkTarget(MessagePump& messagePump, std::shared_ptr<Sink> programSink)
      : pump(messagePump), sink(std::move(programSink)) {}

  // The status for the engine. A notification that cannot be queued (no memory left, say) is a
  // failure of the engine's call; no exception may cross into the engine's code.
  template <typename Notification>
  HRESULT Deliver(Notification notification) noexcept {
    if (!listening) return S_OK;
    try {
      pump.Post([self = this->shared_from_this(), notification] {
        if (self->listening) notification(*self->sink);
      });
    } catch (const std::exception&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  MessagePump& pump;
  std::shared_ptr<Sink> sink;
  std::atomic<bool> listening{true};
};

class NotifySink final : public ComObject<ITTSNotifySinkA> {
 public:
  explicit NotifySink(std::shared_ptr<SinkTarget<LegacyNotifySink>> target)
      : ComObject(IID_ITTSNotifySink), target_(std::move(target)) {}

  HRESULT STDMETHODCALLTYPE AttribChanged(DWORD attribute) override {
    return target_->Deliver([attribute](LegacyNotifySink& sink) { sink.AttribChanged(attribute); });
  }
  HRESULT STDMETHODCALLTYPE AudioStart(QWORD timeStamp) override {
    return target_->Deliver([timeStamp](LegacyNotifySink& sink) { sink.AudioStart(timeStamp); });
  }
  HRESULT STDMETHODCALLTYPE AudioStop(QWORD timeStamp) override {
    return target_->Deliver([timeStamp](LegacyNotifySink& sink) { sink.AudioStop(timeStamp); });
  }
  HRESULT STDMETHODCALLTYPE Visual(QWORD timeStamp, CHAR ipa, CHAR engine, DWORD hints,
                                   TTSMOUTH* mouth) override {
    // The mouth is the engine's until the call returns: the program gets a copy.
    LegacyMouth copy;
    if (mouth != nullptr) {
      copy = {mouth->bMouthHeight, mouth->bMouthWidth,        mouth->bMouthUpturn,
              mouth->bJawOpen,     mouth->bTeethUpperVisible, mouth->bTeethLowerVisible,
              mouth->bTonguePosn,  mouth->bLipTension};
    }
    return target_->Deliver(
        [=](LegacyNotifySink& sink) { sink.Visual(timeStamp, ipa, engine, hints, copy); });
  }

 private:
  std::shared_ptr<SinkTarget<LegacyNotifySink>> target_;
};

class BufferSink final : public ComObject<ITTSBufNotifySink> {
 public:
  explicit BufferSink(std::shared_ptr<SinkTarget<LegacyBufferNotifySink>> target)
      : ComObject(IID_ITTSBufNotifySink), target_(std::move(target)) {}

  HRESULT STDMETHODCALLTYPE TextDataDone(QWORD timeStamp, DWORD flags) override {
    return target_->Deliver(
        [=](LegacyBufferNotifySink& sink) { sink.TextDataDone(timeStamp, flags); });
  }
  HRESULT STDMETHODCALLTYPE TextDataStarted(QWORD timeStamp) override {
    return target_->Deliver([=](LegacyBufferNotifySink& sink) { sink.TextDataStarted(timeStamp); });
  }
  HRESULT STDMETHODCALLTYPE BookMark(QWORD timeStamp, DWORD mark) override {
    return target_->Deliver([=](LegacyBufferNotifySink& sink) { sink.BookMark(timeStamp, mark); });
  }
  HRESULT STDMETHODCALLTYPE WordPosition(QWORD timeStamp, DWORD offset) override {
    return target_->Deliver(
        [=](LegacyBufferNotifySink& sink) { sink.WordPosition(timeStamp, offset); });
  }

 private:
  std::shared_ptr<SinkTarget<LegacyBufferNotifySink>> target_;
};

class Sapi4AudioDevice final : public LegacyAudioDevice {
 public:
  explicit Sapi4AudioDevice(ComPtr<IUnknown> device) : device_(std::move(device)) {}
  IUnknown* get() const { return device_.get(); }

 private:
  ComPtr<IUnknown> device_;
};

class Sapi4AudioFile final : public LegacyAudioFile {
 public:
  explicit Sapi4AudioFile(ComPtr<IAudioFile> file) : file_(std::move(file)) {}

  void Set(TextView fileName, std::uint32_t flags) override {
    CheckCom(file_->Set(Wide(fileName).c_str(), flags), "Cannot open the wave file");
  }
  void Flush() override { CheckCom(file_->Flush(), "Cannot write the wave file"); }
  IUnknown* get() const { return file_.get(); }

 private:
  ComPtr<IAudioFile> file_;
};

IUnknown* AudioObject(const std::shared_ptr<LegacyAudioOutput>& output) {
  if (const auto* device = dynamic_cast<const Sapi4AudioDevice*>(output.get()))
    return device->get();
  if (const auto* file = dynamic_cast<const Sapi4AudioFile*>(output.get())) return file->get();
  throw PlatformError("The audio output is not one of SAPI 4");
}

class Sapi4Engine final : public LegacyEngine {
 public:
  Sapi4Engine(MessagePump& pump, ComPtr<ITTSCentralA> central)
      : pump_(pump), central_(std::move(central)) {
    CheckCom(central_->QueryInterface(IID_ITTSAttributesA, attributes_.ReceiveVoid()),
             "The engine has no attributes");
    CheckCom(central_->QueryInterface(IID_ITTSDialogsA, dialogs_.ReceiveVoid()),
             "The engine has no dialogs");
  }

  // The engine's notifications end with it; its interfaces are released, dialogs and attributes
  // before the engine itself.
  ~Sapi4Engine() override {
    for (const auto& registration : registrations_) registration.second->listening = false;
    for (const auto& buffer : buffers_) buffer->listening = false;
    dialogs_.Reset();
    attributes_.Reset();
    central_.Reset();
  }

  void TextData(std::string_view data, std::shared_ptr<LegacyBufferNotifySink> sink) override {
    auto target = std::make_shared<SinkTarget<LegacyBufferNotifySink>>(pump_, std::move(sink));
    const auto buffer = ComPtr<ITTSBufNotifySink>::Adopt(new BufferSink(target));
    // The engine copies the text before the call returns.
    const SDATA text{const_cast<char*>(data.data()), static_cast<DWORD>(data.size())};
    CheckCom(central_->TextData(CHARSET_TEXT, 0, text, buffer.get(), IID_ITTSBufNotifySink),
             "The engine did not take the text");
    std::erase_if(buffers_, [](const auto& old) { return old.use_count() == 1; });
    buffers_.push_back(std::move(target));
  }

  void Inject(const std::string& tag) override {
    CheckCom(central_->Inject(tag.c_str()), "The engine did not take a control tag");
  }
  void AudioPause() override { CheckCom(central_->AudioPause(), "Cannot pause the engine"); }
  void AudioResume() override { CheckCom(central_->AudioResume(), "Cannot resume the engine"); }
  void AudioReset() override { CheckCom(central_->AudioReset(), "Cannot stop the engine"); }

  std::uint32_t Register(std::shared_ptr<LegacyNotifySink> sink) override {
    auto target = std::make_shared<SinkTarget<LegacyNotifySink>>(pump_, std::move(sink));
    const auto notify = ComPtr<ITTSNotifySinkA>::Adopt(new NotifySink(target));
    DWORD key = 0;
    CheckCom(central_->Register(notify.get(), IID_ITTSNotifySink, &key),
             "Cannot listen to the engine");
    registrations_[key] = std::move(target);
    return key;
  }

  void UnRegister(std::uint32_t key) override {
    const auto found = registrations_.find(key);
    if (found != registrations_.end()) {
      found->second->listening = false;
      registrations_.erase(found);
    }
    CheckCom(central_->UnRegister(key), "Cannot stop listening to the engine");
  }

  std::uint16_t PitchGet() override {
    WORD pitch = 0;
    CheckCom(attributes_->PitchGet(&pitch), "Cannot read the pitch");
    return pitch;
  }
  void PitchSet(std::uint16_t pitch) override {
    CheckCom(attributes_->PitchSet(pitch), "Cannot set the pitch");
  }
  std::uint32_t SpeedGet() override {
    DWORD speed = 0;
    CheckCom(attributes_->SpeedGet(&speed), "Cannot read the speed");
    return speed;
  }
  void SpeedSet(std::uint32_t speed) override {
    CheckCom(attributes_->SpeedSet(speed), "Cannot set the speed");
  }
  std::uint32_t VolumeGet() override {
    DWORD volume = 0;
    CheckCom(attributes_->VolumeGet(&volume), "Cannot read the volume");
    return volume;
  }
  void VolumeSet(std::uint32_t volume) override {
    CheckCom(attributes_->VolumeSet(volume), "Cannot set the volume");
  }
  std::uint32_t RealTimeGet() override {
    DWORD realTime = 0;
    CheckCom(attributes_->RealTimeGet(&realTime), "Cannot read the real-time value");
    return realTime;
  }
  void RealTimeSet(std::uint32_t realTime) override {
    CheckCom(attributes_->RealTimeSet(realTime), "Cannot set the real-time value");
  }

 private:
  MessagePump& pump_;
  ComPtr<ITTSCentralA> central_;
  ComPtr<ITTSAttributesA> attributes_;
  ComPtr<IUnknown> dialogs_;  // obtained as every selection does, never used
  std::map<DWORD, std::shared_ptr<SinkTarget<LegacyNotifySink>>> registrations_;
  // The targets of texts the engine may still report on.
  std::vector<std::shared_ptr<SinkTarget<LegacyBufferNotifySink>>> buffers_;
};

class Sapi4EngineEnum final : public LegacyEngineEnum {
 public:
  Sapi4EngineEnum(MessagePump& pump, ComPtr<ITTSEnumA> modes)
      : pump_(pump), modes_(std::move(modes)) {}

  void Reset() override { CheckCom(modes_->Reset(), "Cannot list the speech engines"); }

  std::optional<LegacyEngineMode> Next() override {
    TTSMODEINFOA info{};
    ULONG fetched = 0;
    const HRESULT result =
        CheckCom(modes_->Next(1, &info, &fetched), "Cannot list the speech engines");
    if (result != S_OK || fetched != 1) return std::nullopt;
    return ToMode(info);
  }

  void Skip(std::uint32_t count) override {
    CheckCom(modes_->Skip(count), "Cannot list the speech engines");
  }

  std::unique_ptr<LegacyEngine> Select(const Guid& modeId,
                                       std::shared_ptr<LegacyAudioOutput> output) override {
    ComPtr<ITTSCentralA> central;
    CheckCom(modes_->Select(FromGuid(modeId), central.Receive(), AudioObject(output)),
             "Cannot start the speech engine");
    return std::make_unique<Sapi4Engine>(pump_, std::move(central));
  }

 private:
  MessagePump& pump_;
  ComPtr<ITTSEnumA> modes_;
};

}  // namespace

Sapi4EngineServer::Sapi4EngineServer(MessagePump& pump) : pump_(pump) {}

std::unique_ptr<LegacyEngineEnum> Sapi4EngineServer::CreateEnumerator() {
  ComPtr<ITTSEnumA> modes;
  CheckCom(CoCreateInstance(CLSID_TTSEnumerator, nullptr, kAnyServer, IID_ITTSEnumA,
                            modes.ReceiveVoid()),
           "The SAPI 4 speech engines are not installed");
  return std::make_unique<Sapi4EngineEnum>(pump_, std::move(modes));
}

std::shared_ptr<LegacyAudioDevice> Sapi4EngineServer::CreateAudioDevice() {
  ComPtr<IUnknown> device;
  CheckCom(CoCreateInstance(CLSID_MMAudioDest, nullptr, kAnyServer, IID_IAudioMultiMediaDevice,
                            device.ReceiveVoid()),
           "Cannot open the SAPI 4 audio device");
  return std::make_shared<Sapi4AudioDevice>(std::move(device));
}

std::shared_ptr<LegacyAudioFile> Sapi4EngineServer::CreateAudioFile() {
  ComPtr<IAudioFile> file;
  CheckCom(CoCreateInstance(CLSID_AudioDestFile, nullptr, kAnyServer, IID_IAudioFile,
                            file.ReceiveVoid()),
           "Cannot make a SAPI 4 wave file output");
  return std::make_shared<Sapi4AudioFile>(std::move(file));
}

}  // namespace parlino::platform::win32_impl
