#include "platform/Application.h"

#include "core/Properties.h"

namespace Vdei {

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TApplication, TComponent>("TApplication").Build();
  return info;
}

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace Vdei
