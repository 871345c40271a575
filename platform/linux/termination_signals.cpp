#include "platform/linux/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

// The pipe's write end, for the handler, which can reach nothing else.
volatile std::sig_atomic_t writeEnd = -1;

void Handle(int signal) {
  const int savedErrno = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds a signal the loop has yet to read: dropping this one loses nothing.
  [[maybe_unused]] const ssize_t written = write(writeEnd, &number, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int signal)> received)
    : received_(std::move(received)) {
  if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw PlatformError(std::string("Cannot make a pipe for signals: ") + std::strerror(errno),
                        errno);
  }
  writeEnd = pipe_[1];
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadPipe(); });

  struct sigaction action = {};
  action.sa_handler = &Handle;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // other threads' calls go on undisturbed
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &action, &previous_[i]);
  }
}

TerminationSignals::~TerminationSignals() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &previous_[i], nullptr);
  }
  writeEnd = -1;
  notifier_.reset();
  close(pipe_[0]);
  close(pipe_[1]);
}

void TerminationSignals::ReadPipe() {
  unsigned char numbers[16];
  ssize_t count;
  while ((count = read(pipe_[0], numbers, sizeof numbers)) > 0) {
    for (ssize_t i = 0; i < count; ++i) received_(numbers[i]);
  }
}

}  // namespace parlino::platform::linux_impl
