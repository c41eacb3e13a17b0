#include "export/VdEPageSetup.h"

#include "core/Properties.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::TPersistent;

const TClassInfo& TVdEPageSetup::StaticClassInfo() {
  using P = TVdEPageSetup;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<P, TPersistent>("TVdEPageSetup")
          .Enum("Measure", {"emPoint", "emInch", "emCentimeters", "emPicas"}, &P::Measure,
                &P::SetMeasure, Vdei::Variant(int(emPoint)))
          .Boolean("UseDefault", &P::UseDefault, &P::SetUseDefault, Vdei::Variant(true))
          .Float("TopMargin", &P::TopMargin, &P::SetTopMargin)
          .Float("BottomMargin", &P::BottomMargin, &P::SetBottomMargin)
          .Float("LeftMargin", &P::LeftMargin, &P::SetLeftMargin)
          .Float("RightMargin", &P::RightMargin, &P::SetRightMargin)
          .Float("TableWidth", &P::TableWidth, &P::SetTableWidth)
          .Enum("Orientation", {"emDefault", "emPortrait", "emLandscape"}, &P::Orientation,
                &P::SetOrientation, Vdei::Variant(int(emDefault)))
          .Build();
  return info;
}

void TVdEPageSetup::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdEPageSetup*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other != this) *this = *other;
}

}  // namespace VdExport
