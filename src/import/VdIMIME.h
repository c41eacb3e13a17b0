// VdIMIME: decoding of the Base64 texts in which packages carry binary
// values (blob fields, "[CDATA[" cells).
//
// DecodeBase64 reads the standard alphabet (A-Z, a-z, 0-9, "+", "/") with
// "=" as the fill character, in groups of four characters:
//   - a group that starts with "=" yields nothing;
//   - "=" in the third place yields one byte, in the fourth place two;
//   - otherwise a group yields three bytes.
// Blanks, tabs and line breaks are skipped wherever they stand, so wrapped
// lines decode like one line. An unpadded tail of two or three characters
// decodes as if it were padded. Any other character outside the alphabet,
// a "=" in the second place of a group, or a tail of a single character
// raises EConvertError: a corrupt text never decodes silently.
#pragma once

#include <string>
#include <string_view>

namespace VdImport {

std::string DecodeBase64(std::string_view text);

}  // namespace VdImport
