#include "export/VdEStyle.h"

#include <array>

#include "core/Properties.h"

namespace VdExport {

using Vdei::cl3DLight;
using Vdei::clWindow;
using Vdei::TClassInfo;
using Vdei::TPersistent;

namespace {

// Indexed by TVdEStyle.
constexpr std::array<TVdEStyleColors, 12> kStyleTable = {{
    {clWindow, clWindow},      // esNormal
    {cl3DLight, clWindow},     // esPriceList
    {0x00FFFBF0, clWindow},    // esMSMoney
    {0x00CFDFDF, 0x00A0BFBF},  // esBrick
    {0x00B8CCD8, 0x00688CA0},  // esDesert
    {0x00A8B090, 0x00788058},  // esEggplant
    {0x00D8A8B0, 0x00B05058},  // esLilac
    {0x00A8D8EB, 0x0048A8C8},  // esMaple
    {0x00B8C088, 0x00889048},  // esMarine
    {0x00B8B0D0, 0x007060A0},  // esRose
    {0x00A8C8A0, 0x00689858},  // esSpruce
    {0x00A0E0E0, 0x0040BCC0},  // esWheat
}};

}  // namespace

TVdEStyleColors StyleColors(TVdEStyle style) {
  const auto index = static_cast<size_t>(style);
  return index < kStyleTable.size() ? kStyleTable[index] : kStyleTable[esNormal];
}

const TClassInfo& TVdExportStyle::StaticClassInfo() {
  using S = TVdExportStyle;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<S, TPersistent>("TVdExportStyle")
          .Enum("Style",
                {"esNormal", "esPriceList", "esMSMoney", "esBrick", "esDesert", "esEggplant",
                 "esLilac", "esMaple", "esMarine", "esRose", "esSpruce", "esWheat"},
                &S::Style, &S::SetStyle, Vdei::Variant(int(esNormal)))
          .Integer("OddColor", &S::OddColor, &S::SetOddColor)
          .Integer("EvenColor", &S::EvenColor, &S::SetEvenColor)
          .Build();
  return info;
}

void TVdExportStyle::SetStyle(TVdEStyle value) {
  if (value == style_) return;
  style_ = value;
  const TVdEStyleColors colors = StyleColors(value);
  oddColor_ = colors.OddColor;
  evenColor_ = colors.EvenColor;
}

void TVdExportStyle::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdExportStyle*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  SetStyle(other->style_);
  oddColor_ = other->oddColor_;
  evenColor_ = other->evenColor_;
}

}  // namespace VdExport
