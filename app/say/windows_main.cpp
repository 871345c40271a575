// parlino-say.exe: speaks its arguments or standard input with a SAPI 5 voice, then exits.
#include <windows.h>

#include <shellapi.h>

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/say/say_options.h"
#include "app/say/say_voices.h"
#include "platform/platform_error.h"
#include "platform/win32/sapi5_voice_server.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_text.h"
#include "speech/sapi5/sp_voice.h"

namespace {

using parlino::PlatformError;
using parlino::speech::TSpVoice;

// The arguments after the program name, in UTF-8 like on every other system.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; i < count; ++i) {
    result.push_back(parlino::ToUtf8(parlino::platform::win32_impl::FromWide(arguments[i])));
  }
  LocalFree(arguments);
  return result;
}

}  // namespace

int main() {
  // Voice names are printed in UTF-8; a console shows them as such.
  SetConsoleOutputCP(CP_UTF8);
  parlino::say::SayOptions options;
  try {
    options = parlino::say::ParseSayOptions(Arguments());
  } catch (const std::invalid_argument& error) {
    std::cerr << "parlino-say: " << error.what() << "\nTry 'parlino-say --help'.\n";
    return 2;
  }
  if (options.help) {
    std::cout << parlino::say::SayUsage();
    return 0;
  }

  try {
    parlino::platform::win32_impl::Win32MessagePump pump;
    parlino::platform::win32_impl::Sapi5VoiceServer server(pump);
    TSpVoice voice(server);
    const parlino::say::SayEngines engines{nullptr, nullptr, voice};
    const parlino::say::VoiceList voices = parlino::say::ListVoices(engines);
    if (voices.modernError) {
      throw PlatformError("the SAPI 5 voices are not available: " + *voices.modernError);
    }
    if (options.listVoices) {
      for (const parlino::Text& name : voices.names) std::cout << parlino::ToUtf8(name) << '\n';
      return 0;
    }
    parlino::say::StartSpeaking(engines, voices, parlino::say::ChosenVoice(voices, options),
                                options, std::cin, [&pump] { pump.Quit(0); });
    return pump.Run();
  } catch (const PlatformError& error) {
    std::cerr << "parlino-say: " << error.what() << '\n';
    return 1;
  }
}
