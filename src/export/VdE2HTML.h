// TVdExportToHTML: the export component that writes a table as an HTML
// page. The page is HTMLPattern (an editable page text) with one <table>
// element put where the body ends.
//
// What a caller may rely on, byte for byte (CR LF ends every line):
//   - BeginDocument writes the pattern items up to the first "</BODY>"
//     (found in any letter case), each item or part followed by CR LF;
//     EndDocument writes the rest of that item from the marker on, then
//     every later item whole (a second "</BODY>" in a later item drops
//     nothing). A pattern without the marker is written whole before the
//     table. The default pattern is one item: html, head, a Content-Type
//     meta with charset windows-<active ANSI code page>, a GENERATOR meta
//     with KeyGenerator, the title (message 6), and <body bgcolor="#FFFFFF">.
//   - The table: `<table border="1">` with soColLines or soRowLines, else
//     border="0" (OnGetExtHTMLTableParamsEvent may change the attribute
//     text); "<tr>" / "</tr>" around each row inside the table; each cell
//     two blanks + "<td " + attributes + alignment + ">" + body + "</td>".
//     The attributes are, with soColorsFonts, the background colour and a
//     blank (only the blank for black), then `width="16 x Width"` for a
//     column with a width; OnGetExtHTMLCellParamsEvent may change them.
//   - The body is the cell text escaped with EscapeText ("&nbsp", without a
//     semicolon, for an empty text) in the font markup of FontMarkup (only
//     with soColorsFonts). With HeaderFooterWithHTML texts are markup
//     already: written unchanged, and header and footer lines bare.
//   - Header and footer lines, outside the table, are paragraphs:
//     "<p " + attributes + alignment + ">" + body + "</p>".
//   - A graphic field holding a bitmap (see VdEBitmap.h) gets an
//     <img src="..." width="W" height="H"> cell; the bitmap's bytes are
//     saved as MakeImageFileName of FileName (img1.bmp, img2.bmp... beside
//     it, numbered through the whole run, so the numbered files of one run
//     never overwrite each other's images). A graphic value that is no
//     readable bitmap is written as an empty cell, and no file is saved.
//     An image file that cannot be written raises EFOpenError into the run.
//
// RowsPerFile and Layout are not published: HTML pages are columnar, in
// one file.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Strings.h"
#include "export/VdE2Cell.h"

namespace VdExport {

using TVdEGetExtHTMLTableParams = std::function<void(TObject* Sender, std::string& ExtTableText)>;
// Column is the exported column of a table cell; none for a header or
// footer line, which belongs to no column.
using TVdEGetExtHTMLCellParams =
    std::function<void(TObject* Sender, TVdEColumn* Column, std::string& ExtTDText)>;

class TVdExportToHTML : public TVdExportToCellFile {
 public:
  VDEI_CLASS(TVdExportToHTML)
  // AddTitle on, table type ttHTML (FileName ends in ".HTM"), the default
  // pattern.
  explicit TVdExportToHTML(Vdei::TComponent* owner);
  ~TVdExportToHTML() override;

  // From another HTML component also the pattern, HeaderFooterWithHTML and
  // the two events.
  void Assign(const Vdei::TPersistent& source) override;

  // --- published ---
  Vdei::TStrings* HTMLPattern() const { return htmlPattern_.get(); }
  void SetHTMLPattern(const Vdei::TStrings* value);  // copies
  bool HeaderFooterWithHTML() const { return headerFooterWithHTML_; }
  void SetHeaderFooterWithHTML(bool value) { headerFooterWithHTML_ = value; }

  std::string GetDefaultExtension() const override { return ".HTM"; }

  TVdEGetExtHTMLTableParams OnGetExtHTMLTableParamsEvent;
  TVdEGetExtHTMLCellParams OnGetExtHTMLCellParamsEvent;

 protected:
  void BeginDocument() override;
  void EndDocument() override;
  void SetDimensions(int rowCount, int colCount) override;
  void SetColumnWidth(int col, int width) override;
  void BeginTable() override;
  void EndTable() override;
  void BeginRow(bool isTitle) override;
  void EndRow(bool isTitle) override;
  void WriteCell(Vdei::TField* field, TCellType cellType, int row, int col, std::string_view text,
                 TAlignment alignment, TFont* font, TColor background) override;
  void StartOutputFile(const std::string& fileName, int fileNumber) override;

 private:
  // Pattern text goes to the output stream itself, not through WriteText.
  void WritePattern(std::string_view text);
  void BuildAttributes(int col, TColor background);
  // The column of a table cell at visible position col; none outside the
  // table or beyond the visible columns.
  TVdEColumn* CellColumn(int col) const;
  void AppendBody(std::string_view text, const TFont* font);
  // Saves the bitmap as the next image file and appends its <img> tag.
  void AppendImage(std::string_view bitmap, int width, int height);

  std::unique_ptr<Vdei::TStringList> htmlPattern_;
  bool headerFooterWithHTML_ = false;

  int patternLine_ = 0;  // the pattern item that holds the body end
  // Per output column: its `width="16 x Width"` attribute, empty without a width.
  std::vector<std::string> widthAttributes_;
  std::vector<TVdEColumn*> visibleColumns_;  // of the current table
  int imageCounter_ = 1;

  // Buffers reused by every cell.
  std::string attributes_;
  std::string line_;
  std::string escaped_;
  std::string pictureBuffer_;
};

}  // namespace VdExport
