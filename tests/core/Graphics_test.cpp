#include "core/Graphics.h"

#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {
namespace {

TEST(Graphics, SystemColoursResolveToTheClassicDefaults) {
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
  EXPECT_EQ(ColorToRGB(cl3DLight), 0xE3E3E3);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
  EXPECT_EQ(ColorToRGB(clHighlight), 0x800000);  // navy, held as 0x00BBGGRR
  EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
  EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(clSilver), 12632256);
}

TEST(Graphics, FontSizeAndHeightAreOneValue) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Color(), clWindowText);
  font.SetHeight(-13);
  EXPECT_EQ(font.Size(), 10);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
  font.AddStyle(fsItalic);
  EXPECT_TRUE(font.HasStyle(fsItalic));
  EXPECT_FALSE(font.HasStyle(fsBold));
  TFont copy;
  EXPECT_FALSE(copy == font);
  copy.Assign(font);
  EXPECT_TRUE(copy == font);
  SetPropValue(copy, "Size", Variant(14));
  EXPECT_EQ(GetPropValue(copy, "height").AsInteger(), -19);
  EXPECT_EQ(GetPropValue(copy, "Style").AsInteger(), FontStyleBit(fsItalic));
  TPersistent other;
  EXPECT_THROW(copy.Assign(other), EConvertError);
}

}  // namespace
}  // namespace Vdei
