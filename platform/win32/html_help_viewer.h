#pragma once
#include <windows.h>

#include "platform/help_viewer.h"

namespace parlino::platform::win32_impl {

// The HTML Help viewer: HtmlHelpW of hhctrl.ocx, which is loaded on first use (most runs never
// open the help) and kept until this object goes.
class HtmlHelpViewer final : public HelpViewer {
 public:
  HtmlHelpViewer() = default;
  ~HtmlHelpViewer() override;
  HtmlHelpViewer(const HtmlHelpViewer&) = delete;
  HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

  void ShowTopic(const std::filesystem::path& helpFile, TextView topic) override;
  void CloseAll() override;

  bool Loaded() const { return library_ != nullptr; }

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);
  HtmlHelpFunction Function();

  HMODULE library_ = nullptr;
  HtmlHelpFunction htmlHelp_ = nullptr;
};

}  // namespace parlino::platform::win32_impl
