// Downloads through Qt Network as such: what reaches the receiver, HTTPS with a certificate that
// is trusted or not, redirects that would leave HTTPS, and addresses that are no web addresses.
// The HTTPS server is Qt's own, in the test, with a certificate made for it by openssl.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <functional>

#include "platform/linux/qt_downloads.h"
#include "tests/fakes/loopback_http_server.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::testing {
namespace {

using ::testing::IsEmpty;

bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class Recorder final : public platform::DownloadReceiver {
 public:
  void Started(std::optional<std::uint64_t> contentLength) override {
    started = true;
    length = contentLength;
  }
  bool Received(std::string_view block) override {
    largestBlock = std::max(largestBlock, block.size());
    body.append(block);
    return true;
  }
  void Finished(std::optional<std::string> problem) override {
    finished = true;
    error = std::move(problem);
  }

  bool started = false;
  std::optional<std::uint64_t> length;
  std::string body;
  std::size_t largestBlock = 0;
  bool finished = false;
  std::optional<std::string> error;
};

Text ToText(const std::string& address) {
  return FromUtf8(address);
}

// An HTTPS server on the loopback address that answers every request with `answer`.
class TlsServer {
 public:
  explicit TlsServer(std::string answer) : answer_(std::move(answer)) {
    const QString cert = QString::fromStdString((dir_ / "cert.pem").string());
    const QString key = QString::fromStdString((dir_ / "key.pem").string());
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
      throw std::runtime_error("openssl could not make a certificate");
    }
    QFile certFile(cert);
    QFile keyFile(key);
    certFile.open(QIODevice::ReadOnly);
    keyFile.open(QIODevice::ReadOnly);
    certificate_ = QSslCertificate(&certFile, QSsl::Pem);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate_);
    configuration.setPrivateKey(QSslKey(&keyFile, QSsl::Ec, QSsl::Pem));
    server_.setSslConfiguration(configuration);
    QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          request_ += socket->readAll().toStdString();
          if (request_.find("\r\n\r\n") == std::string::npos) return;
          ++requests;
          socket->write(QByteArray::fromStdString(answer_));
          socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
    server_.listen(QHostAddress::LocalHost);
  }

  std::string Address(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
  }
  const QSslCertificate& Certificate() const { return certificate_; }

  int requests = 0;

 private:
  TempDir dir_;
  std::string answer_;
  std::string request_;
  QSslCertificate certificate_;
  QSslServer server_;
};

// Trusts the test's certificate for the length of a test, as if it were a known authority.
class Trusting {
 public:
  explicit Trusting(const QSslCertificate& certificate)
      : saved_(QSslConfiguration::defaultConfiguration()) {
    QSslConfiguration trusting = saved_;
    trusting.addCaCertificate(certificate);
    QSslConfiguration::setDefaultConfiguration(trusting);
  }
  ~Trusting() { QSslConfiguration::setDefaultConfiguration(saved_); }

 private:
  QSslConfiguration saved_;
};

TEST(QtDownloads, GivesTheBodyInBlocksOfAtMost2048Bytes) {
  const std::string body = LoopbackHttpServer::Body(100000);
  LoopbackHttpServer server([&](const std::string&, LoopbackHttpServer::Connection& c) {
    c.Send(LoopbackHttpServer::Head(200, body.size()) + body);
  });
  platform::linux_impl::QtDownloads downloads;
  Recorder recorder;
  const auto download = downloads.Start(u"parlino", ToText(server.Address("/a.exe")), recorder);
  EXPECT_FALSE(recorder.started);  // never from within Start
  ASSERT_TRUE(WaitFor([&] { return recorder.finished; }));
  EXPECT_EQ(recorder.error, std::nullopt);
  EXPECT_EQ(recorder.length, body.size());
  EXPECT_EQ(recorder.body, body);
  EXPECT_LE(recorder.largestBlock, platform::kDownloadBlockSize);
}

TEST(QtDownloads, OnlyWebAddressesLoad) {
  TempDir dir;
  WriteBytes(dir / "secret", "local file");
  platform::linux_impl::QtDownloads downloads;
  for (const std::string& address :
       {"file://" + (dir / "secret").string(), std::string("data:,local%20data"),
        std::string("ftp://127.0.0.1/setup.exe"), std::string("not an address")}) {
    SCOPED_TRACE(address);
    Recorder recorder;
    const auto download = downloads.Start(u"parlino", ToText(address), recorder);
    ASSERT_TRUE(WaitFor([&] { return recorder.finished; }));
    EXPECT_NE(recorder.error, std::nullopt);
    EXPECT_FALSE(recorder.started);
    EXPECT_THAT(recorder.body, IsEmpty());
  }
}

TEST(QtDownloads, AnUntrustedCertificateFailsTheDownload) {
  TlsServer server(LoopbackHttpServer::Head(200, 2) + "MZ");
  platform::linux_impl::QtDownloads downloads;
  Recorder recorder;
  const auto download = downloads.Start(u"parlino", ToText(server.Address("/a.exe")), recorder);
  ASSERT_TRUE(WaitFor([&] { return recorder.finished; }));
  EXPECT_NE(recorder.error, std::nullopt);
  EXPECT_FALSE(recorder.started);
  EXPECT_EQ(server.requests, 0);  // nothing was asked over the connection that failed
}

TEST(QtDownloads, HttpsWorksButNeverLeadsToHttp) {
  const std::string body = LoopbackHttpServer::Body(5000);
  LoopbackHttpServer plain([&](const std::string&, LoopbackHttpServer::Connection& c) {
    c.Send(LoopbackHttpServer::Head(200, body.size()) + body);
  });
  {
    TlsServer secure(LoopbackHttpServer::Head(200, body.size()) + body);
    const Trusting trust(secure.Certificate());
    platform::linux_impl::QtDownloads downloads;
    Recorder recorder;
    const auto download = downloads.Start(u"parlino", ToText(secure.Address("/a.exe")), recorder);
    ASSERT_TRUE(WaitFor([&] { return recorder.finished; }));
    EXPECT_EQ(recorder.error, std::nullopt);
    EXPECT_EQ(recorder.body, body);
  }
  TlsServer redirecting(
      LoopbackHttpServer::Head(302, 0, "Location: " + plain.Address("/a.exe") + "\r\n"));
  const Trusting trust(redirecting.Certificate());
  platform::linux_impl::QtDownloads downloads;
  Recorder recorder;
  const auto download =
      downloads.Start(u"parlino", ToText(redirecting.Address("/a.exe")), recorder);
  ASSERT_TRUE(WaitFor([&] { return recorder.finished; }));
  EXPECT_EQ(redirecting.requests, 1);
  EXPECT_NE(recorder.error, std::nullopt);
  EXPECT_THAT(recorder.body, IsEmpty());
  EXPECT_THAT(plain.Requests(), IsEmpty());
}

}  // namespace
}  // namespace parlino::testing
