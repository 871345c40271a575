// parlino-say: speaks its arguments or standard input with a modern voice, then exits.
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "app/say/say_options.h"
#include "platform/linux/espeak_voice_server.h"
#include "platform/linux/qt_message_pump.h"
#include "platform/platform_error.h"
#include "speech/sapi5/sp_voice.h"

namespace {

using parlino::PlatformError;
using parlino::Text;
using parlino::speech::TSpVoice;

std::shared_ptr<const parlino::platform::VoiceToken> FindVoice(TSpVoice& voice,
                                                               const std::string& name) {
  const auto tokens = voice.GetVoices(u"", u"");
  const Text wanted = parlino::FromUtf8(name);
  // The exact name first, then the name in any case.
  for (const bool exact : {true, false}) {
    for (std::int32_t i = 0; i < tokens->Count(); ++i) {
      const Text description = tokens->Item(i)->GetDescription(0);
      if (exact ? description == wanted : parlino::EqualsIgnoreAsciiCase(description, wanted)) {
        return tokens->Item(i);
      }
    }
  }
  throw PlatformError("unknown voice \"" + name + "\" (see parlino-say --list-voices)");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  parlino::say::SayOptions options;
  try {
    options = parlino::say::ParseSayOptions(arguments);
  } catch (const std::invalid_argument& error) {
    std::cerr << "parlino-say: " << error.what() << "\nTry 'parlino-say --help'.\n";
    return 2;
  }
  if (options.help) {
    std::cout << parlino::say::SayUsage();
    return 0;
  }

  QCoreApplication application(argc, argv);
  parlino::platform::linux_impl::QtMessagePump pump;
  parlino::platform::linux_impl::EspeakVoiceServer server(pump);
  TSpVoice voice(server);
  try {
    voice.Connect();
    if (options.list_voices) {
      const auto tokens = voice.GetVoices(u"", u"");
      for (std::int32_t i = 0; i < tokens->Count(); ++i) {
        std::cout << parlino::ToUtf8(tokens->Item(i)->GetDescription(0)) << '\n';
      }
      return 0;
    }
    if (options.voice) voice.SetVoice(FindVoice(voice, *options.voice));
    voice.SetRate(options.rate);
    voice.SetVolume(options.volume);
    const Text text = parlino::say::SpokenText(options, std::cin);
    voice.OnEndStream = [](TSpVoice&, std::int32_t) { QCoreApplication::exit(0); };
    voice.Speak(text, parlino::platform::kSpeakAsync);
  } catch (const PlatformError& error) {
    std::cerr << "parlino-say: " << error.what() << '\n';
    return 1;
  }
  return QCoreApplication::exec();
}
