// TVdExportToXML: the export component that writes a table as an XML
// package in one of five layouts (Format):
//   xmlIE             records as RECORD elements holding a ROW element with
//                     one attribute per value, one attribute a line
//   xmlIECompact      the same on one line
//   xmlClientDataset  a DATAPACKET with METADATA (the column list) and
//                     ROWDATA (one ROW element per record); the package the
//                     server sends and the XML import loads; one line
//   xmlElement        RECORD elements with one child element per value
//   xmlMSSQL          a VFPData document with an inline XML schema
// The package declares the active ANSI code page (encoding="windows-1252")
// and holds the cell texts in it, unconverted. Without the title the
// column list (METADATA or the schema) is left out; the title row of the
// cell-file writer is never written.
//
// Cell texts (GetFieldText): Booleans as DataFormats.BooleanTrue /
// BooleanFalse, dates yyyymmdd, times hhnnss, date-times yyyymmdd and,
// when the time of day is not 0, "T" + hh:nn:ss + zzz (20010315T14:30:05123);
// blob fields (memos included) as Base64 ("[CDATA[" + Base64 + "]]" outside
// xmlClientDataset); every other text escaped with EscapeText. Under
// BlankIfZero a null value and a zero date, time or date-time give an
// empty text. An empty text writes nothing for its cell unless
// soExportBlankValues is set; then the value is empty between the quotes.
// A value is named after its field's display label; header and footer
// lines are rows too, named LINE + their row (LINE0, ...); another cell
// without a field is named after the visible column at its position (its
// title caption with soUseFieldNameAsCaption, else its field name). Names
// are sanitized (SanitizeXMLName). Cells without a field are escaped with
// EscapeText as field texts are.
//
// With GenerateXSL (any layout but xmlMSSQL) a stylesheet is written beside
// FileName (its extension replaced by ".xsl", overwritten, also when the
// package goes to a caller's stream) and referenced from the package.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/DateTime.h"
#include "export/VdE2Cell.h"
#include "export/VdEXMLTags.h"

namespace VdExport {

class TVdExportToXML : public TVdExportToCellFile {
 public:
  VDEI_CLASS(TVdExportToXML)
  // Table type ttXML (FileName ends in ".XML"); DataFormats with DateOrder
  // doYMD, four-digit years, leading zeros and the custom date-time
  // format "yyyymmddThhnnsszzz".
  explicit TVdExportToXML(Vdei::TComponent* owner);
  ~TVdExportToXML() override;

  // From another XML component also Format, GenerateXSL, XMLTags and
  // QuoteTerm.
  void Assign(const Vdei::TPersistent& source) override;

  // --- published ---
  TVdEXMLFormat Format() const { return format_; }
  void SetFormat(TVdEXMLFormat value) { format_ = value; }
  bool GenerateXSL() const { return generateXSL_; }
  void SetGenerateXSL(bool value) { generateXSL_ = value; }
  TVdEXMLTags* XMLTags() const { return xmlTags_.get(); }
  void SetXMLTags(const TVdEXMLTags* value);  // copies the three names
  // The character around every value; 0: none.
  char QuoteTerm() const { return quoteTerm_; }
  void SetQuoteTerm(char value) { quoteTerm_ = value; }

  void GetFieldText(Vdei::TField* field, std::string& text) override;
  std::string GetDefaultExtension() const override { return ".XML"; }

 protected:
  bool HasTitleRow() override { return false; }
  void BeginDocument() override;
  void EndDocument() override;
  void BeginRow(bool isTitle) override;
  void EndRow(bool isTitle) override;
  void WriteCell(Vdei::TField* field, TCellType cellType, int row, int col, std::string_view text,
                 TAlignment alignment, TFont* font, TColor background) override;

 private:
  // What is written before and after the value of a cell of one name.
  struct CellFrame {
    const Vdei::TField* Field = nullptr;
    std::string Label;  // the name before sanitizing
    std::string Prefix;
    std::string Suffix;
  };

  static void AppendDateTimeText(TFieldType type, Vdei::TDateTime value, std::string& text);
  const CellFrame& FrameOf(const Vdei::TField* field, int row, int col);
  void BuildFrame(CellFrame& frame, std::string_view name) const;
  // The texts BeginRow and EndRow write, for the current layout and tags.
  void BuildRowFrames();
  // The name of a cell without a field inside the data part.
  std::string_view ColumnCellName(int col) const;

  // --- the document (VdE2XMLDoc.cpp) ---
  // Writes the stylesheet when one is due; its file name, else empty.
  std::string WriteStylesheet();
  std::string Prolog(const std::string& stylesheetName) const;
  void WriteColumnList();
  void AppendColumnEntry(std::string& out, const TVdEColumn& column,
                         TVdECustomDataEngine* engine) const;

  TVdEXMLFormat format_ = xmlIE;
  bool generateXSL_ = false;
  std::unique_ptr<TVdEXMLTags> xmlTags_;
  char quoteTerm_ = '"';

  std::string baseText_;  // reused by every cell text
  std::string scratch_;
  std::vector<CellFrame> frames_;  // by field index, rebuilt per document
  CellFrame looseFrame_;           // for cells without a cached frame
  std::string rowStart_;
  std::string rowEnd_;
};

}  // namespace VdExport
