// Entity decoding of the cell texts of XML packages and HTML pages, and the
// conversion of texts from a UTF-8 source to the active code page.
//
// DecodeEntities makes one left-to-right pass; each entity is decoded once
// ("&amp;lt;" gives "&lt;"). It inverts the export's EscapeText exactly:
// &car; &ret; &quot; &amp; &apos; &lt; &gt; &brvbar; &trade; &copy; &deg;
// &plusmn; &para; give back the bytes EscapeText replaced. "&nbsp" with or
// without its ";" decodes to nothing. Numeric references (&#10; &#x0A;)
// give the active code page's byte for the character ('?' when it has none).
// An entity at the end of the text without its ";" is decoded too; an
// unknown entity is kept as it stands and decoding goes on after it.
// Entity names are case-sensitive.
#pragma once

#include <string>
#include <string_view>

namespace VdImport {

// The decoded text: text itself when it holds no '&' (no copy), else a view
// of buffer, which receives the decoded text.
std::string_view DecodeEntities(std::string_view text, std::string& buffer);
std::string DecodeEntities(std::string_view text);

// True for the names of UTF-8 in an XML declaration or a page's charset
// ("UTF-8", "utf8", any case).
bool IsUtf8Encoding(std::string_view name);

// A cell text as a field receives it: when fromUtf8, converted from UTF-8
// to the active code page first (each character the code page lacks
// becomes '?' and adds 1 to replaced), then entity-decoded. The result is a
// view of raw when nothing changes, else of buffer.
std::string_view DecodeCellText(std::string_view raw, bool fromUtf8, std::string& buffer,
                                int& replaced);

}  // namespace VdImport
