// The parse step of the HTML table reader: the whole page text in, its
// columns and table rows out, without components.
//
// Every TR of every table is a row, counted from 1 across all tables of the
// page. A row is kept as a normalised text: each cell as "<td>" or "<th>",
// the cell's text with its tags dropped (inline tags keep the blanks around
// them; leading blanks of a cell are dropped, trailing ones stay), and
// "</td>" or "</th>". All rows live in one arena string.
// A cell ends at its closing tag or, unclosed, at the next TD, TH, TR, /TR
// or /TABLE. A table inside a cell stays in that cell: its text joins the
// cell's text and its tags end neither the cell nor the row. Tag names end
// at any blank and are compared without regard to case.
//
// Cell texts are raw: entities are decoded by the caller (DecodeEntities).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace VdImport {

// One column: Key "Field1", "Field2"... by position; Name the header
// cell's entity-decoded text (an empty header is named by its key, a
// repeated one gets "_1", "_2"... appended), or the key without a header.
struct HtmlColumn {
  std::string Key;
  std::string Name;
};

struct HtmlScanResult {
  std::vector<HtmlColumn> Columns;
  std::string HeaderRow;  // normalised text of the header row, if one was read
  std::string Charset;    // the page's declared charset, empty when none
  bool Utf8 = false;      // the declared charset is UTF-8
  int RowCount = 0;       // every row seen, stored or not

  size_t StoredRows() const { return rowSpans_.size(); }
  std::string_view Row(size_t index) const {
    return std::string_view(arena_).substr(rowSpans_[index].first, rowSpans_[index].second);
  }

 private:
  friend class HtmlScanner;
  std::string arena_;
  std::vector<std::pair<size_t, size_t>> rowSpans_;  // offset and length in arena_
};

// Scans text. rowFieldNames > 0 names the row that holds the column names;
// 0 or less: no header row, the columns come from the first row. Rows with
// rowFirst <= number <= rowLast are stored (a header row in that range
// too).
HtmlScanResult ScanHTMLText(std::string_view text, int rowFieldNames = 1, int rowFirst = 1,
                            int rowLast = 2147483647);

// The head of the next tag from pos ("<td", "</TR", "<br/"), with pos left
// after the tag's ">". Comments are stepped over; a "<" that opens no tag
// ("a < b") is passed. Empty at the end of the text.
std::string_view ReadNextHTMLTag(std::string_view text, size_t& pos);

// Value mode: the raw text of cell n (1-based) of a normalised row;
// std::nullopt when the row has no such cell or the cell is empty (no text,
// only blanks or non-breaking spaces).
std::optional<std::string_view> GetHTMLCell(std::string_view rowText, int n);

// List mode: the raw texts of all cells of a normalised row, in order.
void GetHTMLCells(std::string_view rowText, std::vector<std::string_view>& cells);

// True for a cell text that reads as no value (see GetHTMLCell).
bool IsEmptyHTMLCell(std::string_view cellText);

}  // namespace VdImport
