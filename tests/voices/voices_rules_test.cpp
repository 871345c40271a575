// The plain rules of the voice packages: the installer's name from its address, the catalogue,
// what counts as installed, the download's temporary file, and the progress figures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/linux/ini_profile_store.h"
#include "platform/platform_error.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/as_user.h"
#include "voices/download_file.h"
#include "voices/download_progress.h"
#include "voices/downloads_folder.h"
#include "voices/installer_file_name.h"
#include "voices/package_catalogue.h"

namespace parlino::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(InstallerFileName, IsTheAddressesLastPartDecoded) {
  const struct {
    const char16_t* address;
    const char16_t* name;
  } cases[] = {
      {u"http://voices.example/get/setup.exe", u"setup.exe"},
      {u"https://voices.example/setup.exe?mirror=2&x=/y", u"setup.exe"},
      {u"https://voices.example/setup.exe#top/part", u"setup.exe"},
      {u"http://voices.example/voice%20pack%C3%A9.tar.gz", u"voice pack\u00e9.tar.gz"},
      {u"http://voices.example/100%.exe", u"100%.exe"},  // no escape: the sign stays
      {u"http://voices.example/a%2.exe", u"a%2.exe"},
      {u"http://voices.example", u"voices.example"},
      {u"http://voices.example/..%2e", u"..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(voices::InstallerFileName(c.address), Text(c.name)) << ToUtf8(c.address);
  }
}

TEST(InstallerFileName, RefusesANameThatWouldLandOutsideTheFolderOrNowhere) {
  const char16_t* refused[] = {
      u"http://voices.example/get/",            // empty
      u"http://voices.example/get/?file=a",     // empty before the query
      u"http://voices.example/.",               //
      u"http://voices.example/get/..",          //
      u"http://voices.example/%2E%2e",          // ".." once decoded
      u"http://voices.example/..%2F..%2Fx",     // "../../x"
      u"http://voices.example/..%2fsetup.exe",  //
      u"http://voices.example/a\\..\\b.exe",    // backslashes
      u"http://voices.example/..%5Cb.exe",      //
      u"http://voices.example/a%00.exe",        // a NUL
      u"http://voices.example/C:setup.exe",     // a drive
      u"http://voices.example/c%3A%5Cx.exe",    //
      u"setup.exe",                             // no "/" at all
      u"",
  };
  for (const char16_t* address : refused) {
    EXPECT_EQ(voices::InstallerFileName(address), std::nullopt) << ToUtf8(address);
  }
}

class Catalogue : public ::testing::Test {
 protected:
  std::vector<voices::VoicePackage> Read(const std::string& content) {
    WriteBytes(dir / "add_voices.ini", content);
    return voices::ReadPackageCatalogue(store, dir / "add_voices.ini");
  }
  TempDir dir;
  platform::linux_impl::IniProfileStore store;
};

TEST_F(Catalogue, ListsThePackagesInOrderWithTheirInstallersNames) {
  const auto packages = Read(
      "[Info]\r\nCount=3\r\n"
      "[File_2]\r\nTitle=Bob\r\nSize=2 MB\r\nURL=http://v.example/bob.exe\r\n"
      "[File_1]\r\nTitle=Anna\r\nSize=1,5 MB\r\nURL=http://v.example/x/anna%20en.exe\r\n"
      "[File_3]\r\nTitle=Carl\r\nURL=http://v.example/carl/\r\n");
  ASSERT_EQ(packages.size(), 3u);
  EXPECT_EQ(packages[0].title, u"Anna");
  EXPECT_EQ(packages[0].size, u"1,5 MB");
  EXPECT_EQ(packages[0].url, u"http://v.example/x/anna%20en.exe");
  EXPECT_EQ(packages[0].fileName, u"anna en.exe");
  EXPECT_EQ(packages[1].title, u"Bob");
  EXPECT_EQ(packages[2].title, u"Carl");
  EXPECT_EQ(packages[2].size, u"");
  EXPECT_EQ(packages[2].fileName, std::nullopt);
}

TEST_F(Catalogue, TakesTheCountAsAnEightBitNumber) {
  const struct {
    const char* count;
    std::size_t rows;
  } cases[] = {{"0", 0}, {"256", 0}, {"257", 1}, {"$2", 2}, {"x", 0}, {"-1", 255}};
  for (const auto& c : cases) {
    EXPECT_EQ(Read(std::string("[Info]\nCount=") + c.count + "\n").size(), c.rows) << c.count;
  }
  EXPECT_THAT(voices::ReadPackageCatalogue(store, dir / "missing.ini"), IsEmpty());
}

// A distributor who fills the shipped list finds a package without a safe name or a web address
// here rather than in the users' hands.
TEST_F(Catalogue, TheShippedListHasOnlyWebAddressesWithSafeNames) {
  for (const auto& package : voices::ReadPackageCatalogue(store, PARLINO_SHIPPED_CATALOGUE)) {
    EXPECT_NE(package.fileName, std::nullopt) << ToUtf8(package.title);
    EXPECT_TRUE(package.url.starts_with(u"https://") || package.url.starts_with(u"http://"))
        << ToUtf8(package.title);
  }
  EXPECT_TRUE(std::filesystem::exists(PARLINO_SHIPPED_CATALOGUE));
}

TEST(DownloadsFolder, APackageIsInstalledWhenItsFileHasBytes) {
  TempDir dir;
  const auto folder = voices::DownloadsFolder(dir.path());
  EXPECT_EQ(folder, dir / "Downloads");
  voices::CreateDownloadsFolder(folder);
  voices::CreateDownloadsFolder(folder);  // once there, it stays as it is
  ASSERT_TRUE(std::filesystem::is_directory(folder));

  WriteBytes(folder / "full.exe", "MZ");
  WriteBytes(folder / "empty.exe", "");
  WriteBytes(folder / "locked.exe", "MZ");
  std::filesystem::create_directory(folder / "folder.exe");
  std::filesystem::create_symlink(folder / "full.exe", folder / "link.exe");
  EXPECT_TRUE(voices::IsInstalled(folder / "full.exe"));
  EXPECT_TRUE(voices::IsInstalled(folder / "link.exe"));
  EXPECT_FALSE(voices::IsInstalled(folder / "empty.exe"));
  EXPECT_FALSE(voices::IsInstalled(folder / "missing.exe"));
  EXPECT_FALSE(voices::IsInstalled(folder / "folder.exe"));
  // A file that cannot be opened counts as empty.
  GiveToTestUser(dir.path(), true);
  ::chmod((folder / "locked.exe").c_str(), 0);
  EXPECT_EQ(
      RunAsTestUser(
          022,
          [&] { return std::string(voices::IsInstalled(folder / "locked.exe") ? "yes" : "no"); }),
      "no");

  // Something else in the folder's place is reported, not used.
  WriteBytes(dir / "file", "x");
  EXPECT_THROW(voices::CreateDownloadsFolder(dir / "file"), PlatformError);
  EXPECT_THROW(voices::CreateDownloadsFolder(dir / "no" / "Downloads"), PlatformError);
}

TEST(DownloadFile, TakesTheTargetsPlaceOnlyWhenComplete) {
  TempDir dir;
  const auto target = dir / "setup.exe";
  WriteBytes(target, "old installer");
  {
    voices::DownloadFile file(target);
    file.Append("new ");
    file.Append(std::string(300 * 1024, 'x'));  // beyond one piece of writing
    EXPECT_EQ(file.Size(), 4u + 300 * 1024);
    EXPECT_EQ(ReadBytes(target), "old installer");  // untouched until complete
    EXPECT_EQ(FilesIn(dir.path()).size(), 2u);
    file.Complete();
  }
  EXPECT_EQ(ReadBytes(target), "new " + std::string(300 * 1024, 'x'));
  EXPECT_THAT(FilesIn(dir.path()), ElementsAre("setup.exe"));

  {
    voices::DownloadFile broken(target);
    broken.Append("half");
  }  // abandoned
  EXPECT_THAT(FilesIn(dir.path()), ElementsAre("setup.exe"));
  EXPECT_EQ(ReadBytes(target), "new " + std::string(300 * 1024, 'x'));
}

TEST(DownloadFile, ReplacesALinkInTheFolderNotWhatItPointsTo) {
  TempDir dir;
  TempDir elsewhere;
  WriteBytes(elsewhere / "victim", "keep");
  std::filesystem::create_symlink(elsewhere / "victim", dir / "setup.exe");
  voices::DownloadFile file(dir / "setup.exe");
  file.Append("MZ");
  file.Complete();
  EXPECT_EQ(ReadBytes(elsewhere / "victim"), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "setup.exe"));
  EXPECT_EQ(ReadBytes(dir / "setup.exe"), "MZ");
}

