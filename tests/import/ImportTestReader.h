// A reader of the tests' own for the import component: a source of named
// columns and rows of cell texts held in memory. A cell given as
// std::nullopt is a cell the row does not have; a name that is no column
// is no cell at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/StrUtils.h"
#include "dataset/ClientDataSet.h"
#include "import/VdIBase.h"

namespace VdImport {

using TTestCell = std::optional<std::string>;
using TTestRow = std::vector<TTestCell>;

class TTestReader : public TVdImportBaseComponent {
 public:
  explicit TTestReader(Vdei::TComponent* owner) : TVdImportBaseComponent(owner) {
    SetAnimatedStatus(false);
    SetOptions(kAllImportOptions & ~(1 << soShowMessage));
  }

  std::vector<std::string> columns;
  std::vector<TTestRow> rows;
  int opened = 0;
  int closed = 0;

  void OpenSource() override { ++opened; }
  void CloseSource() override { ++closed; }
  void FirstRecord() override { index_ = 0; }
  void NextRecord() override { ++index_; }
  bool HasRecord() override {
    return index_ < rows.size() && static_cast<int64_t>(index_) < RowLimit();
  }
  int RecordCount() override { return static_cast<int>(rows.size()); }
  TVdICellLookup GetCellValue(const std::string& name, Vdei::Variant& value) override {
    for (size_t c = 0; c < columns.size(); ++c) {
      if (!Vdei::SameText(columns[c], name)) continue;
      const TTestCell& cell = c < rows[index_].size() ? rows[index_][c] : std::nullopt;
      value = cell ? Vdei::Variant(*cell) : Vdei::Variant(name);
      return cell ? clValue : clMissing;
    }
    value = name;
    return clNoCell;
  }
  void CreateColumns() override {
    for (const std::string& name : columns) Columns()->Add()->SetFieldName(name);
  }

 private:
  size_t index_ = 0;
};

// Id (integer), Name (string 20), Amount (float) holding (i, names[i-1],
// i * 1.5) for i from 1.
inline Vdei::TClientDataSet* MakeTable(Vdei::TComponent* owner,
                                       std::initializer_list<const char*> names) {
  auto* table = new Vdei::TClientDataSet(owner);
  table->SetName("Table");
  table->FieldDefs()->Add("Id", Vdei::ftInteger);
  table->FieldDefs()->Add("Name", Vdei::ftString, 20);
  table->FieldDefs()->Add("Amount", Vdei::ftFloat);
  table->CreateDataSet();
  int id = 0;
  for (const char* name : names) {
    table->Append();
    table->Fields(0)->SetAsInteger(++id);
    table->Fields(1)->SetAsString(name);
    table->Fields(2)->SetAsFloat(id * 1.5);
    table->Post();
  }
  table->First();
  return table;
}

// Every record as "Id:Name:Amount" joined by " " (Null as "-").
inline std::string Contents(Vdei::TDataSet& table) {
  std::string text;
  for (table.First(); !table.Eof(); table.Next()) {
    if (!text.empty()) text += " ";
    for (int f = 0; f < table.FieldCount(); ++f) {
      const Vdei::TField* field = table.Fields(f);
      text += (f > 0 ? ":" : "") + (field->IsNull() ? std::string("-") : field->AsString());
    }
  }
  table.First();
  return text;
}

}  // namespace VdImport
