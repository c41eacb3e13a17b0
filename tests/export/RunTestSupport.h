// What the tests of the export run share: a sample table, a writer that
// records every hook call, and the recording platform services.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "RecordingPlatform.h"
#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Fields.h"
#include "export/VdE2Cell.h"

namespace VdExport {

// CustNo (integer), Company (string 20), Amount (float) with the records
// (1, "C1", 1.5), (2, "C2", 2.5), ... on its first record.
inline Vdei::TClientDataSet* MakeSampleTable(Vdei::TComponent* owner, int records) {
  auto* table = new Vdei::TClientDataSet(owner);
  table->FieldDefs()->Add("CustNo", Vdei::ftInteger);
  table->FieldDefs()->Add("Company", Vdei::ftString, 20);
  table->FieldDefs()->Add("Amount", Vdei::ftFloat);
  table->CreateDataSet();
  for (int i = 1; i <= records; ++i) {
    table->Append();
    table->Fields(0)->SetAsInteger(i);
    table->Fields(1)->SetAsString("C" + std::to_string(i));
    table->Fields(2)->SetAsFloat(i + 0.5);
    table->Post();
  }
  table->First();
  return table;
}

// Logs every hook call with its arguments, and writes each cell's text
// and ";" and each row end "|" through WriteText, so the bytes written to
// a stream or a file show the rows.
class TRecordingWriter : public TVdExportToCellFile {
 public:
  explicit TRecordingWriter(Vdei::TComponent* owner) : TVdExportToCellFile(owner) {
    SetColumnSource(csDataSet);
    SetAnimatedStatus(false);
    SetOptions(0);
  }

  std::vector<std::string> log;
  bool titleRow = true;
  bool canAppend = false;

  // The log lines that start with prefix, joined by " ".
  std::string Calls(const std::string& prefix) const {
    std::string joined;
    for (const std::string& line : log) {
      if (line.rfind(prefix, 0) == 0) joined += (joined.empty() ? "" : " ") + line;
    }
    return joined;
  }

  using TVdExportToCellFile::InData;
  using TVdExportToCellFile::TitleRows;

 protected:
  bool CanAppendToFile() override { return canAppend; }
  bool HasTitleRow() override { return titleRow; }
  void CreateOutputFile(const std::string& name) override {
    log.push_back("Create(" + Vdei::ExtractFileName(name) + ")");
    TVdExportToCellFile::CreateOutputFile(name);
  }
  void BeginDocument() override {
    TVdExportToCellFile::BeginDocument();
    log.push_back("BeginDocument");
  }
  void EndDocument() override { log.push_back("EndDocument"); }
  void SetDimensions(int rows, int cols) override {
    log.push_back("Dim(" + std::to_string(rows) + "," + std::to_string(cols) + ")");
  }
  void SetColumnWidth(int col, int width) override {
    log.push_back("Width(" + std::to_string(col) + "," + std::to_string(width) + ")");
  }
  void BeginTable() override {
    TVdExportToCellFile::BeginTable();
    log.push_back("BeginTable");
  }
  void EndTable() override {
    TVdExportToCellFile::EndTable();
    log.push_back("EndTable");
  }
  void BeginRow(bool isTitle) override { log.push_back(isTitle ? "BeginRow(t)" : "BeginRow(d)"); }
  void EndRow(bool isTitle) override {
    TVdExportToCellFile::EndRow(isTitle);
    WriteText("|");
  }
  void WriteCell(Vdei::TField* field, TCellType type, int row, int col, std::string_view text,
                 TAlignment alignment, TFont* font, TColor background) override {
    TVdExportToCellFile::WriteCell(field, type, row, col, text, alignment, font, background);
    log.push_back("Cell(" + std::to_string(row) + "," + std::to_string(col) + "," +
                  std::to_string(type) + "," + std::string(text) + (field ? ",f" : "") + ")");
    backgrounds.push_back(background);
    lastFont = font ? font->Name() : "-";
    WriteText(text);
    WriteText(";");
  }

 public:
  std::vector<TColor> backgrounds;
  std::string lastFont;
};

using Vdei::PlatformScope;
using Vdei::TRecordingPlatform;

}  // namespace VdExport