TEST(DownloadFile, CannotBeMadeInAFolderThatIsNotThere) {
  TempDir dir;
  EXPECT_THROW(voices::DownloadFile(dir / "missing" / "setup.exe"), PlatformError);
}

TEST(DownloadFile, LeftoversOfAKilledDownloadGoOnlyForTheirOwnName) {
  TempDir dir;
  for (const char* name :
       {"setup.exe.parlino-part-a1B2c3", "setup.exe.parlino-part-zzzzzz",
        "setup.exe.parlino-part-abc", "other.exe.parlino-part-a1B2c3", "setup.exe"}) {
    WriteBytes(dir / name, "x");
  }
  std::filesystem::create_directory(dir / "setup.exe.parlino-part-folder");
  voices::DownloadFile::RemoveLeftovers(dir / "setup.exe");
  EXPECT_THAT(FilesIn(dir.path()),
              UnorderedElementsAre("setup.exe.parlino-part-abc", "other.exe.parlino-part-a1B2c3",
                                   "setup.exe", "setup.exe.parlino-part-folder"));
}

TEST(DownloadProgress, MegabytesHaveTwoSignificantDigitsAndAtMostTwoDecimals) {
  const struct {
    double megabytes;
    double shown;
  } cases[] = {{0, 0},     {0.0567, 0.06}, {0.004, 0},   {1.234, 1.2},  {15.7, 16}, {1234, 1200},
               {9.96, 10}, {2.861, 2.9},   {5.722, 5.7}, {0.0999, 0.1}, {99.4, 99}, {150.2, 150}};
  for (const auto& c : cases) {
    const auto bytes = static_cast<std::uint64_t>(c.megabytes * 1048576.0 + 0.5);
    EXPECT_NEAR(voices::ShownMegabytes(bytes), c.shown, 1e-9) << c.megabytes;
  }
}

