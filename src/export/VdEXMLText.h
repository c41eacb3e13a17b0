// Text routines of the XML package writer: names made fit for attributes
// and elements, zero-padded numbers, Base64 and plain text replacement.
//
// Every routine works on bytes. The Append forms write into a caller's
// buffer (appending to what it holds), so the writer can build a cell text
// without a string per call.
#pragma once

#include <string>
#include <string_view>

namespace VdExport {

// Every blank, '%', '(' and ')' becomes '_'; nothing else changes
// ("Unit Price (%)" gives "Unit_Price____").
std::string SanitizeXMLName(std::string_view s);

// n in decimal with '0' in front until the text is at least width
// characters long (PadNumber(7, 2) is "07"; a negative n keeps its sign in
// front of the zeros: PadNumber(-7, 3) is "-07").
std::string PadNumber(long long n, int width);
void AppendPadNumber(std::string& out, long long n, int width);

// The standard Base64 encoding of the bytes of s ("=" padding, no line
// breaks).
std::string Base64Encode(std::string_view s);
void AppendBase64(std::string& out, std::string_view s);

// Every occurrence of oldText in s replaced by newText, case-sensitive,
// scanning left to right without rescanning inserted text. An empty
// oldText, or one equal to newText, leaves s unchanged.
std::string ReplaceAllText(std::string_view s, std::string_view oldText, std::string_view newText);

}  // namespace VdExport
