#pragma once
// SIGTERM, SIGHUP and SIGINT, handed to the user-interface thread. The signal handler only
// writes the signal's number to a pipe; the event loop reads the pipe and runs the callback,
// where anything may be done safely.
#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace parlino::platform::linux_impl {

class TerminationSignals {
 public:
  // One object at a time: the handlers are the process's.
  explicit TerminationSignals(std::function<void(int signal)> received);
  // Puts the previous handlers back.
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

 private:
  void ReadPipe();

  std::function<void(int)> received_;
  int pipe_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction previous_[std::size(kSignals)] = {};
};

}  // namespace parlino::platform::linux_impl
