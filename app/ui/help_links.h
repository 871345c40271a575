#pragma once
// Where each help link of the program leads. Every link goes to a page of the help installed
// with the program, unless the build names a distributor's web site: then the home, program
// information, support and voices links open that site's pages instead. The tutorial and the
// user's guide always open the installed pages.
#include <array>
#include <filesystem>
#include <string_view>

#include "platform/text.h"

namespace parlino::app {

enum class HelpTarget { Home, ProgramInformation, Support, Voices, Tutorial, Help };

inline constexpr std::array kHelpTargets = {HelpTarget::Home,     HelpTarget::ProgramInformation,
                                            HelpTarget::Support,  HelpTarget::Voices,
                                            HelpTarget::Tutorial, HelpTarget::Help};

// The distributor's web site this build was configured with, empty when there is none.
std::string_view DistributorSite();

// The page of the installed help that answers the target, as a file name in the help folder.
std::string_view HelpPage(HelpTarget target);

// The help folder below the program folder.
std::filesystem::path HelpFolder(const std::filesystem::path& programFolder);

// What the shell opens for the target: the distributor's page when `site` is not empty and the
// target has one, otherwise the installed page's full path.
Text HelpAddress(HelpTarget target, const std::filesystem::path& programFolder,
                 std::string_view site = DistributorSite());

// The text the About tab shows for the home link: the site without its scheme, or the name of
// the installed page.
Text HomeLinkText(std::string_view site = DistributorSite());

}  // namespace parlino::app
