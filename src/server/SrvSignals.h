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
#include <memory>

#include "platform/UniqueFd.h"

class QSocketNotifier;

namespace Vdei {

class TQuitOnSignals {
 public:
  TQuitOnSignals();
  ~TQuitOnSignals();
  TQuitOnSignals(const TQuitOnSignals&) = delete;
  TQuitOnSignals& operator=(const TQuitOnSignals&) = delete;

 private:
  void Drain();

  UniqueFd readEnd_;
  UniqueFd writeEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace Vdei
