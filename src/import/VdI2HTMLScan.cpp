#include "import/VdI2HTMLScan.h"

#include "core/StrUtils.h"
#include "import/VdIEntities.h"
#include "import/VdIMarkup.h"

namespace VdImport {

namespace {

bool OpensTag(std::string_view text, size_t pos) {
  if (pos + 1 >= text.size()) return false;
  const char c = text[pos + 1];
  return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '/' || c == '!' || c == '?';
}

// The next "<" from pos that opens a tag or comment; the end when none.
size_t NextTagStart(std::string_view text, size_t pos) {
  while ((pos = text.find('<', pos)) != std::string_view::npos && !OpensTag(text, pos)) ++pos;
  return pos == std::string_view::npos ? text.size() : pos;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The charset named in a META tag's attributes ("charset=utf-8", with or
// without quotes); empty when none.
std::string_view CharsetOf(std::string_view attributes) {
  const std::string upper = Vdei::UpperCase(attributes);
  size_t at = upper.find("CHARSET=");
  if (at == std::string::npos) return {};
  at += 8;
  if (at < attributes.size() && (attributes[at] == '"' || attributes[at] == '\'')) ++at;
  size_t end = at;
  while (end < attributes.size() && !IsBlank(attributes[end]) &&
         std::string_view("\"';>/").find(attributes[end]) == std::string_view::npos) {
    ++end;
  }
  return attributes.substr(at, end - at);
}

// The tags the scan acts on; every other tag is tagOther.
enum HtmlTag {
  tagOther,
  tagTable,
  tagTableEnd,
  tagTr,
  tagTrEnd,
  tagTd,
  tagTdEnd,
  tagTh,
  tagThEnd,
  tagMeta
};

HtmlTag Classify(std::string_view name) {
  const bool closing = !name.empty() && name[0] == '/';
  if (closing) name.remove_prefix(1);
  auto pick = [closing](HtmlTag open, HtmlTag close) { return closing ? close : open; };
  if (name.size() == 2 && (name[0] | 0x20) == 't') {
    switch (name[1] | 0x20) {
      case 'r':
        return pick(tagTr, tagTrEnd);
      case 'd':
        return pick(tagTd, tagTdEnd);
      case 'h':
        return pick(tagTh, tagThEnd);
      default:
        return tagOther;
    }
  }
  if (Vdei::SameText(name, "table")) return pick(tagTable, tagTableEnd);
  if (!closing && Vdei::SameText(name, "meta")) return tagMeta;
  return tagOther;
}

// Calls visit(text) for each cell of a normalised row until it returns true.
template <typename Visit>
void WalkCells(std::string_view row, Visit visit) {
  size_t pos = 0;
  while (pos + 4 <= row.size()) {
    // Cells are written "<td>" text "</td>" (or th) by the scanner, and a
    // cell text holds no "<" that opens a tag.
    const size_t start = pos + 4;
    const size_t end = row.find("</", start);
    if (end == std::string_view::npos) return;
    if (visit(row.substr(start, end - start))) return;
    pos = end + 5;
  }
}

}  // namespace

// One scan over a page: the table, row and cell state and the result.
class HtmlScanner {
 public:
  HtmlScanner(std::string_view text, int rowFieldNames, int rowFirst, int rowLast)
      : text_(text), rowFieldNames_(rowFieldNames), rowFirst_(rowFirst), rowLast_(rowLast) {}

  HtmlScanResult Run() {
    result_.arena_.reserve(text_.size() / 2);
    while (pos_ < text_.size()) {
      if (inCell_) CopyCellText();
      if (SkipCommentOrCData(text_, pos_)) continue;
      const size_t tagStart = pos_;
      const std::string_view head = ReadNextHTMLTag(text_, pos_);
      if (head.empty()) break;
      const HtmlTag tag = Classify(head.substr(1));
      if (!inCell_ || !HandleInCell(tag)) HandleTag(tag, text_.substr(tagStart, pos_ - tagStart));
    }
    if (inCell_) EndCell();
    if (inRow_) EndRow();
    return std::move(result_);
  }

 private:
  // A tag inside a cell; false when it ends the cell and is still to be
  // handled at the row level.
  bool HandleInCell(HtmlTag tag) {
    if (tag == tagTable) {
      ++nestedTables_;
    } else if (nestedTables_ > 0) {
      if (tag == tagTableEnd) --nestedTables_;
      if (tag == tagTd || tag == tagTh) AppendSeparator();
    } else if (tag == tagTdEnd || tag == tagThEnd) {
      EndCell();
    } else if (tag == tagTd || tag == tagTh || tag == tagTr || tag == tagTrEnd ||
               tag == tagTableEnd) {
      EndCell();
      return false;
    }
    return true;
  }

  void HandleTag(HtmlTag tag, std::string_view text) {
    if (!inTable_) {
      if (tag == tagTable) inTable_ = true;
      if (tag == tagMeta) ReadCharset(text);
      return;
    }
    switch (tag) {
      case tagTr:
      case tagTrEnd:
        if (inRow_) EndRow();
        inRow_ = tag == tagTr;
        break;
      case tagTd:
      case tagTh:
        inRow_ = true;
        StartCell(tag == tagTh);
        break;
      case tagTableEnd:
        if (inRow_) EndRow();
        inTable_ = false;
        break;
      default:
        break;
    }
  }

