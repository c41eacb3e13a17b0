// Text routines of the export writers: entity escaping of markup text, the
// OEM conversion of cell texts, and the names of image files written beside
// a document.
//
// EscapeText replaces line feed, carriage return, '"', '&', '\'', '<', '>',
// '|' and the Windows-1252 bytes 153, 169, 176, 177 and 182 by "&car;",
// "&ret;", "&quot;", "&amp;", "&apos;", "&lt;", "&gt;", "&brvbar;",
// "&trade;", "&copy;", "&deg;", "&plusmn;" and "&para;"; every other byte
// is copied. "&car;" and "&ret;" are this system's own names for the two
// line-break characters; the import turns them back.
#pragma once

#include <string>
#include <string_view>

namespace VdExport {

std::string EscapeText(std::string_view text);
// The same into out (its content replaced), so a caller can reuse one
// buffer for every cell.
void EscapeTextTo(std::string_view text, std::string& out);

// With flag, the ANSI-to-OEM conversion of text (same length); without
// it, an empty text.
std::string ToOemText(bool flag, std::string_view text);

// The kind of a picture, told by its first bytes: a bitmap ("BM"), an
// enhanced metafile, a (placeable or plain) metafile, an icon; anything
// else is pkOther.
enum TVdEPictureKind { pkBitmap, pkEnhancedMetafile, pkMetafile, pkIcon, pkOther };
TVdEPictureKind PictureKind(std::string_view picture);

// The file name for image number of a document: the document's folder
// (with its trailing separator) + "img" + number; without a document name
// (empty), a name not yet taken in the temporary folder with the prefix
// "VDE". Then ".bmp", ".emf", ".wmf" or ".ico" by the picture's kind
// (".bmp" for any other kind). The picture bytes are only looked at.
std::string MakeImageFileName(std::string_view documentFileName, int number,
                              std::string_view picture);

}  // namespace VdExport
