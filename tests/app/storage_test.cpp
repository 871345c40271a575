// A start with a data folder that cannot take the settings: the program starts fully, reads
// aloud with the settings it has, and says once why the settings cannot be saved.
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSystemTrayIcon>

#include "tests/app/app_fixture.h"
#include "tests/platform/as_user.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::ReadBytes;
using testing::WriteBytes;

// A small file system of its own on the data folder, in a mount namespace of this process when
// it may have one, so that nothing outlives the test.
class OwnFileSystem {
 public:
  OwnFileSystem(const std::filesystem::path& folder, const char* options) : folder_(folder) {
    if (geteuid() != 0) return;
    if (unshare(CLONE_NEWNS) == 0) mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, options) == 0;
  }
  ~OwnFileSystem() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  void MakeReadOnly() { mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr); }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
};

// The whole program works: hot keys, tray icon, a reading; and one notice says why nothing is
// saved.
void ExpectAUsableStart(AppFixture& app, const std::u16string& reason,
                        const std::u16string& notice = u"Parlino cannot save its settings.") {
  auto& form = app.Form();
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_TRUE(app.hotKeys.Holds(0x407A));
  EXPECT_TRUE(testing::Control<QSystemTrayIcon>(form, "TrayIcon")->isVisible());
  EXPECT_FALSE(form.StartMinimized());  // a first start shows the options window
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Warning);
  EXPECT_TRUE(app.boxes.shown[0].text.starts_with(notice)) << ToUtf8(app.boxes.shown[0].text);
  EXPECT_NE(app.boxes.shown[0].text.find(FromUtf8(app.Cfg().string()) + u"\": " + reason),
            Text::npos)
      << ToUtf8(app.boxes.shown[0].text);

  app.clipboard.reads = {Text(u"Hello there")};
  ASSERT_TRUE(app.hotKeys.Press(0x4008));
  bool spoken = false;
  for (const std::string& call : app.voices.log)
    spoken = spoken || call.starts_with("Speak Hello there");
  EXPECT_TRUE(spoken);

  // Later failed saves are silent, and logged.
  form.SaveCfg();
  form.SaveCfg();
  EXPECT_EQ(app.boxes.shown.size(), 1u);
}

TEST(FirstStart, ReadOnlyDataFolder) {
  AppFixture app({"/opt/parlino/parlino"});
  OwnFileSystem own(app.dir.path(), "size=1m");
  if (own.mounted()) {
    own.MakeReadOnly();
  } else if (geteuid() != 0) {
    chmod(app.dir.path().c_str(), 0555);  // root writes it all the same
  } else {
    GTEST_SKIP() << "no file system of its own can be mounted";
  }
  app.Form().FormCreate();
  ExpectAUsableStart(app, own.mounted() ? u"the disk it is on is read-only"
                                        : u"you do not have permission to change it");
  chmod(app.dir.path().c_str(), 0755);
  EXPECT_FALSE(std::filesystem::exists(app.Cfg()));
}

TEST(FirstStart, FullDataFolder) {
  AppFixture app({"/opt/parlino/parlino", "-log"});
  OwnFileSystem own(app.dir.path(), "size=64k");
  if (!own.mounted()) GTEST_SKIP() << "no small file system can be mounted here";
  WriteBytes(app.dir / "filler", std::string(64 * 1024, 'x'));  // as much as fits
  // Whatever room is left takes one more small file at most.
  for (int n = 0; n < 64; ++n) WriteBytes(app.dir / ("f" + std::to_string(n)), "x");
  app.Form().FormCreate();
  // debug.txt and cfg.ini both fail; the user hears of both in one box.
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_NE(app.boxes.shown[0].text.find(u"Parlino cannot write its log"), Text::npos);
  EXPECT_NE(app.boxes.shown[0].text.find(u"the disk is full"), Text::npos)
      << ToUtf8(app.boxes.shown[0].text);
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_TRUE(testing::Control<QSystemTrayIcon>(app.Form(), "TrayIcon")->isVisible());
  app.clipboard.reads = {Text(u"Hello there")};
  EXPECT_TRUE(app.hotKeys.Press(0x4008));
}

TEST(FirstStart, CfgIniThatIsAFolderReadsAsDefaultsAndIsToldOnce) {
  AppFixture app;
  std::filesystem::create_directory(app.Cfg());
  app.Form().FormCreate();
  ExpectAUsableStart(app, u"it is a folder, not a file", u"Parlino cannot read its settings");
}

