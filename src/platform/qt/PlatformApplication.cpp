#include "platform/qt/PlatformApplication.h"

#include <QApplication>
#include <cstdlib>

#include "platform/qt/QtPlatform.h"

namespace Vdei {

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool DisplayAvailable() {
  return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

bool WantsWindows(bool headless) {
  return !headless && DisplayAvailable();
}

PlatformApplication::PlatformApplication(int& argc, char** argv, bool headless)
    : hasWindows_(WantsWindows(headless)) {
  if (hasWindows_) {
    app_ = std::make_unique<QApplication>(argc, argv);
    SetPlatform(std::make_unique<QtPlatform>());
  } else {
    app_ = std::make_unique<QCoreApplication>(argc, argv);
    SetPlatform(nullptr);
  }
}

PlatformApplication::~PlatformApplication() {
  SetPlatform(nullptr);
}

int PlatformApplication::Exec() {
  return QCoreApplication::exec();
}

}  // namespace Vdei
