// The start of a program: its Qt application object and the platform
// services that go with it, in one object that lives as long as main.
//
//   int main(int argc, char** argv) {
//     Vdei::PlatformApplication app(argc, argv, /*headless=*/false);
//     ... create the main window ...
//     return app.Exec();
//   }
//
// With windows (a display is available and headless was not asked for) it
// creates a QApplication and installs QtPlatform; otherwise it creates a
// QCoreApplication (event loop and sockets, no windows) and the headless
// services stay. Its destructor installs the headless services again
// before the application object goes, so no service outlives Qt.
// Only one may exist at a time, as only one Qt application object may.
// As with any QApplication, a display that is named but cannot be reached
// (or a QT_QPA_PLATFORM plugin that is missing) ends the program in Qt.
#pragma once

#include <memory>

#include <QCoreApplication>

namespace Vdei {

// A display is available: QT_QPA_PLATFORM is set (offscreen counts), or
// DISPLAY or WAYLAND_DISPLAY is not empty.
bool DisplayAvailable();
// Whether a PlatformApplication created with headless would have windows.
bool WantsWindows(bool headless);

class PlatformApplication {
 public:
  PlatformApplication(int& argc, char** argv, bool headless);
  ~PlatformApplication();
  PlatformApplication(const PlatformApplication&) = delete;
  PlatformApplication& operator=(const PlatformApplication&) = delete;

  bool HasWindows() const { return hasWindows_; }
  QCoreApplication& App() const { return *app_; }
  // Runs the event loop until the application quits; its exit code.
  int Exec();

 private:
  bool hasWindows_;
  std::unique_ptr<QCoreApplication> app_;
};

}  // namespace Vdei