TEST(Settings, UnreadableFileIsToldAndNeverReplaced) {
  AppFixture app;
  WriteBytes(app.Cfg(), "[General]\r\nFirstRun=0\r\nHotKey=8257\r\n[Mine]\r\nkeep=1\r\n");
  chmod(app.Cfg().c_str(), 0);
  testing::GiveToTestUser(app.dir.path(), true);
  {
    const testing::FileAccessAsTestUser user;  // root would read the file anyway
    app.Form().FormCreate();
    ASSERT_FALSE(app.boxes.shown.empty());
    EXPECT_NE(app.boxes.shown[0].text.find(u"cannot read its settings"), Text::npos);
    app.Form().SaveCfg();
  }
  chmod(app.Cfg().c_str(), 0600);
  EXPECT_EQ(ReadBytes(app.Cfg()), "[General]\r\nFirstRun=0\r\nHotKey=8257\r\n[Mine]\r\nkeep=1\r\n");
}

TEST(Settings, WindowsMadeFileKeepsItsBytesThroughLoadAndSave) {
  AppFixture app;
  const std::string ignored = "IgnoredCharacters=\xAB\xBB\r\n";  // code page 1252: "«»"
  const std::string foreign = "[Other]\r\nName=J\xFCrgen M\xFCller \x80 5\r\n";
  WriteBytes(app.Cfg(),
             "[General]\r\nFirstRun=0\r\nHotKey=16392\r\nReadByMouse=1\r\n"
             "[Pronunciation]\r\nIgnoreCharacters=1\r\n" +
                 ignored + "[Speech]\r\nVoice=Anna\r\nSAPIVersion=5\r\n" + foreign);
  app.Catalogue();
  app.Form().LoadCfg();
  app.Form().SaveCfg();
  const std::string saved = ReadBytes(app.Cfg());
  EXPECT_NE(saved.find(ignored), std::string::npos) << saved;
  EXPECT_TRUE(saved.ends_with(foreign)) << saved;

  // Saving again changes nothing; changing one setting changes its line only.
  app.Form().LoadCfg();
  app.Form().SaveCfg();
  EXPECT_EQ(ReadBytes(app.Cfg()), saved);
  testing::Control<QCheckBox>(app.Form(), "ReadByMouse")->setChecked(false);
  app.Form().SaveCfg();
  std::string changed = saved;
  changed.replace(changed.find("ReadByMouse=1"), 13, "ReadByMouse=0");
  EXPECT_EQ(ReadBytes(app.Cfg()), changed);
}

TEST(Settings, ReadoutsShowLongValuesAndLimitOnlyTyping) {
  AppFixture app;
  app.Catalogue();
  app.Form().LoadCfg();
  testing::Control<QLineEdit>(app.Form(), "Edit1")->setText("1500");  // a legacy engine's speed
  EXPECT_EQ(testing::Control<QLineEdit>(app.Form(), "Edit1")->text(), "1500");
  app.Form().SaveCfg();
  EXPECT_EQ(app.Stored(u"Speech", u"Speed"), u"1500");
  QString typed = "1234";
  int position = 4;
  ASSERT_NE(testing::Control<QLineEdit>(app.Form(), "Edit1")->validator(), nullptr);
  EXPECT_EQ(
      testing::Control<QLineEdit>(app.Form(), "Edit1")->validator()->validate(typed, position),
      QValidator::Invalid);
}

TEST(Notices, NoAudioIsToldOnceAndLogged) {
  AppFixture app({"/opt/parlino/parlino", "-log"});
  app.Form().FormCreate();
  ASSERT_TRUE(app.voices.noticeHandler);
  app.voices.noticeHandler(u"No audio device is available (none), so Parlino reads silently.");
  app.voices.noticeHandler(u"No audio device is available (none), so Parlino reads silently.");
  ASSERT_EQ(app.boxes.shown.size(), 1u);  // no tray messages here: a box
  EXPECT_EQ(app.boxes.shown[0].text,
            u"No audio device is available (none), so Parlino reads silently.");
  const std::string log = ReadBytes(app.dir / "debug.txt");
  EXPECT_NE(log.find(" No audio device is available (none)"), std::string::npos) << log;
}

}  // namespace
}  // namespace parlino
