// The "Additional voices" window over a catalogue in a temporary program folder, downloading for
// real with Qt Network from a small HTTP server in the test on the loopback address. Every case
// looks at what is left in the downloads folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <map>
#include <memory>

#include "platform/linux/ini_profile_store.h"
#include "platform/linux/qt_downloads.h"
#include "platform/linux/qt_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/loopback_http_server.h"
#include "tests/fakes/temp_dir.h"
#include "voices/download_progress.h"
#include "voices/frm_voices.h"

namespace parlino::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Connection = LoopbackHttpServer::Connection;
using Answers = std::map<std::string, std::function<void(Connection&)>>;

// Runs the event loop until `done` holds; false when it still does not after ten seconds.
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct Package {
  std::string title;
  std::string url;
  std::string size = "1 MB";
};

class VoicesWindow : public ::testing::Test {
 protected:
  VoicesWindow() {
    // The progress texts below are those of an English desktop.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
  ~VoicesWindow() override {
    window.reset();
    QLocale::setDefault(QLocale::c());
  }

  void Catalogue(const std::vector<Package>& packages) {
    std::string ini = "[Info]\r\nCount=" + std::to_string(packages.size()) + "\r\n";
    for (std::size_t d = 1; d <= packages.size(); ++d) {
      const Package& p = packages[d - 1];
      ini += "[File_" + std::to_string(d) + "]\r\nTitle=" + p.title + "\r\nSize=" + p.size +
             "\r\nURL=" + p.url + "\r\n";
    }
    WriteBytes(program / "add_voices.ini", ini);
  }

  // The server answers each path as `answers` says, and 404 to any other.
  void Serve(Answers answers) {
    server = std::make_unique<LoopbackHttpServer>(
        [answers = std::move(answers)](const std::string& path, Connection& connection) {
          const auto answer = answers.find(path);
          if (answer == answers.end()) {
            connection.Send(LoopbackHttpServer::Head(404, 9) + "not found");
          } else {
            answer->second(connection);
          }
        });
  }
  std::string Address(const std::string& path) const { return server->Address(path); }

  voices::TfrmVoices& Open() {
    window = std::make_unique<voices::TfrmVoices>(
        voices::VoicesWindowServices{profiles,
                                     downloads,
                                     boxes,
                                     shell,
                                     pump,
                                     {program.path(), data.path()},
                                     u"parlino",
                                     u"https://parlino.example/voices/",
                                     [this] { ++exits; }});
    window->show();
    return *window;
  }

  template <typename T>
  T* Control(const char* name) {
    T* found = window->findChild<T*>(name);
    if (found == nullptr) throw std::logic_error(std::string("no control named ") + name);
    return found;
  }
  QTableWidget* List() { return Control<QTableWidget>("List"); }
  QString StatusOf(int row) { return List()->item(row, 2)->text(); }
  bool Checked(int row) { return List()->item(row, 0)->checkState() == Qt::Checked; }
  void Check(int row) { List()->item(row, 0)->setCheckState(Qt::Checked); }
  QString ProgressText() { return Control<QLabel>("Status")->text(); }

  // Clicks "Download and install" and waits for the end of the run.
  void DownloadChecked() {
    Control<QPushButton>("btnDownload")->click();
    ASSERT_TRUE(WaitFor([&] { return !window->Downloading(); }));
  }
  std::vector<std::string> Downloaded() { return FilesIn(data / "Downloads"); }
  std::vector<Text> Boxes() {
    std::vector<Text> texts;
    for (const ShownBox& box : boxes.shown) texts.push_back(box.text);
    return texts;
  }
  Text InstallerPath(const std::string& name) {
    return FromUtf8((data / "Downloads" / name).string());
  }

  TempDir program;
  TempDir data;
  platform::linux_impl::IniProfileStore profiles;
  platform::linux_impl::QtDownloads downloads;
  FakeMessageBoxes boxes;
  FakeShell shell;
  platform::linux_impl::QtMessagePump pump;
  int exits = 0;
  std::unique_ptr<LoopbackHttpServer> server;
  std::unique_ptr<voices::TfrmVoices> window;
};

const Text kNothing(voices::kNothingDownloadedMessage);
const Text kError(voices::kDownloadErrorMessage);
const Text kExitNow(voices::kExitNowQuestion);

TEST_F(VoicesWindow, ACompleteDownloadIsInstalledAndItsInstallerStarted) {
  const std::string body = LoopbackHttpServer::Body(300000);
  Serve({{"/voices/anna.exe",
          [&](Connection& c) { c.Send(LoopbackHttpServer::Head(200, body.size()) + body); }}});
  Catalogue({{"Anna", Address("/voices/anna.exe")}, {"Bob", Address("/voices/bob.exe")}});
  Open();
  ASSERT_EQ(List()->rowCount(), 2);
  EXPECT_EQ(StatusOf(0), "");
  Check(0);
  boxes.answers = {platform::BoxAnswer::Yes};
  DownloadChecked();

  EXPECT_EQ(ReadBytes(data / "Downloads" / "anna.exe"), body);
  EXPECT_THAT(Downloaded(), ElementsAre("anna.exe"));
  EXPECT_EQ(StatusOf(0), "Installed");
  EXPECT_FALSE(Checked(0));
  EXPECT_THAT(shell.opened, ElementsAre(InstallerPath("anna.exe")));
  EXPECT_THAT(Boxes(), ElementsAre(kExitNow));
  EXPECT_EQ(boxes.shown[0].buttons, platform::BoxButtons::YesNo);
  EXPECT_EQ(exits, 1);
  // The program names itself, and takes the body as the server keeps it.
  const auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_THAT(requests[0], HasSubstr("\r\nUser-Agent: parlino\r\n"));
  EXPECT_THAT(requests[0], HasSubstr("\r\nAccept-Encoding: identity\r\n"));
  // The progress controls are gone again and the button can be used again.
  EXPECT_FALSE(Control<QProgressBar>("Progress")->isVisible());
  EXPECT_TRUE(Control<QPushButton>("btnDownload")->isEnabled());
}

TEST_F(VoicesWindow, AFailedDownloadLeavesNothingAndTheRowChecked) {
  const std::string body = LoopbackHttpServer::Body(100000);
  const struct {
    const char* name;
    std::function<void(Connection&)> answer;
  } cases[] = {
      {"not found", [](Connection& c) { c.Send(LoopbackHttpServer::Head(404, 9) + "not found"); }},
      {"server error", [](Connection& c) { c.Send(LoopbackHttpServer::Head(500, 6) + "broken"); }},
      {"reset in mid-body",
       [&](Connection& c) {
         c.Send(LoopbackHttpServer::Head(200, body.size()) + body.substr(0, 50000));
         c.Reset();
       }},
      {"orderly end in mid-body",
       [&](Connection& c) {
         c.Send(LoopbackHttpServer::Head(200, body.size()) + body.substr(0, 50000));
       }},
      {"zero-length body", [](Connection& c) { c.Send(LoopbackHttpServer::Head(200, 0)); }},
      {"empty body without a length",
       [](Connection& c) { c.Send(LoopbackHttpServer::Head(200, std::nullopt)); }},
      {"no answer at all", [](Connection& c) { c.Reset(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    Serve({{"/anna.exe", c.answer}});
    Catalogue({{"Anna", Address("/anna.exe")}});
    Open();
    Check(0);
    DownloadChecked();
    EXPECT_THAT(Boxes(), ElementsAre(kError, kNothing));
    EXPECT_EQ(boxes.shown[0].kind, platform::BoxKind::Warning);
    EXPECT_TRUE(Checked(0));
    EXPECT_EQ(StatusOf(0), "");
    EXPECT_THAT(Downloaded(), IsEmpty());
    EXPECT_THAT(shell.opened, IsEmpty());
    EXPECT_EQ(exits, 0);
  }
}

TEST_F(VoicesWindow, ASlowServerShowsTheProgressAsTheBodyArrives) {
  const std::string body = LoopbackHttpServer::Body(6000000);
  Serve({{"/setup.exe", [&](Connection& c) {
            c.Send(LoopbackHttpServer::Head(200, body.size()) + body.substr(0, 3000000));
            if (c.WaitForRelease()) c.Send(body.substr(3000000, 1500000));
            if (c.WaitForRelease()) c.Send(body.substr(4500000));
          }}});
  Catalogue({{"Anna", Address("/setup.exe")}});
  Open();
  Check(0);
  Control<QPushButton>("btnDownload")->click();
  auto* bar = Control<QProgressBar>("Progress");
  EXPECT_TRUE(WaitFor([&] { return ProgressText() == "2.90 MB of 5.70 MB completed"; }))
      << ProgressText().toStdString();
  EXPECT_EQ(bar->value(), 50);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(Control<QLabel>("Label2")->text(), "setup.exe");
  EXPECT_FALSE(Control<QPushButton>("btnDownload")->isEnabled());
  // Nothing carries the installer's name before the whole body is there.
  ASSERT_EQ(Downloaded().size(), 1u);
  EXPECT_NE(Downloaded()[0], "setup.exe");

  server->Release();
  EXPECT_TRUE(WaitFor([&] { return ProgressText() == "4.30 MB of 5.70 MB completed"; }))
      << ProgressText().toStdString();
  EXPECT_EQ(bar->value(), 75);
  server->Release();
  ASSERT_TRUE(WaitFor([&] { return !window->Downloading(); }));
  EXPECT_EQ(ReadBytes(data / "Downloads" / "setup.exe"), body);
  EXPECT_THAT(Downloaded(), ElementsAre("setup.exe"));
  EXPECT_EQ(StatusOf(0), "Installed");
}

TEST_F(VoicesWindow, WithoutALengthTheBarIsBusyAndTheTextCountsWhatArrived) {
  const std::string body = LoopbackHttpServer::Body(2000000);
  Serve({{"/setup.exe", [&](Connection& c) {
            c.Send(LoopbackHttpServer::Head(200, std::nullopt) + body.substr(0, 1000000));
            if (c.WaitForRelease()) c.Send(body.substr(1000000));
          }}});
  Catalogue({{"Anna", Address("/setup.exe")}});
  Open();
  Check(0);
  Control<QPushButton>("btnDownload")->click();
  EXPECT_TRUE(WaitFor([&] { return ProgressText() == "0.95 MB completed"; }))
      << ProgressText().toStdString();
  EXPECT_EQ(Control<QProgressBar>("Progress")->maximum(), 0);  // busy
  server->Release();
  ASSERT_TRUE(WaitFor([&] { return !window->Downloading(); }));
  EXPECT_EQ(ReadBytes(data / "Downloads" / "setup.exe"), body);
  EXPECT_EQ(StatusOf(0), "Installed");
}

TEST_F(VoicesWindow, RedirectsAreFollowedUpToFive) {
  const std::string body = LoopbackHttpServer::Body(5000);
  Answers answers{
      {"/setup.exe", [&](Connection& c) { c.Send(LoopbackHttpServer::Head(200, 5000) + body); }}};
  // /hop1 leads to /setup.exe in one redirect, /hop6 in six.
  for (int hop = 1; hop <= 6; ++hop) {
    const std::string next = hop == 1 ? "/setup.exe" : "/hop" + std::to_string(hop - 1);
    answers["/hop" + std::to_string(hop)] = [next](Connection& c) {
      c.Send(LoopbackHttpServer::Head(302, 0, "Location: " + next + "\r\n"));
    };
  }
  Serve(answers);
  // Each row saves under the name of its own address.
  Catalogue({{"One", Address("/hop1")}, {"Five", Address("/hop5")}, {"Six", Address("/hop6")}});
  Open();
  for (int row = 0; row < 3; ++row) Check(row);
  DownloadChecked();
  EXPECT_EQ(StatusOf(0), "Installed");
  EXPECT_EQ(StatusOf(1), "Installed");
  EXPECT_EQ(StatusOf(2), "");
  EXPECT_THAT(Downloaded(), ElementsAre("hop1", "hop5"));
  EXPECT_EQ(ReadBytes(data / "Downloads" / "hop5"), body);
  EXPECT_THAT(Boxes(), ElementsAre(kError, kExitNow));
}

TEST_F(VoicesWindow, AnAddressWithoutASafeFileNameIsRefusedAndNothingIsWritten) {
  Serve({});
  const std::string base = Address("");
  Catalogue({{"Up", base + "/voices/.."},
             {"Escaped", base + "/voices/..%2F..%2Fescape.exe"},
             {"Backslash", base + "/voices/x\\..\\..\\evil.exe"},
             {"Empty", base + "/voices/"}});
  Open();
  for (int row = 0; row < 4; ++row) Check(row);
  DownloadChecked();
  ASSERT_EQ(boxes.shown.size(), 5u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(boxes.shown[i].kind, platform::BoxKind::Warning);
    EXPECT_THAT(
        ToUtf8(boxes.shown[i].text),
        HasSubstr("\"" + std::vector<std::string>{"Up", "Escaped", "Backslash", "Empty"}[i] +
                  "\" cannot be downloaded"));
  }
  EXPECT_EQ(boxes.shown[4].text, kNothing);
  EXPECT_THAT(server->Requests(), IsEmpty());
  EXPECT_THAT(Downloaded(), IsEmpty());
  EXPECT_THAT(FilesIn(data.path()), ElementsAre("Downloads"));
  EXPECT_THAT(FilesIn(program.path()), ElementsAre("add_voices.ini"));
}

TEST_F(VoicesWindow, ClosingDuringADownloadStopsItAndLeavesNothing) {
  const std::string body = LoopbackHttpServer::Body(4000000);
  Serve({{"/setup.exe", [&](Connection& c) {
            c.Send(LoopbackHttpServer::Head(200, body.size()) + body.substr(0, 1000000));
            c.WaitForClientToLeave();
          }}});
  Catalogue({{"Anna", Address("/setup.exe")}});
  Open();
  Check(0);
  Control<QPushButton>("btnDownload")->click();
  ASSERT_TRUE(WaitFor([&] { return ProgressText() == "0.95 MB of 3.80 MB completed"; }))
      << ProgressText().toStdString();
  ASSERT_EQ(Downloaded().size(), 1u);  // the partial file

  Control<QPushButton>("btnClose")->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->Downloading());
  EXPECT_THAT(Downloaded(), IsEmpty());
  EXPECT_THAT(boxes.shown, IsEmpty());
  // The connection is closed, not left open.
  EXPECT_TRUE(WaitFor([&] { return server->ClientsLeft() == 1; }));
  EXPECT_THAT(Downloaded(), IsEmpty());
  EXPECT_THAT(shell.opened, IsEmpty());

  // Shown again, the window offers the package as before.
  window->show();
  EXPECT_EQ(StatusOf(0), "");
  EXPECT_TRUE(Control<QPushButton>("btnDownload")->isEnabled());
  EXPECT_FALSE(Control<QProgressBar>("Progress")->isVisible());
}

TEST_F(VoicesWindow, ListsTheCatalogueWithTheStatusOfEachPackage) {
  std::filesystem::create_directories(data / "Downloads");
  WriteBytes(data / "Downloads" / "anna.exe", "MZ");
  WriteBytes(data / "Downloads" / "bob.exe", "");
  Catalogue({{"Anna", "http://v.example/anna.exe", "12 MB"},
             {"Bob", "http://v.example/bob.exe", "3 MB"},
             {"Carl", "http://v.example/carl.exe", ""}});
  Open();
  ASSERT_EQ(List()->rowCount(), 3);
  const char* titles[] = {"Anna", "Bob", "Carl"};
  const char* sizes[] = {"12 MB", "3 MB", ""};
  const char* statuses[] = {"Installed", "", ""};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(List()->item(row, 0)->text(), titles[row]);
    EXPECT_EQ(List()->item(row, 1)->text(), sizes[row]);
    EXPECT_EQ(StatusOf(row), statuses[row]);
    EXPECT_FALSE(Checked(row));
  }
  EXPECT_EQ(List()->horizontalHeaderItem(0)->text(), "Voices");
  EXPECT_EQ(List()->horizontalHeaderItem(2)->text(), "Status");

  // A catalogue with no packages, or none at all, lists nothing.
  WriteBytes(program / "add_voices.ini", "[Info]\r\nCount=0\r\n");
  window->hide();
  window->show();
  EXPECT_EQ(List()->rowCount(), 0);
  std::filesystem::remove(program / "add_voices.ini");
  window->UpdateVoicesList();
  EXPECT_EQ(List()->rowCount(), 0);
}

TEST_F(VoicesWindow, OnlyInstalledPackagesCheckedTellsThatNothingWasSelected) {
  std::filesystem::create_directories(data / "Downloads");
  WriteBytes(data / "Downloads" / "anna.exe", "MZ");
  Catalogue({{"Anna", "http://127.0.0.1:9/anna.exe"}, {"Bob", "http://127.0.0.1:9/bob.exe"}});
  Open();
  Check(0);
  DownloadChecked();
  EXPECT_FALSE(Checked(0));
  EXPECT_THAT(Boxes(), ElementsAre(kNothing));
  EXPECT_EQ(boxes.shown[0].kind, platform::BoxKind::Information);
  EXPECT_THAT(Downloaded(), ElementsAre("anna.exe"));
}

TEST_F(VoicesWindow, ReinstallFollowsTheSelectedRowsStatus) {
  std::filesystem::create_directories(data / "Downloads");
  WriteBytes(data / "Downloads" / "anna.exe", "MZ");
  Catalogue({{"Anna", "http://v.example/anna.exe"}, {"Bob", "http://v.example/bob.exe"}});
  Open();
  auto* reinstall = Control<QPushButton>("btnReinstall");
  EXPECT_FALSE(reinstall->isEnabled());
  List()->selectRow(0);
  EXPECT_TRUE(reinstall->isEnabled());
  reinstall->click();
  EXPECT_THAT(shell.opened, ElementsAre(InstallerPath("anna.exe")));
  List()->selectRow(1);
  EXPECT_FALSE(reinstall->isEnabled());

  // Deselecting the installed row leaves the button enabled; it then does nothing.
  List()->selectRow(0);
  List()->clearSelection();
  EXPECT_TRUE(reinstall->isEnabled());
  reinstall->click();
  EXPECT_EQ(shell.opened.size(), 1u);

  // An installer that cannot be started is shown in its folder.
  shell.refuseOpen = true;
  List()->selectRow(0);
  reinstall->click();
  EXPECT_THAT(shell.shownInFolder, ElementsAre(InstallerPath("anna.exe")));
}

TEST_F(VoicesWindow, AnInstallerThatCannotBeStartedIsShownAndCountsAsInstalled) {
  Serve({{"/anna.exe", [](Connection& c) { c.Send(LoopbackHttpServer::Head(200, 2) + "MZ"); }}});
  Catalogue({{"Anna", Address("/anna.exe")}});
  shell.refuseOpen = true;
  Open();
  Check(0);
  DownloadChecked();
  EXPECT_THAT(shell.shownInFolder, ElementsAre(InstallerPath("anna.exe")));
  EXPECT_EQ(StatusOf(0), "Installed");
  EXPECT_THAT(Boxes(), ElementsAre(kExitNow));
  EXPECT_EQ(exits, 0);  // the fake answers "OK", which is no Yes
}

TEST_F(VoicesWindow, CheckForNewEnginesOpensTheVoicesPage) {
  Catalogue({});
  Open();
  Control<QPushButton>("btnCheck")->click();
  EXPECT_THAT(shell.opened, ElementsAre(u"https://parlino.example/voices/"));
}

TEST(ProgressNumbers, HaveTwoSignificantDigitsAndTwoDecimalsInTheUsersLocale) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  const QLocale german(QLocale::German, QLocale::Germany);
  const struct {
    double megabytes;
    const char16_t* inEnglish;
    const char16_t* inGerman;
  } cases[] = {{0.0567, u"0.06", u"0,06"},
               {1.234, u"1.20", u"1,20"},
               {15.7, u"16.00", u"16,00"},
               {1234, u"1,200.00", u"1.200,00"},
               {3000000 / 1048576.0, u"2.90", u"2,90"},
               {6000000 / 1048576.0, u"5.70", u"5,70"}};
  for (const auto& c : cases) {
    const auto bytes = static_cast<std::uint64_t>(c.megabytes * 1048576.0 + 0.5);
    const double shown = voices::ShownMegabytes(bytes);
    EXPECT_EQ(voices::TwoDecimalsIn(english, shown), c.inEnglish) << c.megabytes;
    EXPECT_EQ(voices::TwoDecimalsIn(german, shown), c.inGerman) << c.megabytes;
  }
  voices::ProgressText text([&](double value) { return voices::TwoDecimalsIn(german, value); });
  text.Update(3000000, 6000000);
  EXPECT_EQ(text.text(), u"2,90 MB of 5,70 MB completed");
}

}  // namespace
}  // namespace parlino::testing
