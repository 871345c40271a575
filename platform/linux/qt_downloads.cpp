#include "platform/linux/qt_downloads.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "platform/qt/qt_text.h"

namespace parlino::platform::linux_impl {
namespace {

constexpr int kMostRedirects = 5;
// A server that sends nothing for this long has gone away; the download fails instead of
// waiting for ever.
constexpr std::chrono::milliseconds kSilenceLimit = std::chrono::seconds(60);

class QtDownload final : public Download {
 public:
  QtDownload(QNetworkAccessManager& manager, QNetworkRequest request, DownloadReceiver& receiver)
      : receiver_(receiver) {
    const QString scheme = request.url().scheme();
    if (!request.url().isValid() || (scheme != "http" && scheme != "https")) {
      // Told from the event loop, as any other end of a download.
      QTimer::singleShot(0, &context_, [this] { End("The address is no web address."); });
      return;
    }
    reply_ = manager.get(request);
    QObject::connect(reply_, &QNetworkReply::readyRead, &context_, [this] { ReadBlocks(); });
    QObject::connect(reply_, &QNetworkReply::finished, &context_, [this] { ReplyFinished(); });
  }

  ~QtDownload() override { Stop(); }

 private:
  // Gives the receiver what has arrived, block by block; false once the download has ended.
  bool ReadBlocks() {
    if (!started_) {
      // The body of an error page is nobody's installer; the reply's end tells the error.
      if (!Succeeded()) {
        reply_->readAll();
        return true;
      }
      Start();
    }
    char block[kDownloadBlockSize];
    for (;;) {
      const qint64 read = reply_->read(block, sizeof block);
      if (read <= 0) return true;
      if (!receiver_.Received(std::string_view(block, static_cast<std::size_t>(read)))) {
        Stop();
        return false;
      }
    }
  }

  bool Succeeded() const {
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply_->error() == QNetworkReply::NoError && status >= 200 && status <= 299;
  }

  // The answer's headers are in, with success.
  void Start() {
    started_ = true;
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    bool valid = false;
    const qlonglong value = length.toLongLong(&valid);
    receiver_.Started(valid && value >= 0
                          ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(value))
                          : std::nullopt);
  }

  void ReplyFinished() {
    if (reply_->error() != QNetworkReply::NoError) {
      End(reply_->errorString().toStdString());
    } else if (!Succeeded()) {
      const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
      End("The server answered with status " + std::to_string(status) + ".");
    } else if (ReadBlocks()) {
      End(std::nullopt);
    }
  }

  void End(std::optional<std::string> error) {
    Stop();
    receiver_.Finished(std::move(error));
  }

  // No further word reaches the receiver, and the connection closes.
  void Stop() {
    if (reply_ != nullptr) {
      QObject::disconnect(reply_, nullptr, &context_, nullptr);
      if (reply_->isRunning()) reply_->abort();
      reply_->deleteLater();
      reply_ = nullptr;
    }
  }

  DownloadReceiver& receiver_;
  QObject context_;  // the receiver of every connection: gone with the download
  QNetworkReply* reply_ = nullptr;
  bool started_ = false;
};

}  // namespace

QtDownloads::QtDownloads() : manager_(std::make_unique<QNetworkAccessManager>()) {
  QNetworkProxyFactory::setUseSystemConfiguration(true);
}

QtDownloads::~QtDownloads() = default;

std::unique_ptr<Download> QtDownloads::Start(TextView agent, TextView address,
                                             DownloadReceiver& receiver) {
  QNetworkRequest request{QUrl(ToQString(address))};
  request.setHeader(QNetworkRequest::UserAgentHeader, ToQString(agent));
  // The body as the server keeps it: a compressed transfer would not match its length.
  request.setRawHeader("Accept-Encoding", "identity");
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(kMostRedirects);
  request.setTransferTimeout(static_cast<int>(kSilenceLimit.count()));
  return std::make_unique<QtDownload>(*manager_, std::move(request), receiver);
}

}  // namespace parlino::platform::linux_impl
