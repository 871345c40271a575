#pragma once
// The SAPI 4 text-to-speech interfaces the program uses, declared from their published
// definitions (no SDK header of theirs is available here): the ANSI variants, the mode record,
// the notification sinks the program implements, and the audio destinations.
#include <windows.h>

#include <objbase.h>

#include <cstdint>

namespace parlino::platform::win32_impl::sapi4 {

using QWORD = std::uint64_t;

inline constexpr std::size_t kNameLength = 262;    // TTSI_NAMELEN, TTSI_STYLELEN
inline constexpr std::size_t kDialectLength = 64;  // LANI_NAMELEN

// Which alphabet TextData's text is in.
enum VOICECHARSET { CHARSET_TEXT = 0, CHARSET_IPAPHONETIC = 1, CHARSET_ENGINEPHONETIC = 2 };

struct SDATA {
  void* pData;
  DWORD dwSize;
};

struct LANGUAGEA {
  LANGID LanguageID;
  CHAR szDialect[kDialectLength];
};

struct TTSMODEINFOA {
  GUID gEngineID;
  CHAR szMfgName[kNameLength];
  CHAR szProductName[kNameLength];
  GUID gModeID;
  CHAR szModeName[kNameLength];
  LANGUAGEA language;
  CHAR szSpeaker[kNameLength];
  CHAR szStyle[kNameLength];
  WORD wGender;
  WORD wAge;
  DWORD dwFeatures;
  DWORD dwInterfaces;
  DWORD dwEngineFeatures;
};
static_assert(sizeof(TTSMODEINFOA) == 1424, "the published size of the mode record");

struct TTSMOUTH {
  BYTE bMouthHeight;
  BYTE bMouthWidth;
  BYTE bMouthUpturn;
  BYTE bJawOpen;
  BYTE bTeethUpperVisible;
  BYTE bTeethLowerVisible;
  BYTE bTonguePosn;
  BYTE bLipTension;
};

// COM interfaces end in their own Release, never by a delete through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct ITTSCentralA;

struct ITTSEnumA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, TTSMODEINFOA* modes, ULONG* fetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(ITTSEnumA** clone) = 0;
  virtual HRESULT STDMETHODCALLTYPE Select(GUID modeId, ITTSCentralA** central,
                                           IUnknown* audio) = 0;
};

struct ITTSCentralA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Inject(const CHAR* tag) = 0;
  virtual HRESULT STDMETHODCALLTYPE ModeGet(TTSMODEINFOA* mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE Phoneme(VOICECHARSET charset, DWORD flags, SDATA text,
                                            SDATA* phonemes) = 0;
  virtual HRESULT STDMETHODCALLTYPE PosnGet(QWORD* position) = 0;
  virtual HRESULT STDMETHODCALLTYPE TextData(VOICECHARSET charset, DWORD flags, SDATA text,
                                             void* notifyInterface, IID notifyInterfaceId) = 0;
  virtual HRESULT STDMETHODCALLTYPE ToFileTime(QWORD* timeStamp, FILETIME* fileTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioPause() = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioResume() = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioReset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Register(void* notifyInterface, IID notifyInterfaceId,
                                             DWORD* key) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnRegister(DWORD key) = 0;
};

struct ITTSAttributesA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE PitchGet(WORD* pitch) = 0;
  virtual HRESULT STDMETHODCALLTYPE PitchSet(WORD pitch) = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeGet(DWORD* realTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeSet(DWORD realTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE SpeedGet(DWORD* speed) = 0;
  virtual HRESULT STDMETHODCALLTYPE SpeedSet(DWORD speed) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeGet(DWORD* volume) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeSet(DWORD volume) = 0;
};

// Implemented by the program: the engine's state notifications.
struct ITTSNotifySinkA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AttribChanged(DWORD attribute) = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioStart(QWORD timeStamp) = 0;
  virtual HRESULT STDMETHODCALLTYPE AudioStop(QWORD timeStamp) = 0;
  virtual HRESULT STDMETHODCALLTYPE Visual(QWORD timeStamp, CHAR ipaPhoneme, CHAR enginePhoneme,
                                           DWORD hints, TTSMOUTH* mouth) = 0;
};

// Implemented by the program: notifications about one block of text.
struct ITTSBufNotifySink : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE TextDataDone(QWORD timeStamp, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE TextDataStarted(QWORD timeStamp) = 0;
  virtual HRESULT STDMETHODCALLTYPE BookMark(QWORD timeStamp, DWORD mark) = 0;
  virtual HRESULT STDMETHODCALLTYPE WordPosition(QWORD timeStamp, DWORD byteOffset) = 0;
};

struct IAudioFile : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Register(IUnknown* notifySink) = 0;
  virtual HRESULT STDMETHODCALLTYPE Set(const WCHAR* file, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Add(const WCHAR* file, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeSet(WORD realTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE RealTimeGet(WORD* realTime) = 0;
};

#pragma GCC diagnostic pop

// Published identifiers.
inline constexpr GUID CLSID_TTSEnumerator = {
    0xD67C0280, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
inline constexpr GUID IID_ITTSEnumA = {
    0x05EB6C6D, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
inline constexpr GUID CLSID_MMAudioDest = {
    0xCB96B400, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
inline constexpr GUID IID_IAudioMultiMediaDevice = {
    0xB68AD320, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
inline constexpr GUID CLSID_AudioDestFile = {
    0xD4623720, 0xE4B9, 0x11CF, {0x8D, 0x56, 0x00, 0xA0, 0xC9, 0x03, 0x4A, 0x7E}};
inline constexpr GUID IID_IAudioFile = {
    0xFD7C2320, 0x3D6D, 0x11B9, {0xC0, 0x00, 0xFE, 0xD6, 0xCB, 0xA3, 0xB1, 0xA9}};
inline constexpr GUID IID_ITTSAttributesA = {
    0x0FD6E2A1, 0xE77D, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
inline constexpr GUID IID_ITTSDialogsA = {
    0x05EB6C6B, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
inline constexpr GUID IID_ITTSNotifySink = {
    0x05EB6C6F, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
inline constexpr GUID IID_ITTSBufNotifySink = {
    0xE4963D40, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};

}  // namespace parlino::platform::win32_impl::sapi4
