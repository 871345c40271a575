// Downloads with WinINet under Wine, from a small HTTP server in the test itself on the loopback
// address: each connection gets the next answer of a script.
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform_error.h"
#include "platform/pulled_downloads.h"
#include "platform/win32/wininet_internet.h"
#include "tests/fakes/fake_message_pump.h"

namespace parlino {
namespace {

using platform::win32_impl::WinInetInternet;

// One answer: the bytes the server sends, after which it closes the connection.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::deque<std::string> answers) : answers_(std::move(answers)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    closesocket(listener_);  // ends the accept
    thread_.join();
    WSACleanup();
  }

  std::u16string Address(const std::string& path) const {
    const std::string address = "http://127.0.0.1:" + std::to_string(port_) + path;
    return std::u16string(address.begin(), address.end());
  }
  // The request lines the server received, in order.
  std::deque<std::string> requests;

 private:
  void Serve() {
    for (;;) {
      const SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
      }
      std::string answer;
      {
        const std::lock_guard lock(mutex_);
        requests.push_back(request.substr(0, request.find("\r\n")));
        if (!answers_.empty()) {
          answer = std::move(answers_.front());
          answers_.pop_front();
        }
      }
      for (std::size_t sent = 0; sent < answer.size();) {
        const int n = send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
      }
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  }

  std::mutex mutex_;
  std::deque<std::string> answers_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::thread thread_;
};

std::string Body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i * 7 + i / 251);
  return body;
}

std::string ReadAll(platform::InternetResource& resource) {
  std::string received;
  char buffer[2048];
  while (const std::size_t n = resource.Read(buffer, sizeof buffer)) received.append(buffer, n);
  return received;
}

TEST(WinInetInternet, DownloadsTheBodyWithItsLength) {
  const std::string body = Body(300000);
  LoopbackServer server(
      {"HTTP/1.1 200 OK\r\nContent-Length: 300000\r\nConnection: close\r\n\r\n" + body});
  const auto resource = WinInetInternet().Open(u"parlino.exe", server.Address("/voice.exe"));
  EXPECT_EQ(resource->ContentLength(), 300000u);
  EXPECT_EQ(ReadAll(*resource), body);
  EXPECT_EQ(server.requests.front(), "GET /voice.exe HTTP/1.1");
}

TEST(WinInetInternet, WithoutALengthTheBodyEndsWithTheConnection) {
  const std::string body = Body(5000);
  LoopbackServer server({"HTTP/1.0 200 OK\r\n\r\n" + body});
  const auto resource = WinInetInternet().Open(u"parlino.exe", server.Address("/voice.exe"));
  EXPECT_EQ(resource->ContentLength(), std::nullopt);
  EXPECT_EQ(ReadAll(*resource), body);
}

TEST(WinInetInternet, FollowsARedirect) {
  LoopbackServer server(
      {"HTTP/1.1 302 Found\r\nLocation: /moved.exe\r\nContent-Length: 0\r\n"
       "Connection: close\r\n\r\n",
       "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nmoved"});
  const auto resource = WinInetInternet().Open(u"parlino.exe", server.Address("/voice.exe"));
  EXPECT_EQ(ReadAll(*resource), "moved");
}

TEST(WinInetInternet, AnErrorPageIsNoDownload) {
  LoopbackServer server(
      {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
       "not found"});
  try {
    WinInetInternet().Open(u"parlino.exe", server.Address("/missing.exe"));
    FAIL() << "a 404 was taken for the file";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.status(), 404);
  }
}

TEST(WinInetInternet, AConnectionThatEndsEarlyIsAnError) {
  LoopbackServer server(
      {"HTTP/1.1 200 OK\r\nContent-Length: 10000\r\nConnection: close\r\n\r\n" + Body(4000)});
  const auto resource = WinInetInternet().Open(u"parlino.exe", server.Address("/voice.exe"));
  EXPECT_THROW(ReadAll(*resource), PlatformError);
}

TEST(WinInetInternet, AnAddressNobodyAnswersIsAnError) {
  std::u16string address;
  {
    LoopbackServer closed({});
    address = closed.Address("/voice.exe");
  }  // the port is free again: nobody listens there
  EXPECT_THROW(WinInetInternet().Open(u"parlino.exe", address), PlatformError);
}

// The program's downloads on Windows: WinINet's reads, one block per message.
TEST(PulledDownloads, HandOnWinInetsBodyInBlocks) {
  class Receiver final : public platform::DownloadReceiver {
   public:
    void Started(std::optional<std::uint64_t> contentLength) override { length = contentLength; }
    bool Received(std::string_view block) override {
      largest = std::max(largest, block.size());
      body.append(block);
      return true;
    }
    void Finished(std::optional<std::string> problem) override {
      finished = true;
      error = std::move(problem);
    }
    std::optional<std::uint64_t> length;
    std::string body;
    std::size_t largest = 0;
    bool finished = false;
    std::optional<std::string> error;
  };
  const std::string body = Body(10000);
  LoopbackServer server(
      {"HTTP/1.1 200 OK\r\nContent-Length: 10000\r\nConnection: close\r\n\r\n" + body,
       "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found"});
  WinInetInternet internet;
  testing::FakeMessagePump pump;
  platform::PulledDownloads downloads(internet, pump);
  Receiver whole;
  const auto first = downloads.Start(u"parlino.exe", server.Address("/voice.exe"), whole);
  ASSERT_TRUE(pump.RunUntil([&] { return whole.finished; }));
  EXPECT_EQ(whole.error, std::nullopt);
  EXPECT_EQ(whole.length, 10000u);
  EXPECT_EQ(whole.body, body);
  EXPECT_LE(whole.largest, platform::kDownloadBlockSize);

  Receiver missing;
  const auto second = downloads.Start(u"parlino.exe", server.Address("/missing.exe"), missing);
  ASSERT_TRUE(pump.RunUntil([&] { return missing.finished; }));
  EXPECT_NE(missing.error, std::nullopt);
  EXPECT_EQ(missing.body, "");
}

}  // namespace
}  // namespace parlino
