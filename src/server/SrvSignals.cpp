#include "server/SrvSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

#include "core/Exception.h"

namespace Vdei {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

// The pipe's writing end, for the handler; -1 while no TQuitOnSignals lives.
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void WriteSignalToPipe(int signal) {
  const int fd = signalPipe;
  if (fd < 0) return;
  const unsigned char number = static_cast<unsigned char>(signal);
  const int saved = errno;
  [[maybe_unused]] ssize_t written = ::write(fd, &number, 1);
  errno = saved;
}

void SetAction(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

TQuitOnSignals::TQuitOnSignals(std::function<void()> action) : action_(std::move(action)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw Exception("Cannot create the signal pipe");
  readEnd_ = OwnFd(fds[0]);
  writeEnd_ = OwnFd(fds[1]);
  notifier_ = std::make_unique<QSocketNotifier>(fds[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { Drain(); });
  signalPipe = fds[1];
  for (int signal : kSignals) SetAction(signal, WriteSignalToPipe);
}

TQuitOnSignals::~TQuitOnSignals() {
  for (int signal : kSignals) SetAction(signal, SIG_DFL);
  signalPipe = -1;
  notifier_.reset();
}

void TQuitOnSignals::Drain() {
  unsigned char number;
  while (::read(FdOf(readEnd_), &number, 1) == 1) action_();
}

}  // namespace Vdei
