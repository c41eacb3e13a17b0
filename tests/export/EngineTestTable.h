// What the engine tests share: the small in-memory table they export from,
// a walk over an engine, and a one-line description of an export column.
#pragma once

#include <string>

#include "core/StrUtils.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Fields.h"
#include "export/VdEEngine.h"

namespace VdExport {

// CustNo (integer), Company (string 20), Amount (float, Precision 4), with
// the records (1, "Alpha", 1.5), (2, "Beta", 2.5), (3, "Gamma", 3.5) up to
// the count asked for, positioned on the first record.
inline Vdei::TClientDataSet* MakeEngineTable(Vdei::TComponent* owner, int records = 3) {
  static const char* const kCompanies[] = {"Alpha", "Beta", "Gamma"};
  auto* table = new Vdei::TClientDataSet(owner);
  table->FieldDefs()->Add("CustNo", Vdei::ftInteger);
  table->FieldDefs()->Add("Company", Vdei::ftString, 20);
  table->FieldDefs()->Add("Amount", Vdei::ftFloat);
  table->CreateDataSet();
  static_cast<Vdei::TFloatField*>(table->FieldByName("Amount"))->SetPrecision(4);
  for (int i = 0; i < records; ++i) {
    table->Append();
    table->Fields(0)->SetAsInteger(i + 1);
    table->Fields(1)->SetAsString(kCompanies[i % 3]);
    table->Fields(2)->SetAsFloat(i + 1.5);
    table->Post();
  }
  table->First();
  return table;
}

// The values of column met walking engine from MoveFirst to IsEof.
template <class Engine>
std::string Walk(Engine& engine, TVdEColumn& column) {
  std::string seen;
  for (engine.MoveFirst(); !engine.IsEof(); engine.MoveNext()) {
    seen += engine.GetValue(column).AsString();
  }
  return seen;
}

// "FieldName aAlignment wWidth pPrecision tDataType (hidden) cColor
// fFontSize | Caption aAlignment cColor fFontSize (bold)" of a column
// and its title, colours in hexadecimal.
inline std::string Describe(const TVdEColumn& c) {
  const TVdEColumnTitle& t = *c.Title();
  return Vdei::Format("%s a%d w%d p%d t%d%s c%X f%d | %s a%d c%X f%d%s", c.FieldName().c_str(),
                      c.Alignment(), c.Width(), c.Precision(), c.DataType(),
                      c.Visible() ? "" : " hidden", c.Color(), c.Font()->Size(),
                      t.Caption().c_str(), t.Alignment(), t.Color(), t.Font()->Size(),
                      t.Font()->HasStyle(Vdei::fsBold) ? " bold" : "");
}

inline std::string FieldNames(const TVdEColumns& columns) {
  std::string names;
  for (int i = 0; i < columns.Count(); ++i) names += columns[i]->FieldName() + ";";
  return names;
}

}  // namespace VdExport
