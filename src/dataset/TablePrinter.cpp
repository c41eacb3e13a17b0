#include "dataset/TablePrinter.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "core/CodePage.h"
#include "core/DateTime.h"

namespace Vdei {

namespace {

constexpr size_t kFlushSize = 1 << 16;

// Collects output and hands it to the stream in large pieces.
class OutBuffer {
 public:
  explicit OutBuffer(std::ostream& out) : out_(out) { text_.reserve(kFlushSize + 4096); }
  ~OutBuffer() { Flush(); }
  std::string& Text() { return text_; }
  void EndLine(std::string_view end) {
    text_ += end;
    if (text_.size() >= kFlushSize) Flush();
  }
  void Flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

 private:
  std::ostream& out_;
  std::string text_;
};

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

void AppendUtf8(std::string& out, std::string_view ansi) {
  if (IsAscii(ansi)) {
    out += ansi;
  } else {
    out += AnsiToUtf8(ansi);
  }
}

template <typename Number>
void AppendNumber(std::string& out, Number value) {
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendPadded(std::string& out, int value, int width) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const int length = static_cast<int>(result.ptr - digits);
  if (length < width) out.append(static_cast<size_t>(width - length), '0');
  out.append(digits, result.ptr);
}

void AppendDate(std::string& out, TDateTime value) {
  int year, month, day;
  DecodeDate(value, year, month, day);
  AppendPadded(out, year, 4);
  out += '-';
  AppendPadded(out, month, 2);
  out += '-';
  AppendPadded(out, day, 2);
}

void AppendTime(std::string& out, TDateTime value) {
  int hour, minute, second, msec;
  DecodeTime(value, hour, minute, second, msec);
  AppendPadded(out, hour, 2);
  out += ':';
  AppendPadded(out, minute, 2);
  out += ':';
  AppendPadded(out, second, 2);
  if (msec == 0) return;
  out += '.';
  AppendPadded(out, msec, 3);
}

void AppendHex(std::string& out, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
}

bool IsBinaryType(TFieldType type) {
  switch (type) {
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return true;
    default:
      return false;
  }
}

// The value text of a field that is not Null, in UTF-8, into out.
void AppendValueText(const TField& field, std::string& out, std::string& scratch) {
  if (IsBinaryType(field.DataType())) return AppendHex(out, field.AsStringView(scratch));
  switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return AppendNumber(out, field.AsInteger());
    case ftFloat:
    case ftCurrency:
      return AppendNumber(out, field.AsFloat());
    case ftBoolean:
      out += field.AsBoolean() ? "true" : "false";
      return;
    case ftDate:
      return AppendDate(out, field.AsDateTime());
    case ftTime:
      return AppendTime(out, field.AsDateTime());
    case ftDateTime:
      AppendDate(out, field.AsDateTime());
      out += ' ';
      return AppendTime(out, field.AsDateTime());
    default:  // strings, memos, BCD and the rest: their text
      return AppendUtf8(out, field.AsStringView(scratch));
  }
}

void AppendTsv(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
}

void AppendCsv(std::string& out, std::string_view text) {
  if (!text.empty() && text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void PrintDelimited(TDataSet& dataSet, OutBuffer& out, const TablePrintOptions& options) {
  const bool tsv = options.Format == pfTsv;
  const char separator = tsv ? '\t' : ',';
  const std::string_view lineEnd = tsv ? "\n" : "\r\n";
  std::string& text = out.Text();
  std::string value, scratch;
  const int count = dataSet.FieldCount();
  auto appendText = [&](std::string_view s) { tsv ? AppendTsv(text, s) : AppendCsv(text, s); };
  if (options.Header) {
    for (int i = 0; i < count; ++i) {
      if (i > 0) text += separator;
      value.clear();
      AppendUtf8(value, dataSet.Fields(i)->FieldName());
      appendText(value);
    }
    out.EndLine(lineEnd);
  }
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
    for (int i = 0; i < count; ++i) {
      if (i > 0) text += separator;
      const TField& field = *dataSet.Fields(i);
      if (field.IsNull()) {
        if (tsv) text += "\\N";
        continue;
      }
      value.clear();
      AppendValueText(field, value, scratch);
      appendText(value);
    }
    out.EndLine(lineEnd);
  }
}

// --- table ----------------------------------------------------------------------

// A field's display text as one line of UTF-8; binary contents in hex.
std::string DisplayCell(const TField& field) {
  std::string text;
  if (field.IsNull()) return text;
  if (IsBinaryType(field.DataType())) {
    AppendHex(text, field.AsString());
    return text;
  }
  text = AnsiToUtf8(field.DisplayText());
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; }, ' ');
  return text;
}

size_t CharacterCount(std::string_view utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

struct AlignedColumn {
  size_t Width = 0;
  bool Right = false;
};

void AppendAligned(std::string& out, const std::string& text, const AlignedColumn& column,
                   bool last) {
  const size_t fill = column.Width - std::min(column.Width, CharacterCount(text));
  if (column.Right) out.append(fill, ' ');
  out += text;
  if (!column.Right && !last) out.append(fill, ' ');
}

std::vector<AlignedColumn> MeasureColumns(TDataSet& dataSet, bool header) {
  std::vector<AlignedColumn> columns(static_cast<size_t>(dataSet.FieldCount()));
  for (size_t i = 0; i < columns.size(); ++i) {
    const TField& field = *dataSet.Fields(static_cast<int>(i));
    columns[i].Right = field.IsNumericField();
    if (header) columns[i].Width = CharacterCount(AnsiToUtf8(field.FieldName()));
  }
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
    for (size_t i = 0; i < columns.size(); ++i) {
      const size_t width = CharacterCount(DisplayCell(*dataSet.Fields(static_cast<int>(i))));
      columns[i].Width = std::max(columns[i].Width, width);
    }
  }
  return columns;
}

void PrintAligned(TDataSet& dataSet, OutBuffer& out, const TablePrintOptions& options) {
  const std::vector<AlignedColumn> columns = MeasureColumns(dataSet, options.Header);
  std::string& text = out.Text();
  const size_t count = columns.size();
  if (options.Header) {
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) text += " | ";
      AppendAligned(text, AnsiToUtf8(dataSet.Fields(static_cast<int>(i))->FieldName()),
                    {columns[i].Width, false}, i + 1 == count);
    }
    out.EndLine("\n");
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) text += "-+-";
      text.append(columns[i].Width, '-');
    }
    out.EndLine("\n");
  }
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) text += " | ";
      AppendAligned(text, DisplayCell(*dataSet.Fields(static_cast<int>(i))), columns[i],
                    i + 1 == count);
    }
    out.EndLine("\n");
  }
}

}  // namespace

void PrintTable(TDataSet& dataSet, std::ostream& out, const TablePrintOptions& options) {
  OutBuffer buffer(out);
  if (options.Format == pfTable) {
    PrintAligned(dataSet, buffer, options);
  } else {
    PrintDelimited(dataSet, buffer, options);
  }
}

}  // namespace Vdei
