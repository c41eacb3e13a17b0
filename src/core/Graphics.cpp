#include "core/Graphics.h"

#include <cmath>

#include "core/Properties.h"

namespace Vdei {

namespace {

constexpr int32_t Rgb(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

// The classic Windows defaults of the system colours, by index; cl3DLight
// takes the lighter shade of later Windows versions.
constexpr int32_t kSystemColors[] = {
    Rgb(0xC8, 0xC8, 0xC8),  //  0 clScrollBar
    Rgb(0x00, 0x80, 0x80),  //  1 clBackground
    Rgb(0x00, 0x00, 0x80),  //  2 clActiveCaption
    Rgb(0x80, 0x80, 0x80),  //  3 clInactiveCaption
    Rgb(0xC0, 0xC0, 0xC0),  //  4 clMenu
    Rgb(0xFF, 0xFF, 0xFF),  //  5 clWindow
    Rgb(0x00, 0x00, 0x00),  //  6 clWindowFrame
    Rgb(0x00, 0x00, 0x00),  //  7 clMenuText
    Rgb(0x00, 0x00, 0x00),  //  8 clWindowText
    Rgb(0xFF, 0xFF, 0xFF),  //  9 clCaptionText
    Rgb(0xC0, 0xC0, 0xC0),  // 10 clActiveBorder
    Rgb(0xC0, 0xC0, 0xC0),  // 11 clInactiveBorder
    Rgb(0x80, 0x80, 0x80),  // 12 clAppWorkSpace
    Rgb(0x00, 0x00, 0x80),  // 13 clHighlight
    Rgb(0xFF, 0xFF, 0xFF),  // 14 clHighlightText
    Rgb(0xC0, 0xC0, 0xC0),  // 15 clBtnFace
    Rgb(0x80, 0x80, 0x80),  // 16 clBtnShadow
    Rgb(0x80, 0x80, 0x80),  // 17 clGrayText
    Rgb(0x00, 0x00, 0x00),  // 18 clBtnText
    Rgb(0xC0, 0xC0, 0xC0),  // 19 clInactiveCaptionText
    Rgb(0xFF, 0xFF, 0xFF),  // 20 clBtnHighlight
    Rgb(0x00, 0x00, 0x00),  // 21 cl3DDkShadow
    Rgb(0xE3, 0xE3, 0xE3),  // 22 cl3DLight
    Rgb(0x00, 0x00, 0x00),  // 23 clInfoText
    Rgb(0xFF, 0xFF, 0xE1),  // 24 clInfoBk
    Rgb(0x00, 0x00, 0x00),  // 25 (unused)
    Rgb(0x00, 0x00, 0xFF),  // 26 clHotLight
    Rgb(0x10, 0x84, 0xD0),  // 27 clGradientActiveCaption
    Rgb(0xB5, 0xB5, 0xB5),  // 28 clGradientInactiveCaption
    Rgb(0x00, 0x00, 0x80),  // 29 clMenuHighlight
    Rgb(0xC0, 0xC0, 0xC0),  // 30 clMenuBar
};

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;

int RoundedRatio(int value, int numerator, int denominator) {
  return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

int32_t ColorToRGB(TColor color) {
  if (color >= 0) return color;
  unsigned index = static_cast<unsigned>(color) & 0xFF;
  return index < std::size(kSystemColors) ? kSystemColors[index] : clBlack;
}

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TFont, TPersistent>("TFont")
          .Integer("Color", &TFont::Color, &TFont::SetColor, Variant(clWindowText))
          .Integer("Height", &TFont::Height, &TFont::SetHeight, Variant(-11))
          .String(
              "Name", &TFont::Name, [](TFont& f, std::string name) { f.SetName(std::move(name)); },
              Variant("MS Sans Serif"))
          .Integer("Size", &TFont::Size, &TFont::SetSize, Variant(8))
          .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style,
               &TFont::SetStyle, Variant(0))
          .Build();
  return info;
}

int TFont::Height() const {
  return -RoundedRatio(size_, kScreenDpi, kPointsPerInch);
}

void TFont::SetHeight(int height) {
  size_ = RoundedRatio(height < 0 ? -height : height, kPointsPerInch, kScreenDpi);
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && size_ == other.size_ && color_ == other.color_ &&
         style_ == other.style_;
}

void TFont::Assign(const TPersistent& source) {
  if (const auto* font = dynamic_cast<const TFont*>(&source)) {
    *this = *font;
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace Vdei
