// Placing controls on a form in window tests:
//
//   auto* status = VdeiTest::AddControl<Vdei::TLabel>(form, "lblStatus", 8, 56, 339, 13);
#pragma once

#include "platform/Forms.h"

namespace VdeiTest {

// A new control of class T on form (which owns it), named and placed.
template <class T>
T* AddControl(Vdei::TForm& form, const char* name, int left, int top, int width, int height) {
  auto* control = new T(&form);
  control->SetName(name);
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace VdeiTest
