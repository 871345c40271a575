#include "platform/win32/sapi5_voice_server.h"

// windows.h first: the SAPI and OLE headers build on it.
#include <windows.h>

#include <ocidl.h>
#include <sapi.h>

#include <atomic>

#include "platform/platform_error.h"
#include "platform/win32/win32_text.h"

// COM objects end in their own Release, never by a delete through an interface pointer, so the
// interfaces have no virtual destructor and need none.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace parlino::platform::win32_impl {
namespace {

// Published dispatch identifiers of _ISpeechVoiceEvents.
constexpr DISPID kStartStream = 1;
constexpr DISPID kEndStream = 2;
constexpr DISPID kWord = 5;

// Where a voice's events go while the voice lives.
struct EventTarget {
  MessagePump& pump;
  VoiceEventSink& sink;
  std::atomic<bool> alive{true};
};

// The event sink SpVoice calls: _ISpeechVoiceEvents is a dispatch interface, so every event is
// an Invoke with its dispatch identifier and its arguments, last argument first.
class VoiceEvents final : public IDispatch {
 public:
  explicit VoiceEvents(std::shared_ptr<EventTarget> target) : target_(std::move(target)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID__ISpeechVoiceEvents) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
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
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }

  // An event the program does not handle, or with arguments it cannot read, is dropped and the
  // call succeeds.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    const UINT count = parameters != nullptr ? parameters->cArgs : 0;
    // Argument n (from the first) is rgvarg[count - 1 - n].
    const auto argument = [&](UINT n, LONG& value) {
      if (n >= count) return false;
      VARIANT converted;
      VariantInit(&converted);
      if (FAILED(VariantChangeType(&converted, &parameters->rgvarg[count - 1 - n], 0, VT_I4))) {
        return false;
      }
      value = converted.lVal;
      return true;
    };
    LONG stream = 0;
    LONG position = 0;
    LONG length = 0;
    if (!argument(0, stream)) return S_OK;
    switch (id) {
      case kStartStream:
        return Deliver([stream](VoiceEventSink& sink) { sink.OnStartStream(stream); });
      case kEndStream:
        return Deliver([stream](VoiceEventSink& sink) { sink.OnEndStream(stream); });
      case kWord:
        if (!argument(2, position) || !argument(3, length)) return S_OK;
        return Deliver([=](VoiceEventSink& sink) { sink.OnWord(stream, position, length); });
      default:
        return S_OK;
    }
  }

 private:
  ~VoiceEvents() = default;

  // A failure to queue the event (no memory left, say) is the call's status: no exception may
  // cross into the voice's code.
  template <typename Event>
  HRESULT Deliver(Event event) noexcept {
    if (!target_->alive) return S_OK;
    try {
      target_->pump.Post([target = target_, event] {
        if (target->alive) event(target->sink);
      });
    } catch (const std::exception&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  std::atomic<ULONG> references_{1};
  std::shared_ptr<EventTarget> target_;
};

class Sapi5VoiceToken final : public VoiceToken {
 public:
  explicit Sapi5VoiceToken(ComPtr<ISpeechObjectToken> token) : token_(std::move(token)) {}

  Text GetDescription(std::int32_t locale) const override {
    BSTR description = nullptr;
    CheckCom(token_->GetDescription(locale, &description), "Cannot read a voice's description");
    return TakeBstr(description);
  }

  ISpeechObjectToken* get() const { return token_.get(); }

 private:
  ComPtr<ISpeechObjectToken> token_;
};

class Sapi5VoiceTokens final : public VoiceTokens {
 public:
  explicit Sapi5VoiceTokens(ComPtr<ISpeechObjectTokens> tokens) : tokens_(std::move(tokens)) {}

  std::int32_t Count() const override {
    LONG count = 0;
    CheckCom(tokens_->get_Count(&count), "Cannot count the voices");
    return count;
  }

  std::shared_ptr<const VoiceToken> Item(std::int32_t index) const override {
    ComPtr<ISpeechObjectToken> token;
    CheckCom(tokens_->Item(index, token.Receive()), "There is no such voice");
    return std::make_shared<Sapi5VoiceToken>(std::move(token));
  }

 private:
  ComPtr<ISpeechObjectTokens> tokens_;
};

class Sapi5Voice final : public SpeechVoice {
 public:
  Sapi5Voice(MessagePump& pump, VoiceEventSink& sink)
      // Braces, not make_shared: EventTarget is an aggregate, and not every compiler that reads
      // this code (clang-tidy's included) builds one from parentheses.
      : target_(new EventTarget{pump, sink}) {
    // The object another client runs, or a new one.
    ComPtr<IUnknown> object;
    if (FAILED(GetActiveObject(CLSID_SpVoice, nullptr, object.Receive()))) {
      CheckCom(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, object.ReceiveVoid()),
               "Cannot create a SAPI 5 voice");
    }
    ComPtr<IConnectionPointContainer> container;
    CheckCom(object->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid()),
             "The SAPI 5 voice has no events");
    CheckCom(container->FindConnectionPoint(DIID__ISpeechVoiceEvents, events_.Receive()),
             "The SAPI 5 voice has no voice events");
    const auto sinkObject = ComPtr<IDispatch>::Adopt(new VoiceEvents(target_));
    CheckCom(events_->Advise(sinkObject.get(), &cookie_), "Cannot listen to the SAPI 5 voice");
    const HRESULT result = object->QueryInterface(IID_ISpeechVoice, voice_.ReceiveVoid());
    if (FAILED(result)) {
      Disconnect();
      ThrowComError("The SAPI 5 object is no ISpeechVoice", result);
    }
  }

  ~Sapi5Voice() override { Disconnect(); }

  std::shared_ptr<const VoiceTokens> GetVoices(TextView required, TextView optional) override {
    ComPtr<ISpeechObjectTokens> tokens;
    const Bstr requiredText(required);
    const Bstr optionalText(optional);
    CheckCom(voice_->GetVoices(requiredText.get(), optionalText.get(), tokens.Receive()),
             "Cannot list the SAPI 5 voices");
    return std::make_shared<Sapi5VoiceTokens>(std::move(tokens));
  }

  void SetVoice(std::shared_ptr<const VoiceToken> token) override {
    const auto* own = dynamic_cast<const Sapi5VoiceToken*>(token.get());
    if (own == nullptr) throw PlatformError("The voice is not a SAPI 5 voice");
    CheckCom(voice_->putref_Voice(own->get()), "Cannot choose the voice");
  }

  void SetRate(std::int32_t rate) override {
    CheckCom(voice_->put_Rate(rate), "Cannot set the speed");
  }

  void SetVolume(std::int32_t volume) override {
    CheckCom(voice_->put_Volume(volume), "Cannot set the volume");
  }

  std::int32_t Speak(TextView text, std::uint32_t flags) override {
    int speakFlags = 0;
    if (flags & kSpeakAsync) speakFlags |= SVSFlagsAsync;
    if (flags & kSpeakPurgeBeforeSpeak) speakFlags |= SVSFPurgeBeforeSpeak;
    const Bstr spoken(text);
    LONG stream = 0;
    CheckCom(voice_->Speak(spoken.get(), static_cast<SpeechVoiceSpeakFlags>(speakFlags), &stream),
             "Cannot speak");
    return stream;
  }

  void Pause() override { CheckCom(voice_->Pause(), "Cannot pause"); }
  void Resume() override { CheckCom(voice_->Resume(), "Cannot resume"); }

 private:
  // Events stop first, then the object goes (and with it whatever it was saying).
  void Disconnect() {
    target_->alive = false;
    if (events_) {
      events_->Unadvise(cookie_);
      events_.Reset();
    }
    voice_.Reset();
  }

  std::shared_ptr<EventTarget> target_;
  ComPtr<IConnectionPoint> events_;
  DWORD cookie_ = 0;
  ComPtr<ISpeechVoice> voice_;
};

}  // namespace

Sapi5VoiceServer::Sapi5VoiceServer(MessagePump& pump) : pump_(pump) {}

std::unique_ptr<SpeechVoice> Sapi5VoiceServer::CreateVoice(VoiceEventSink& sink) {
  return std::make_unique<Sapi5Voice>(pump_, sink);
}

}  // namespace parlino::platform::win32_impl
