#include "tests/fakes/loopback_http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace parlino::testing {

bool LoopbackHttpServer::Connection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

void LoopbackHttpServer::Connection::Reset() {
  // Closing with a zero linger time sends a reset instead of an orderly end.
  const linger abrupt{1, 0};
  ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
  ::close(socket_);
  socket_ = -1;
}

bool LoopbackHttpServer::Connection::WaitForRelease() {
  std::unique_lock lock(server_.mutex_);
  server_.released_.wait(lock, [&] { return server_.releases_ > 0 || server_.stopping_; });
  if (server_.stopping_) return false;
  --server_.releases_;
  return true;
}

bool LoopbackHttpServer::Connection::WaitForClientToLeave() {
  pollfd watched[] = {{socket_, POLLIN, 0}, {server_.stopPipe_[0], POLLIN, 0}};
  for (;;) {
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (watched[1].revents != 0) return false;
    char byte;
    const ssize_t n = ::recv(socket_, &byte, 1, 0);
    if (n > 0) continue;  // more from the client: not gone yet
    if (n < 0 && errno == EINTR) continue;
    const std::lock_guard lock(server_.mutex_);
    ++server_.clientsLeft_;
    return true;
  }
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
  if (::pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for the server");
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      ::listen(listener_, 8) != 0) {
    throw std::runtime_error("the loopback server cannot listen");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  released_.notify_all();
  const char stop = 's';
  if (::write(stopPipe_[1], &stop, 1) != 1) std::perror("loopback server");
  ::shutdown(listener_, SHUT_RDWR);  // ends the accept
  thread_.join();
  ::close(listener_);
  ::close(stopPipe_[0]);
  ::close(stopPipe_[1]);
}

std::string LoopbackHttpServer::Address(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void LoopbackHttpServer::Release() {
  {
    const std::lock_guard lock(mutex_);
    ++releases_;
  }
  released_.notify_all();
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

int LoopbackHttpServer::ClientsLeft() const {
  const std::lock_guard lock(mutex_);
  return clientsLeft_;
}

std::string LoopbackHttpServer::Head(int status, std::optional<std::size_t> length,
                                     const std::string& extra) {
  const char* reason = status == 200   ? "OK"
                       : status == 302 ? "Found"
                       : status == 404 ? "Not Found"
                                       : "Status";
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
  if (length) head += "Content-Length: " + std::to_string(*length) + "\r\n";
  return head + "Connection: close\r\n" + extra + "\r\n";
}

std::string LoopbackHttpServer::Body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i * 7 + i / 251);
  return body;
}

void LoopbackHttpServer::Serve() {
  for (;;) {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // the listener was shut down
    }
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t end = request.find("\r\n\r\n");
    if (end != std::string::npos) {
      const std::string head = request.substr(0, end);
      {
        const std::lock_guard lock(mutex_);
        requests_.push_back(head);
      }
      // "GET <path> HTTP/1.1"
      const std::size_t from = head.find(' ') + 1;
      const std::string path = head.substr(from, head.find(' ', from) - from);
      Connection connection(*this, client);
      handler_(path, connection);
      if (connection.socket_ < 0) continue;  // reset
    }
    // An orderly end; the request was read whole, so nothing unread turns it into a reset.
    ::shutdown(client, SHUT_WR);
    ::close(client);
  }
}

}  // namespace parlino::testing
