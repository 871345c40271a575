#include "platform/win32/html_help_viewer.h"

#include <htmlhelp.h>

#include "platform/platform_error.h"
#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {

HtmlHelpViewer::~HtmlHelpViewer() {
  if (library_ != nullptr) FreeLibrary(library_);
}

HtmlHelpViewer::HtmlHelpFunction HtmlHelpViewer::Function() {
  if (htmlHelp_ != nullptr) return htmlHelp_;
  if (library_ == nullptr) {
    library_ = LoadLibraryW(L"hhctrl.ocx");
    if (library_ == nullptr) ThrowWin32Error("Cannot load the HTML Help viewer (hhctrl.ocx)");
  }
  htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void*>(GetProcAddress(library_, "HtmlHelpW")));
  if (htmlHelp_ == nullptr) ThrowWin32Error("The HTML Help viewer has no HtmlHelpW");
  return htmlHelp_;
}

void HtmlHelpViewer::ShowTopic(const std::filesystem::path& helpFile, TextView topic) {
  const std::wstring address = helpFile.native() + L"::" + Wide(topic);
  if (Function()(nullptr, address.c_str(), HH_DISPLAY_TOPIC, 0) == nullptr) {
    throw PlatformError("The HTML Help viewer cannot show " + ToUtf8(FromWide(address)));
  }
}

void HtmlHelpViewer::CloseAll() {
  // Nothing to close before the viewer was ever loaded.
  if (library_ == nullptr) return;
  Function()(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

}  // namespace parlino::platform::win32_impl
