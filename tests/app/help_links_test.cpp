#include "app/ui/help_links.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace parlino {
namespace {

using app::HelpTarget;

const std::filesystem::path kHelpSources = PARLINO_HELP_SOURCES;  // docs/help of the sources

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Every target opens a page that exists and says what it is in its title.
TEST(HelpLinks, EveryTargetOpensAnInstalledPageWithATitle) {
  for (const HelpTarget target : app::kHelpTargets) {
    const Text address = app::HelpAddress(target, kHelpSources.parent_path(), "");
    const std::filesystem::path page(ToUtf8(address));
    SCOPED_TRACE(page.string());
    ASSERT_TRUE(std::filesystem::is_regular_file(page));
    std::smatch title;
    const std::string html = Contents(page);
    ASSERT_TRUE(std::regex_search(html, title, std::regex("<title>([^<]+)</title>")));
    EXPECT_NE(title[1].str().find("Parlino"), std::string::npos);
  }
}

// The pages link only to each other, their style sheet and their pictures: no address of a host
// that may not exist, and no page that is missing.
TEST(HelpLinks, PagesLinkOnlyToPagesThatExist) {
  std::set<std::string> pages;  // paths relative to the help folder, as the pages link them
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kHelpSources)) {
    if (entry.is_regular_file()) {
      pages.insert(entry.path().lexically_relative(kHelpSources).generic_string());
    }
  }
  const std::regex link(R"re((?:href|src)="([^"#]*))re");
  for (const std::string& page : pages) {
    if (!page.ends_with(".html")) continue;
    const std::string html = Contents(kHelpSources / page);
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
      SCOPED_TRACE(page + " -> " + (*it)[1].str());
      EXPECT_TRUE(pages.contains((*it)[1].str()));
    }
  }
}

TEST(HelpLinks, ADistributorsSiteTakesTheWebTargetsButNotTheShippedGuides) {
  const std::filesystem::path folder = "/usr/share/parlino";
  struct Case {
    HelpTarget target;
    std::u16string expected;
  };
  const Case cases[] = {
      {HelpTarget::Home, u"https://parlino.distro.test/"},
      {HelpTarget::ProgramInformation, u"https://parlino.distro.test/products/parlino/"},
      {HelpTarget::Support, u"https://parlino.distro.test/support/"},
      {HelpTarget::Voices, u"https://parlino.distro.test/products/parlino/voices/"},
      {HelpTarget::Tutorial, u"/usr/share/parlino/help/tutorial.html"},
      {HelpTarget::Help, u"/usr/share/parlino/help/index.html"},
  };
  for (const Case& each : cases) {
    EXPECT_EQ(app::HelpAddress(each.target, folder, "https://parlino.distro.test/"), each.expected);
  }
  EXPECT_EQ(app::HelpAddress(HelpTarget::Voices, folder, ""),
            u"/usr/share/parlino/help/voices.html");
  EXPECT_EQ(app::HomeLinkText("https://parlino.distro.test/"), u"parlino.distro.test");
  EXPECT_EQ(app::HomeLinkText(""), u"Parlino user's guide");
}

}  // namespace
}  // namespace parlino
