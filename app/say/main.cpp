// parlino-say: speaks its arguments or standard input with one of the program's voices, legacy
// (Flite) or modern (espeak-ng), then exits.
#include <QCoreApplication>
#include <iostream>
#include <stdexcept>

#include "app/say/say_options.h"
#include "app/say/say_voices.h"
#include "platform/linux/espeak_voice_server.h"
#include "platform/linux/flite_engine_server.h"
#include "platform/linux/qt_message_pump.h"
#include "platform/linux/utf8_code_page.h"

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
  parlino::platform::linux_impl::Utf8CodePage codePage;
  parlino::platform::linux_impl::FliteEngineServer legacyServer(pump, codePage);
  parlino::platform::linux_impl::EspeakVoiceServer modernServer(pump);
  parlino::speech::TMSpeech legacy(legacyServer, codePage);
  parlino::speech::TSpVoice modern(modernServer);
  const parlino::say::SayEngines engines{&legacy, &codePage, modern};
  try {
    const parlino::say::VoiceList voices = parlino::say::ListVoices(engines);
    if (options.listVoices) {
      for (const parlino::Text& name : voices.names) std::cout << parlino::ToUtf8(name) << '\n';
      return 0;
    }
    parlino::say::StartSpeaking(engines, voices, parlino::say::ChosenVoice(voices, options),
                                options, std::cin, [] { QCoreApplication::exit(0); });
  } catch (const std::exception& error) {
    std::cerr << "parlino-say: " << error.what() << '\n';
    return 1;
  }
  return QCoreApplication::exec();
}
