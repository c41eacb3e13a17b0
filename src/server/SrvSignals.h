// TQuitOnSignals: while one lives, SIGINT and SIGTERM end the Qt event loop
// (QCoreApplication::quit) instead of the process, so the program leaves
// exec() and shuts down the normal way: windows and sockets closed, exit
// status 0.
//
// The signal handler only writes the signal's number into a pipe; a
// QSocketNotifier on the other end quits the loop on the event loop's
// thread. Needs a QCoreApplication; only one may exist at a time. Its
// destructor puts the default actions back.
#pragma once

#include <QObject>
#include <cstddef>
#include <memory>

class QSocketNotifier;

namespace Vdei {

// One end of a pipe, owned by a std::unique_ptr (-1: none).
struct PipeEndCloser {
  struct pointer {
    int fd = -1;
    pointer() = default;
    pointer(std::nullptr_t) {}
    explicit pointer(int value) : fd(value) {}
    explicit operator bool() const { return fd >= 0; }
    friend bool operator==(pointer a, pointer b) { return a.fd == b.fd; }
  };
  void operator()(pointer p) const;
};
using UniquePipeEnd = std::unique_ptr<int, PipeEndCloser>;

class TQuitOnSignals {
 public:
  TQuitOnSignals();
  ~TQuitOnSignals();
  TQuitOnSignals(const TQuitOnSignals&) = delete;
  TQuitOnSignals& operator=(const TQuitOnSignals&) = delete;

 private:
  void Drain();

  UniquePipeEnd readEnd_;
  UniquePipeEnd writeEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace Vdei
