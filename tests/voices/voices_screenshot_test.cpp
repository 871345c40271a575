// The "Additional voices" window on a real X server in the middle of a download, saved as a
// picture beside the test (voices-download.png) for a look at it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QWindow>
#include <filesystem>
#include <iostream>

#include "platform/linux/ini_profile_store.h"
#include "platform/linux/qt_downloads.h"
#include "platform/linux/qt_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/loopback_http_server.h"
#include "tests/fakes/temp_dir.h"
#include "voices/frm_voices.h"

namespace parlino::testing {
namespace {

bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 20000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TEST(VoicesScreenshot, TheWindowDuringADownload) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const std::string body = LoopbackHttpServer::Body(6000000);
  LoopbackHttpServer server([&](const std::string&, LoopbackHttpServer::Connection& c) {
    c.Send(LoopbackHttpServer::Head(200, body.size()) + body.substr(0, 3000000));
    if (c.WaitForRelease()) c.Send(body.substr(3000000));
  });
  TempDir program;
  TempDir data;
  WriteBytes(program / "add_voices.ini",
             "[Info]\r\nCount=3\r\n"
             "[File_1]\r\nTitle=English (Anna)\r\nSize=5.7 MB\r\nURL=" +
                 server.Address("/anna-en.exe") +
                 "\r\n[File_2]\r\nTitle=German (Bernd)\r\nSize=12 MB\r\nURL=" +
                 server.Address("/bernd-de.exe") +
                 "\r\n[File_3]\r\nTitle=French (Claire)\r\nSize=8 MB\r\nURL=" +
                 server.Address("/claire-fr.exe") + "\r\n");
  std::filesystem::create_directories(data / "Downloads");
  WriteBytes(data / "Downloads" / "bernd-de.exe", "MZ");

  platform::linux_impl::IniProfileStore profiles;
  platform::linux_impl::QtDownloads downloads;
  FakeMessageBoxes boxes;
  FakeShell shell;
  platform::linux_impl::QtMessagePump pump;
  voices::TfrmVoices window({profiles,
                             downloads,
                             boxes,
                             shell,
                             pump,
                             {program.path(), data.path()},
                             u"parlino",
                             u"https://parlino.example/voices/",
                             [] {}});
  window.show();
  ASSERT_TRUE(WaitFor([&] { return window.windowHandle()->isExposed(); }));
  auto* list = window.findChild<QTableWidget*>("List");
  list->item(0, 0)->setCheckState(Qt::Checked);
  list->selectRow(1);
  window.findChild<QPushButton*>("btnDownload")->click();
  auto* status = window.findChild<QLabel*>("Status");
  ASSERT_TRUE(WaitFor([&] { return status->text() == "2.90 MB of 5.70 MB completed"; }));
  window.repaint();  // painted and on the X server before the picture is taken

  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window.winId());
  const std::filesystem::path file = std::filesystem::current_path() / "voices-download.png";
  EXPECT_TRUE(shot.save(QString::fromStdString(file.string())));
  std::cout << "screenshot: " << file.string() << " (" << shot.width() << "x" << shot.height()
            << ")\n";
  // A picture of the window, not of an empty screen: its controls give it many colours.
  const QImage image = shot.toImage();
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 20);

  server.Release();
  ASSERT_TRUE(WaitFor([&] { return !window.Downloading(); }));
  EXPECT_EQ(list->item(0, 2)->text(), "Installed");
}

}  // namespace
}  // namespace parlino::testing
