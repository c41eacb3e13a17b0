// Markup steps shared by the XML and HTML parse steps: blanks, tag heads,
// the end of a tag (quoted values may hold ">"), comments and CDATA
// sections stepped over, and the end of an element's content.
//
// Positions are byte offsets into the scanned text; no step reads past its
// end, and every step moves forward, so a scan over any text ends.
#pragma once

#include <string_view>

namespace VdImport {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// At a "<!--" or "<![CDATA[" at pos: pos moved after its end ("-->",
// "]]>" or the end of the text) and true; else false.
bool SkipCommentOrCData(std::string_view text, size_t& pos);

// The position of the ">" that closes the tag whose rest starts at pos
// (">" inside a quoted attribute value does not count); npos when none.
size_t TagClose(std::string_view text, size_t pos);

// The end of the name of a tag head starting at pos (on its "<"): the name
// ends at a blank, ">", or a "/" that is not right after "<".
size_t TagNameEnd(std::string_view text, size_t pos);

// True when the tag head equals "<" + name or "</" + name (closing),
// without regard to case.
bool IsTag(std::string_view head, std::string_view name);
bool IsClosingTag(std::string_view head, std::string_view name);

// Given pos just after the ">" of an element's opening tag: the end of its
// content (the "<" of its own closing tag, or the end of the text) in
// contentEnd, and the position after that closing tag as result. Nested
// elements of any name are counted; self-closing ones, comments, CDATA
// sections and processing instructions do not open any.
size_t ElementEnd(std::string_view text, size_t pos, size_t& contentEnd);

}  // namespace VdImport
