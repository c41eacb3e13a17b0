#include "import/VdI2XMLScan.h"

#include <charconv>

#include "core/StrUtils.h"
#include "import/VdIEntities.h"
#include "import/VdIMarkup.h"

namespace VdImport {

namespace {

std::string_view OrFallback(const std::string& name, std::string_view fallback) {
  return name.empty() ? fallback : std::string_view(name);
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// Calls visit(name, value) for each attribute from pos up to the tag's end
// until visit returns true. Values are quoted ('"' or '\'') or bare.
template <typename Visit>
void WalkAttributes(std::string_view text, size_t pos, Visit visit) {
  while (true) {
    pos = SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] == '>' || text[pos] == '/') return;
    const size_t nameStart = pos;
    while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != '=' && text[pos] != '>') ++pos;
    const std::string_view name = text.substr(nameStart, pos - nameStart);
    pos = SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '=') continue;  // an attribute without a value
    pos = SkipBlanks(text, pos + 1);
    if (pos >= text.size()) return;
    size_t valueStart = pos, valueEnd;
    if (text[pos] == '"' || text[pos] == '\'') {
      valueStart = pos + 1;
      valueEnd = text.find(text[pos], valueStart);
      if (valueEnd == std::string_view::npos) return;
      pos = valueEnd + 1;
    } else {
      while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != '>') ++pos;
      valueEnd = pos;
      if (valueEnd > valueStart && text[valueEnd - 1] == '/' && pos < text.size()) --valueEnd;
    }
    if (visit(name, text.substr(valueStart, valueEnd - valueStart))) return;
  }
}

// Calls visit(name, value) for each child element of an element row until
// visit returns true; a self-closing child has an empty value.
template <typename Visit>
void WalkElements(std::string_view text, Visit visit) {
  size_t pos = 0;
  while ((pos = text.find('<', pos)) != std::string_view::npos) {
    if (SkipCommentOrCData(text, pos)) continue;
    const size_t nameEnd = TagNameEnd(text, pos);
    const std::string_view name = text.substr(pos + 1, nameEnd - pos - 1);
    const size_t close = TagClose(text, nameEnd);
    if (close == std::string_view::npos) return;
    pos = close + 1;
    if (name.empty() || name[0] == '/' || name[0] == '?' || name[0] == '!') continue;
    std::string_view value;
    if (text[close - 1] != '/') {
      size_t contentEnd;
      const size_t next = ElementEnd(text, pos, contentEnd);
      value = StripQuotes(text.substr(pos, contentEnd - pos));
      pos = next;
    }
    if (visit(name, value)) return;
  }
}

bool IsElementRow(std::string_view rowText) {
  const size_t first = SkipBlanks(rowText, 0);
  return first < rowText.size() && rowText[first] == '<';
}

template <typename Visit>
void WalkCells(std::string_view rowText, Visit visit) {
  if (IsElementRow(rowText)) {
    WalkElements(rowText, visit);
  } else {
    WalkAttributes(rowText, 0, visit);
  }
}

