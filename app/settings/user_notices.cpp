#include "app/settings/user_notices.h"

namespace parlino::app {

void UserNotices::Report(Kind kind, TextView notice, std::string_view problem) {
  if (!problem.empty()) Log(problem);
  bool& told = told_[static_cast<int>(kind)];
  if (told) return;
  told = true;
  if (held_) {
    waiting_.emplace_back(kind, Text(notice));
  } else {
    Tell(kind, notice);
  }
}

void UserNotices::Log(std::string_view problem) const {
  // A log that cannot take the entry has been reported already; nothing more can be done here.
  (void)log_.Write(problem);
}

void UserNotices::Release() {
  held_ = false;
  const auto waiting = std::move(waiting_);
  waiting_.clear();
  Text boxed;
  for (const auto& [kind, notice] : waiting) {
    if (kind == Kind::Audio) {
      Tell(kind, notice);
    } else {
      boxed += (boxed.empty() ? u"" : u"\n\n") + notice;
    }
  }
  if (!boxed.empty()) Tell(Kind::Settings, boxed);
}

void UserNotices::Tell(Kind kind, TextView notice) {
  if (kind == Kind::Audio && trayMessage && trayMessage(notice)) return;
  boxes_.Show(platform::BoxKind::Warning, u"Parlino!", notice, platform::BoxButtons::Ok);
}

}  // namespace parlino::app
