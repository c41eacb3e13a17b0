// The application object: the component that owns a program's forms, so
// that a component can be found by the name of its form and its own name
// ("frmCliMain.ClientDataSet1"), as the import's LOOKUP does.
//
// It lives for the whole process. Forms created with it as owner are
// destroyed with it at exit unless the program destroys them first (which
// programs do before their platform goes: a form may be destroyed directly
// at any time, its owner forgets it).
#pragma once

#include "core/Component.h"

namespace Vdei {

class TApplication : public TComponent {
 public:
  VDEI_CLASS(TApplication)
  TApplication() : TComponent(nullptr) {}
};

TApplication& Application();

}  // namespace Vdei