int ParseWidth(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// The state of one scan: the result and the names used.
class XmlScanner {
 public:
  XmlScanner(std::string_view text, const XmlScanTags& tags, std::string_view tableName,
             int rowFirst, int rowLast)
      : text_(text),
        recordsTag_(OrFallback(tags.RecordsTag, "ROWDATA")),
        recordTag_(OrFallback(tags.RecordTag, "RECORD")),
        rowTag_(OrFallback(tags.RowTag, "ROW")),
        tableName_(tableName),
        rowFirst_(rowFirst),
        rowLast_(rowLast) {}

  XmlScanResult Run() {
    while (true) {
      const std::string_view head = ReadNextTag(text_, pos_);
      if (head.empty()) break;
      Dispatch(head);
    }
    return std::move(result_);
  }

 private:
  void Dispatch(std::string_view head) {
    if (Vdei::SameText(head, "<?xml")) {
      ReadDeclaration();
    } else if (IsTag(head, "FIELDS")) {
      ReadTagRest(text_, pos_);
      ReadFieldList();
    } else if (IsTag(head, recordsTag_) || IsClosingTag(head, recordsTag_)) {
      inRecords_ = head[1] != '/';
      ReadTagRest(text_, pos_);
    } else if (IsRecordTag(head)) {
      ReadRecord();
    } else if (IsTag(head, rowTag_) && (inRecords_ || inRecord_)) {
      ReadRow();
    } else {
      if (IsClosingTag(head, recordTag_)) inRecord_ = false;
      ReadTagRest(text_, pos_);
    }
  }

  bool IsRecordTag(std::string_view head) const {
    return IsTag(head, recordTag_) || (!tableName_.empty() && IsTag(head, tableName_));
  }

  void ReadDeclaration() {
    const std::string_view rest = ReadTagRest(text_, pos_);
    result_.Encoding = std::string(GetXMLValue("encoding", rest).value_or("encoding"));
    result_.Utf8 = IsUtf8Encoding(result_.Encoding);
  }

  void ReadFieldList() {
    while (true) {
      const std::string_view head = ReadNextTag(text_, pos_);
      if (head.empty()) return;
      const std::string_view rest = ReadTagRest(text_, pos_);
      if (IsClosingTag(head, "FIELDS")) return;
      if (IsTag(head, "FIELD")) AddListField(rest);
    }
  }

  void AddListField(std::string_view attributes) {
    XmlField field;
    std::string_view type, subType, caption;
    field.Name = "attrname";
    WalkAttributes(attributes, 0, [&](std::string_view name, std::string_view value) {
      if (Vdei::SameText(name, "attrname")) field.Name = DecodeEntities(value);
      if (Vdei::SameText(name, "fieldtype")) type = value;
      if (Vdei::SameText(name, "SUBTYPE")) subType = value;
      if (Vdei::SameText(name, "width")) field.Width = ParseWidth(value);
      if (Vdei::SameText(name, "fieldname")) caption = value;
      return false;
    });
    field.DataType = XMLFieldType(type, subType);
    int replaced = 0;
    std::string buffer;
    field.Caption = caption.empty()
                        ? field.Name
                        : std::string(DecodeCellText(caption, result_.Utf8, buffer, replaced));
    field.FromFieldList = true;
    result_.Fields.push_back(std::move(field));
    hasFieldList_ = true;
  }

  // A record element: an element row, unless a row element is its first
  // child, which is then the row.
  void ReadRecord() {
    const std::string_view rest = ReadTagRest(text_, pos_);
    if (pos_ >= text_.size()) return;
    ++pos_;
    if (rest.size() >= 2 && rest[rest.size() - 2] == '/') return StoreRow({});
    size_t peek = pos_;
    if (IsTag(ReadNextTag(text_, peek), rowTag_)) {
      inRecord_ = true;
      return;
    }
    ReadElementRow();
  }

  void ReadRow() {
    const std::string_view rest = ReadTagRest(text_, pos_);
    if (pos_ < text_.size()) ++pos_;
    const size_t attributesAt = SkipBlanks(rest, 0);
    const bool selfClosing = rest.size() >= 2 && rest[rest.size() - 2] == '/';
    if (attributesAt < rest.size() && rest[attributesAt] != '>' && rest[attributesAt] != '/') {
      StoreRow(rest);
    } else if (selfClosing) {
      StoreRow({});
    } else {
      ReadElementRow();
    }
  }

  void ReadElementRow() {
    size_t contentEnd;
    const size_t start = pos_;
    pos_ = ElementEnd(text_, pos_, contentEnd);
    StoreRow(text_.substr(start, contentEnd - start));
  }

  void StoreRow(std::string_view row) {
    const int number = ++result_.RowCount;
    if (number >= rowFirst_ && number <= rowLast_) result_.Rows.push_back(row);
    if (!hasFieldList_) CollectNames(row);
  }

  // Columns of a package without a FIELDS list: the cell names of the rows
  // in order of first appearance; the name at the same position is tried
  // first.
  void CollectNames(std::string_view row) {
    size_t index = 0;
    WalkCells(row, [&](std::string_view name, std::string_view) {
      std::vector<XmlField>& fields = result_.Fields;
      if (index >= fields.size() || !Vdei::SameText(fields[index].Name, name)) {
        size_t found = 0;
        while (found < fields.size() && !Vdei::SameText(fields[found].Name, name)) ++found;
        if (found == fields.size()) fields.push_back({std::string(name), std::string(name)});
        index = found;
      }
      ++index;
      return false;
    });
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::string_view recordsTag_, recordTag_, rowTag_, tableName_;
  int rowFirst_, rowLast_;
  bool inRecords_ = false;  // between the records tags
  bool inRecord_ = false;   // inside a record element whose first child is a row
  bool hasFieldList_ = false;
  XmlScanResult result_;
};

}  // namespace

XmlScanResult ScanXMLText(std::string_view text, const XmlScanTags& tags,
                          std::string_view tableName, int rowFirst, int rowLast) {
  return XmlScanner(text, tags, tableName, rowFirst, rowLast).Run();
}

TVdIDataType XMLFieldType(std::string_view fieldType, std::string_view subType) {
  if (fieldType == "i2" || fieldType == "i4" || fieldType == "ui2") return itInteger;
  if (fieldType == "boolean") return itBoolean;
  if (fieldType == "r8") return itFloat;
  if (fieldType == "date") return itDate;
  if (fieldType == "time") return itTime;
  if (fieldType == "datetime") return itDateTime;
  if (fieldType == "bin.hex" || fieldType == "blob") return subType == "Text" ? itMemo : itBlob;
  return itString;
}

std::string_view ReadNextTag(std::string_view text, size_t& pos) {
  while (true) {
    pos = text.find('<', pos);
    if (pos == std::string_view::npos) {
      pos = text.size();
      return {};
    }
    if (!SkipCommentOrCData(text, pos)) break;
  }
  const size_t start = pos;
  pos = TagNameEnd(text, pos);
  return text.substr(start, pos - start);
}

std::string_view ReadTagRest(std::string_view text, size_t& pos) {
  const size_t start = pos;
  const size_t close = TagClose(text, pos);
  pos = close == std::string_view::npos ? text.size() : close;
  return text.substr(start, close == std::string_view::npos ? pos - start : pos - start + 1);
}

std::optional<std::string_view> GetXMLValue(std::string_view name, std::string_view rowText) {
  std::optional<std::string_view> found;
  WalkCells(rowText, [&](std::string_view cellName, std::string_view value) {
    if (!Vdei::SameText(cellName, name)) return false;
    found = value;
    return true;
  });
  return found;
}

void SplitXMLRow(std::string_view rowText, std::vector<XmlCell>& cells) {
  cells.clear();
  WalkCells(rowText, [&](std::string_view name, std::string_view value) {
    cells.push_back({name, value});
    return false;
  });
}

std::optional<std::string_view> FindXMLCell(const std::vector<XmlCell>& cells,
                                            std::string_view name, size_t& hint) {
  for (size_t tried = 0; tried < cells.size(); ++tried) {
    const size_t i = (hint + tried) % cells.size();
    if (Vdei::SameText(cells[i].Name, name)) {
      hint = i + 1;
      return cells[i].Value;
    }
  }
  return std::nullopt;
}

}  // namespace VdImport