  void ReadCharset(std::string_view tag) {
    const std::string_view charset = CharsetOf(tag);
    if (charset.empty() || !result_.Charset.empty()) return;
    result_.Charset = std::string(charset);
    result_.Utf8 = IsUtf8Encoding(charset);
  }

  void StartCell(bool header) {
    inCell_ = true;
    headerCell_ = header;
    cellStart_ = Arena().size() + 4;
    Arena() += header ? "<th>" : "<td>";
  }

  void EndCell() {
    Arena() += headerCell_ ? "</th>" : "</td>";
    inCell_ = false;
  }

  // Text up to the next tag; blanks at the start of a cell are dropped.
  void CopyCellText() {
    const size_t end = NextTagStart(text_, pos_);
    if (Arena().size() == cellStart_) {
      while (pos_ < end && IsBlank(text_[pos_])) ++pos_;
    }
    Arena().append(text_.data() + pos_, end - pos_);
    pos_ = end;
  }

  // Cells of a nested table are kept apart by one blank.
  void AppendSeparator() {
    if (Arena().size() > cellStart_ && !IsBlank(Arena().back())) Arena() += ' ';
  }

  void EndRow() {
    inRow_ = false;
    const int number = ++result_.RowCount;
    const size_t length = Arena().size() - rowStart_;
    const std::string_view row = std::string_view(Arena()).substr(rowStart_, length);
    const bool header = rowFieldNames_ > 0 && number == rowFieldNames_;
    if (header || (rowFieldNames_ <= 0 && number == 1)) MakeColumns(row, header);
    if (number >= rowFirst_ && number <= rowLast_) {
      result_.rowSpans_.emplace_back(rowStart_, length);
      rowStart_ = Arena().size();
    } else {
      Arena().resize(rowStart_);
    }
  }

  void MakeColumns(std::string_view row, bool header) {
    if (header) result_.HeaderRow = std::string(row);
    std::vector<std::string_view> cells;
    GetHTMLCells(row, cells);
    std::string buffer;
    int replaced = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
      HtmlColumn column{"Field" + std::to_string(i + 1), {}};
      if (header) {
        column.Name = TrimBlanks(DecodeCellText(cells[i], result_.Utf8, buffer, replaced));
      }
      if (column.Name.empty()) column.Name = column.Key;
      column.Name = UniqueName(column.Name);
      result_.Columns.push_back(std::move(column));
    }
  }

  std::string UniqueName(const std::string& name) const {
    std::string candidate = name;
    for (int n = 1; Taken(candidate); ++n) candidate = name + "_" + std::to_string(n);
    return candidate;
  }

  bool Taken(std::string_view name) const {
    for (const HtmlColumn& column : result_.Columns) {
      if (Vdei::SameText(column.Name, name)) return true;
    }
    return false;
  }

  std::string& Arena() { return result_.arena_; }

  std::string_view text_;
  size_t pos_ = 0;
  int rowFieldNames_, rowFirst_, rowLast_;
  bool inTable_ = false, inRow_ = false, inCell_ = false, headerCell_ = false;
  int nestedTables_ = 0;  // tables opened inside the current cell
  size_t rowStart_ = 0;   // where the current row begins in the arena
  size_t cellStart_ = 0;  // where the current cell's text begins in the arena
  HtmlScanResult result_;
};

HtmlScanResult ScanHTMLText(std::string_view text, int rowFieldNames, int rowFirst, int rowLast) {
  return HtmlScanner(text, rowFieldNames, rowFirst, rowLast).Run();
}

std::string_view ReadNextHTMLTag(std::string_view text, size_t& pos) {
  while (true) {
    pos = NextTagStart(text, pos);
    if (pos >= text.size()) return {};
    if (!SkipCommentOrCData(text, pos)) break;
  }
  const size_t start = pos;
  const size_t nameEnd = TagNameEnd(text, pos);
  const size_t close = TagClose(text, nameEnd);
  pos = close == std::string_view::npos ? text.size() : close + 1;
  return text.substr(start, nameEnd - start);
}

std::optional<std::string_view> GetHTMLCell(std::string_view rowText, int n) {
  std::optional<std::string_view> found;
  int index = 0;
  WalkCells(rowText, [&](std::string_view cell) {
    if (++index < n) return false;
    if (!IsEmptyHTMLCell(cell)) found = cell;
    return true;
  });
  return found;
}

void GetHTMLCells(std::string_view rowText, std::vector<std::string_view>& cells) {
  cells.clear();
  WalkCells(rowText, [&](std::string_view cell) {
    cells.push_back(cell);
    return false;
  });
}

bool IsEmptyHTMLCell(std::string_view cellText) {
  std::string buffer;
  return TrimBlanks(DecodeEntities(TrimBlanks(cellText), buffer)).empty();
}

}  // namespace VdImport