TEST(DownloadProgress, BarStandsAtTheShareDoneRoundedDown) {
  EXPECT_EQ(voices::ProgressPercent(3000000, 6000000), 50);
  EXPECT_EQ(voices::ProgressPercent(5999999, 6000000), 99);
  EXPECT_EQ(voices::ProgressPercent(6000000, 6000000), 100);
  EXPECT_EQ(voices::ProgressPercent(0, 6000000), 0);
  EXPECT_EQ(voices::ProgressPercent(0, 0), 100);
  EXPECT_EQ(voices::ProgressPercent(1ull << 62, (1ull << 62) + 1), 99);  // no overflow
  EXPECT_EQ(voices::ProgressPercent(1000, std::nullopt), std::nullopt);
}

TEST(DownloadProgress, TextIsPrintedAnewOnlyWhenAShownNumberChanges) {
  int printed = 0;
  voices::ProgressText text([&](double value) {
    ++printed;
    return FromUtf8(std::to_string(static_cast<int>(value * 100)));
  });
  EXPECT_TRUE(text.Update(3000000, 6000000));
  EXPECT_EQ(text.text(), u"290 MB of 570 MB completed");
  EXPECT_FALSE(text.Update(3000001, 6000000));
  EXPECT_EQ(printed, 2);
  EXPECT_TRUE(text.Update(3200000, std::nullopt));
  EXPECT_EQ(text.text(), u"310 MB completed");
  EXPECT_TRUE(text.Update(3200000, 6000000));
  EXPECT_EQ(text.text(), u"310 MB of 570 MB completed");
}

}  // namespace
}  // namespace parlino::testing
