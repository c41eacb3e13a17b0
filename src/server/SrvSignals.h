// TQuitOnSignals: while one lives, SIGINT and SIGTERM call its action on
// the Qt event loop's thread instead of ending the process, so the program
// can leave exec() and shut down the normal way: windows and sockets
// closed, exit status 0. The default action ends the loop
// (QCoreApplication::quit); each signal calls the action once.
//
// The signal handler only writes the signal's number into a pipe; a
// QSocketNotifier on the other end calls the action. Needs a QCoreApplication; only one may exist
// at a time. Its destructor puts the default actions back.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <functional>
#include <memory>

#include "platform/UniqueFd.h"

class QSocketNotifier;

namespace Vdei {

class TQuitOnSignals {
 public:
  explicit TQuitOnSignals(std::function<void()> action = QCoreApplication::quit);
  ~TQuitOnSignals();
  TQuitOnSignals(const TQuitOnSignals&) = delete;
  TQuitOnSignals& operator=(const TQuitOnSignals&) = delete;

 private:
  void Drain();

  std::function<void()> action_;
  UniqueFd readEnd_;
  UniqueFd writeEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace Vdei
