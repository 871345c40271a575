#include "app/ui/help_links.h"

#include <optional>

namespace parlino::app {
namespace {

// The path of the target's page on a web site, if the site has one for it.
std::optional<std::string_view> SitePath(HelpTarget target) {
  switch (target) {
    case HelpTarget::Home:
      return "/";
    case HelpTarget::ProgramInformation:
      return "/products/parlino/";
    case HelpTarget::Support:
      return "/support/";
    case HelpTarget::Voices:
      return "/products/parlino/voices/";
    case HelpTarget::Tutorial:
    case HelpTarget::Help:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string_view WithoutTrailingSlash(std::string_view site) {
  while (site.ends_with('/')) site.remove_suffix(1);
  return site;
}

}  // namespace

std::string_view DistributorSite() {
  return PARLINO_DISTRIBUTOR_SITE;
}

std::string_view HelpPage(HelpTarget target) {
  switch (target) {
    case HelpTarget::Home:
    case HelpTarget::Help:
      return "index.html";
    case HelpTarget::ProgramInformation:
      return "about.html";
    case HelpTarget::Support:
      return "support.html";
    case HelpTarget::Voices:
      return "voices.html";
    case HelpTarget::Tutorial:
      return "tutorial.html";
  }
  return "index.html";
}

std::filesystem::path HelpFolder(const std::filesystem::path& programFolder) {
  return programFolder / "help";
}

Text HelpAddress(HelpTarget target, const std::filesystem::path& programFolder,
                 std::string_view site) {
  site = WithoutTrailingSlash(site);
  if (const auto path = SitePath(target); path && !site.empty()) {
    return FromUtf8(std::string(site) + std::string(*path));
  }
  return FromUtf8((HelpFolder(programFolder) / HelpPage(target)).string());
}

Text HomeLinkText(std::string_view site) {
  site = WithoutTrailingSlash(site);
  if (site.empty()) return u"Parlino user's guide";
  if (const auto scheme = site.find("://"); scheme != std::string_view::npos) {
    site.remove_prefix(scheme + 3);
  }
  return FromUtf8(site);
}

}  // namespace parlino::app
