#include "export/VdEHTMLText.h"

namespace VdExport {

using Vdei::TFont;

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, uint32_t byte) {
  out += kHexDigits[(byte >> 4) & 0xF];
  out += kHexDigits[byte & 0xF];
}

}  // namespace

void AppendHTMLColor(std::string& out, Vdei::TColor color, bool isBackground) {
  // Bits above the 24 of an RGB value (clNone, clDefault) are no colour.
  const uint32_t rgb = static_cast<uint32_t>(Vdei::ColorToRGB(color)) & 0xFFFFFF;
  if (rgb == 0) return;
  if (isBackground) out += "bg";
  out += "color=\"#";
  AppendHexByte(out, rgb);
  AppendHexByte(out, rgb >> 8);
  AppendHexByte(out, rgb >> 16);
  out += '"';
}

std::string HTMLColor(Vdei::TColor color, bool isBackground) {
  std::string out;
  AppendHTMLColor(out, color, isBackground);
  return out;
}

std::string_view HTMLFontSize(int points) {
  if (points == 6 || points == 7) return "1";
  if (points == 8 || points == 9) return "2";
  if (points >= 14 && points <= 17) return "4";
  if (points >= 18 && points <= 23) return "5";
  if (points >= 24 && points <= 35) return "6";
  return "-1";
}

void AppendFontStart(std::string& out, const TFont& font) {
  out += "<font ";
  if (font.Name() != "MS Sans Serif") {
    out += "face=\"";
    out += font.Name();
    out += "\" ";
  }
  const std::string_view size = HTMLFontSize(font.Size());
  if (size != "-1") {
    out += "size=";
    out += size;
  }
  const size_t beforeColor = out.size();
  out += ' ';
  AppendHTMLColor(out, font.Color(), false);
  if (out.size() == beforeColor + 1) out.resize(beforeColor);  // black: no colour, no blank
  out += '>';
  if (font.HasStyle(Vdei::fsBold)) out += "<b>";
  if (font.HasStyle(Vdei::fsItalic)) out += "<i>";
  if (font.HasStyle(Vdei::fsUnderline)) out += "<u>";
}

void AppendFontEnd(std::string& out, const TFont& font) {
  if (font.HasStyle(Vdei::fsUnderline)) out += "</u>";
  if (font.HasStyle(Vdei::fsItalic)) out += "</i>";
  if (font.HasStyle(Vdei::fsBold)) out += "</b>";
  out += "</font>";
}

std::string FontMarkup(std::string_view text, const TFont* font, bool colorsFonts) {
  if (font == nullptr || !colorsFonts) return std::string(text);
  std::string out;
  AppendFontStart(out, *font);
  out += text;
  AppendFontEnd(out, *font);
  return out;
}

std::string_view AlignmentAttribute(Vdei::TAlignment alignment) {
  switch (alignment) {
    case Vdei::taRightJustify:
      return " align=\"right\"";
    case Vdei::taCenter:
      return " align=\"center\"";
    default:
      return {};
  }
}

}  // namespace VdExport
