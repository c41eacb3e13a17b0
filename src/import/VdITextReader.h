// TVdITextReader: what the XML and HTML readers share. Both read their
// whole source into one text when a run opens it, keep their rows as views
// or spans of a scan over that text, walk the rows by index, and decode a
// cell's text for the field that receives it.
//
// LoadSource reads the source as OpenSource must: the stream given to
// ImportFromStream from its current position to its end (a memory stream
// is viewed in place, not copied, and is left at its end), else the file
// SourceFileName (EFOpenError when it cannot be opened). The text lives
// until FreeSource or the next LoadSource; a viewed memory stream is not
// written while ImportFromStream runs.
//
// A text the reader reads itself (a file, or a stream that is no memory
// stream) is held in pages of its own; as the row walk moves on, the whole
// pages before the next row's text (RowText) go back to the system, so a
// large package does not stay in memory beside the table it fills. Rows
// are read in order and a row once left is not read again in that run.
//
// The row walk is bounded by the stored rows (StoredRows) and RowLimit.
// A source needs a SourceFileName even for stream imports (the component's
// contract): GetMissingProperty names it after the base's DataSet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/VdIBase.h"

namespace Vdei {
class TStream;
}

namespace VdImport {

class TVdITextReader : public TVdImportBaseComponent {
 public:
  using TVdImportBaseComponent::TVdImportBaseComponent;

  // Characters of UTF-8 cells that the active code page lacks (read as
  // '?'), counted over the cells read since the source was opened.
  int ReplacedCharacters() const { return replaced_; }

  void FirstRecord() override { rowIndex_ = 0; }
  void NextRecord() override;
  bool HasRecord() override {
    return rowIndex_ < StoredRows() && static_cast<int64_t>(rowIndex_) < RowLimit();
  }
  int RecordCount() override { return static_cast<int>(StoredRows()); }
  bool GetMissingProperty(std::string& name) override;
  // Without a header row (RowFieldNames <= 0) into a dataset that has field
  // definitions, the dataset's fields (the base's columns); otherwise the
  // source's (AddSourceColumns).
  void CreateColumns() override;

 protected:
  virtual void AddSourceColumns() = 0;
  virtual size_t StoredRows() const = 0;
  // The start of stored row index in the source's text; nullptr when the
  // rows are held elsewhere.
  virtual const char* RowText(size_t) const { return nullptr; }

  // The source's text, read afresh; the row walk starts over.
  std::string_view LoadSource();
  void FreeSource();
  size_t RowIndex() const { return rowIndex_; }
  // True once per row: when the current row is asked for its first cell.
  bool EnterRow();
  // A raw cell text as a field receives it (VdIEntities.h DecodeCellText);
  // valid until the next call.
  std::string_view DecodeCell(std::string_view raw, bool fromUtf8);

 private:
  std::string_view ReadOwnText(Vdei::TStream& stream);

  // Pages of the process's own, whose beginning can be given back.
  class TPagedText {
   public:
    TPagedText() = default;
    TPagedText(const TPagedText&) = delete;
    TPagedText& operator=(const TPagedText&) = delete;
    ~TPagedText() { Clear(); }
    // The rest of stream; false when no pages could be had.
    bool Read(Vdei::TStream& stream);
    std::string_view View() const { return {data_, size_}; }
    // Gives back the whole pages before position, once they are many.
    void Release(const char* position);
    void Clear();

   private:
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t mapped_ = 0;
    size_t released_ = 0;
  };

  TPagedText paged_;
  std::string owned_;  // when no pages could be had
  std::string_view text_;
  size_t rowIndex_ = 0;
  size_t enteredRow_ = SIZE_MAX;
  std::string buffer_;
  int replaced_ = 0;
};

// The longest decoded text among the cells a column held, for sizing
// string fields. Decoding never lengthens a text (an entity or a UTF-8
// sequence gives at most one byte), so only a raw text longer than the
// longest so far is decoded.
class TVdICellWidths {
 public:
  TVdICellWidths(size_t columns, bool fromUtf8) : widths_(columns, 0), fromUtf8_(fromUtf8) {}
  void Note(size_t column, std::string_view raw);
  // The widths, each at most INT32_MAX.
  std::vector<int> Widths() const;

 private:
  std::vector<size_t> widths_;
  bool fromUtf8_;
  std::string buffer_;
};

}  // namespace VdImport
