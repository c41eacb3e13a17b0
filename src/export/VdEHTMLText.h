// The small markup texts of the HTML page writer: colour attributes, font
// sizes, font markup around a cell text, and alignment attributes.
//
// HTMLColor(color, isBackground): the colour's RGB value (system colours
// resolved) as `color="#RRGGBB"`, with "bg" in front for a background;
// black gives an empty text, so black is never written.
// HTMLFontSize(points): "1" for 6-7, "2" for 8-9, "4" for 14-17, "5" for
// 18-23, "6" for 24-35, and "-1" (no size) for every other value.
// FontMarkup(text, font, colorsFonts): text unchanged without a font or
// without colorsFonts; otherwise text wrapped in <u>, <i>, <b> (bold
// outermost) as the font's style asks, inside a <font> element that names
// the face unless it is "MS Sans Serif", the size unless HTMLFontSize gives
// "-1" and the colour unless it is black. The default font gives
// `<font size=2>text</font>`.
// AlignmentAttribute: nothing for taLeftJustify, ` align="right"` and
// ` align="center"` (one blank in front) for the others.
//
// The Append forms write into a caller's buffer, so a writer can build a
// cell without texts of its own.
#pragma once

#include <string>
#include <string_view>

#include "core/Graphics.h"

namespace VdExport {

std::string HTMLColor(Vdei::TColor color, bool isBackground);
void AppendHTMLColor(std::string& out, Vdei::TColor color, bool isBackground);

std::string_view HTMLFontSize(int points);

std::string FontMarkup(std::string_view text, const Vdei::TFont* font, bool colorsFonts);
// What FontMarkup puts before and after the text for font.
void AppendFontStart(std::string& out, const Vdei::TFont& font);
void AppendFontEnd(std::string& out, const Vdei::TFont& font);

std::string_view AlignmentAttribute(Vdei::TAlignment alignment);

}  // namespace VdExport
