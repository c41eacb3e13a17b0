#include "AllTypesTable.h"

#include "core/DateTime.h"
#include "dataset/Fields.h"

namespace VdeiTest {

using namespace Vdei;

TClientDataSet* MakeAllTypesTable(TComponent* owner) {
  auto* table = new TClientDataSet(owner);
  TFieldDefs& defs = *table->FieldDefs();
  defs.Add("Name", ftString, 40, true);
  defs.Add("Small", ftSmallint);
  defs.Add("Int", ftInteger);
  defs.Add("Word", ftWord);
  defs.Add("Flag", ftBoolean);
  defs.Add("Unit Price (%)", ftFloat);
  defs.Add("Money", ftCurrency);
  defs.Add("Exact", ftBCD);
  defs.Add("Day", ftDate);
  defs.Add("Clock", ftTime);
  defs.Add("Stamp", ftDateTime);
  defs.Add("Id", ftAutoInc);
  defs.Add("Bytes", ftBlob);
  defs.Add("Note", ftMemo);
  defs.Add("Picture", ftGraphic);
  table->CreateDataSet();
  auto set = [table](const char* name, std::string_view text) {
    table->FieldByName(name)->SetAsString(text);
  };
  table->Append();
  set("Name", "A & B <\"q\"> 'x' |\r\n\x99\xA9\xB0\xB1\xB6");
  set("Small", "-5");
  set("Int", "17");
  set("Word", "65535");
  table->FieldByName("Flag")->SetAsBoolean(true);
  table->FieldByName("Unit Price (%)")->SetAsFloat(1.5);
  table->FieldByName("Money")->SetAsFloat(1234.5);
  set("Exact", "12345678901234567890.25");
  table->FieldByName("Day")->SetAsDateTime(EncodeDate(2001, 3, 15));
  table->FieldByName("Clock")->SetAsDateTime(EncodeTime(7, 5, 9, 0));
  table->FieldByName("Stamp")->SetAsDateTime(EncodeDate(2001, 3, 15) + EncodeTime(14, 30, 5, 123));
  set("Bytes", std::string_view("\0\x01\x02"
                                "BM\xFF",
                                6));
  set("Note", "two\r\nlines & more");
  set("Picture", "GIF89a");
  table->Post();
  table->Append();
  set("Name", "");
  table->Post();
  table->Append();
  set("Name", "Z");
  for (const char* name : {"Small", "Int", "Word", "Unit Price (%)", "Money", "Exact"}) {
    set(name, "0");
  }
  table->FieldByName("Flag")->SetAsBoolean(false);
  table->FieldByName("Day")->SetAsDateTime(0);
  table->FieldByName("Clock")->SetAsDateTime(0);
  table->FieldByName("Stamp")->SetAsDateTime(EncodeDate(2001, 3, 15));
  table->Post();
  table->FieldByName("Id")->SetReadOnly(true);
  table->First();
  return table;
}

}  // namespace VdeiTest
