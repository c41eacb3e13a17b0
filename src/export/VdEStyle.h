// TVdExportStyle: the alternating row colours of an export (published as
// ExportStyle).
//
// A new style is esNormal with both colours 0 (black). Setting Style to a
// different value takes both colours from the style table (StyleColors);
// setting the value it already has changes nothing, so colours set by hand
// after a style stay. Assign sets Style through that rule, then copies both
// colours. The export component applies the colours (GetRowColor) only when
// Style is not esNormal.
#pragma once

#include "core/Graphics.h"
#include "core/Object.h"

namespace VdExport {

enum TVdEStyle {
  esNormal,
  esPriceList,
  esMSMoney,
  esBrick,
  esDesert,
  esEggplant,
  esLilac,
  esMaple,
  esMarine,
  esRose,
  esSpruce,
  esWheat
};

struct TVdEStyleColors {
  Vdei::TColor OddColor;
  Vdei::TColor EvenColor;
};

// The colours of a style (esNormal: clWindow twice).
TVdEStyleColors StyleColors(TVdEStyle style);

class TVdExportStyle : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdExportStyle)
  TVdExportStyle() = default;

  TVdEStyle Style() const { return style_; }
  void SetStyle(TVdEStyle value);
  Vdei::TColor OddColor() const { return oddColor_; }
  void SetOddColor(Vdei::TColor value) { oddColor_ = value; }
  Vdei::TColor EvenColor() const { return evenColor_; }
  void SetEvenColor(Vdei::TColor value) { evenColor_ = value; }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  TVdEStyle style_ = esNormal;
  Vdei::TColor oddColor_ = Vdei::clBlack;
  Vdei::TColor evenColor_ = Vdei::clBlack;
};

}  // namespace VdExport
