// Colours, fonts and alignment: the small graphic types that export
// columns and cells carry.
//
// TColor is 0x00BBGGRR (red in the low byte); a value with the high bit set
// names a system colour by its index in the low byte. ColorToRGB resolves
// system colours to the classic defaults (clWindow #FFFFFF, cl3DLight
// #E3E3E3, clWindowText #000000, clBtnFace #C0C0C0, ...).
#pragma once

#include <cstdint>
#include <string>

#include "core/Object.h"

namespace Vdei {

using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clOlive = 0x008080;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0x80000000u | unsigned(index));
}
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// The RGB value (0x00BBGGRR) of a colour, system colours resolved (an
// unknown system colour index gives clBlack); other values are returned
// as they are.
int32_t ColorToRGB(TColor color);

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint8_t;  // bit n = TFontStyle n
constexpr TFontStyles FontStyleBit(TFontStyle s) {
  return static_cast<TFontStyles>(1u << s);
}

// A font: name, size in points, colour and style. The default is
// "MS Sans Serif", 8 points (height -11 at 96 dots per inch), clWindowText,
// no style. Height and Size are two views of one value:
// Height = -round(Size * 96 / 72).
class TFont : public TPersistent {
 public:
  VDEI_CLASS(TFont)
  TFont() = default;
  TFont(const TFont& other) = default;
  TFont& operator=(const TFont& other) = default;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  int Size() const { return size_; }
  void SetSize(int points) { size_ = points; }
  int Height() const;
  void SetHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style) { style_ = style; }
  bool HasStyle(TFontStyle s) const { return (style_ & FontStyleBit(s)) != 0; }
  void AddStyle(TFontStyle s) { style_ |= FontStyleBit(s); }

  bool operator==(const TFont& other) const;
  void Assign(const TPersistent& source) override;  // from another TFont

 private:
  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
};

}  // namespace Vdei
