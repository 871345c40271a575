#pragma once
// A small HTTP server on the loopback address for tests and benchmarks, run on a thread of its
// own: every request gets the answer that the test's handler writes for its path, and the
// connection closes after it. A handler can hold its answer until the test lets it go on, so
// that a test sees a download at a point of its choosing without waiting for time.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace parlino::testing {

class LoopbackHttpServer {
 public:
  // One connection, as the handler answers it.
  class Connection {
   public:
    // Sends the bytes; false when the client has gone.
    bool Send(std::string_view bytes);
    // Ends the connection abruptly (a reset), as a broken network does.
    void Reset();
    // Holds the answer until the test calls Release; false when the server stops first.
    bool WaitForRelease();
    // Waits until the client closes the connection; false when the server stops first.
    bool WaitForClientToLeave();

   private:
    friend class LoopbackHttpServer;
    Connection(LoopbackHttpServer& server, int socket) : server_(server), socket_(socket) {}
    LoopbackHttpServer& server_;
    int socket_;
  };
  // Answers one request for `path` (the request target as sent, query included).
  using Handler = std::function<void(const std::string& path, Connection& connection)>;

  explicit LoopbackHttpServer(Handler handler);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Address(std::string_view path) const;
  int Port() const { return port_; }

  // Lets one held answer go on (now, or when it next waits).
  void Release();
  // The heads of the requests received so far, in order.
  std::vector<std::string> Requests() const;
  // How many clients WaitForClientToLeave saw leave.
  int ClientsLeft() const;

  // The head of an answer: the status line, Content-Length when given, "Connection: close",
  // `extra` header lines (each ending in CR LF), and the empty line.
  static std::string Head(int status, std::optional<std::size_t> length,
                          const std::string& extra = {});
  // `size` bytes of a pattern that no shifted copy of itself matches.
  static std::string Body(std::size_t size);

 private:
  void Serve();

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  int releases_ = 0;
  bool stopping_ = false;
  std::vector<std::string> requests_;
  int clientsLeft_ = 0;
  int stopPipe_[2] = {-1, -1};  // written to when the server stops, to end waits on sockets
  std::thread thread_;
};

}  // namespace parlino::testing
