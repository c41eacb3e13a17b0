#include "export/VdEEngine.h"

#include <gtest/gtest.h>

#include "EngineTestTable.h"
#include "core/Exception.h"
#include "core/Properties.h"

namespace VdExport {
namespace {

using namespace Vdei;

TEST(MapCellType, EveryFieldTypeWithBlankIfZeroOffAndOn) {
  // The cell type of each field type by ordinal with the flag off (types
  // after ftCursor are text); numbers and dates give ctBlank / ctString
  // with it on.
  const std::string plain = "SSIIISD$DdtTSSIMMGMMMMS";
  const std::string codes = "SIDdt$TMG";
  const TCellType cells[] = {ctString,   ctInteger,  ctDouble, ctDate,   ctTime,
                             ctCurrency, ctDateTime, ctMEMO,   ctGraphic};
  const Variant zeros[] = {Variant(0),   Variant("0"),         Variant::Null(),     Variant(),
                           Variant(0.0), Variant::Currency(0), Variant::DateTime(0)};
  const Variant others[] = {Variant(5), Variant("5"), Variant("abc"), Variant::DateTime(36526.5),
                            Variant::Array(0, 1)};
  for (int type = 0; type <= 23; ++type) {
    const char code = plain[type < 23 ? type : 22];
    const TCellType expected = cells[codes.find(code)];
    const bool numeric = std::string("ID$dtT").find(code) != std::string::npos;
    const auto fieldType = static_cast<TFieldType>(type);
    SCOPED_TRACE(type);
    for (const Variant& value : zeros) {
      EXPECT_EQ(MapCellType(fieldType, value, false), expected);
      EXPECT_EQ(MapCellType(fieldType, value, true), numeric ? ctBlank : expected);
    }
    for (const Variant& value : others) {
      EXPECT_EQ(MapCellType(fieldType, value, true), numeric ? ctString : expected);
    }
  }
  const TFieldType back[] = {ftString,   ftInteger, ftFloat, ftString,  ftDateTime, ftDate,
                             ftCurrency, ftTime,    ftMemo,  ftGraphic, ftString};
  for (int cell = 0; cell <= 10; ++cell) {
    EXPECT_EQ(MapColumnFieldType(static_cast<TCellType>(cell)), back[cell]) << cell;
  }
}

TEST(VdEColumn, PublishedSettersAndAssignCopyEverySetting) {
  TVdEColumns columns(nullptr);
  TVdEColumn* source = columns.Add();
  TObject* title = GetObjectProp(*source, "Title");
  ASSERT_EQ(title, source->Title());

  for (auto [name, value] : {std::pair<const char*, Variant>{"FieldName", "Amount"},
                             {"Alignment", "taCenter"},
                             {"Color", 0xFF},
                             {"Width", 12},
                             {"Precision", 3},
                             {"Visible", false},
                             {"DataType", "ctCurrency"},
                             {"ColumnKind", "ckConstant"}}) {
    SetPropValue(*source, name, value);
  }
  SetPropValue(*title, "Caption", "Sum");
  SetPropValue(*title, "Alignment", "taRightJustify");
  SetPropValue(*title, "Color", 0xFF00);
  TFont font;
  font.SetSize(14);
  source->SetFont(&font);
  SetObjectProp(*title, "Font", &font);
  font.SetSize(20);  // the column and title hold copies
  const std::string described = "Amount a2 w12 p3 t6 hidden cFF f14 | Sum a1 cFF00 f14";
  EXPECT_EQ(Describe(*source), described);

  TVdEColumn* copy = columns.Add();
  copy->Assign(*source);
  EXPECT_EQ(Describe(*copy), described);
  EXPECT_EQ(copy->ColumnKind(), ckConstant);
  EXPECT_EQ(columns.UpdateCount(), 0);
  EXPECT_THROW(copy->Assign(font), EConvertError);
}

TEST(VdECustomDataEngine, RaisesItsEventsAndDeliversNoRecord) {
  TVdECustomDataEngine engine(nullptr);
  std::string log;
  auto note = [&](const char* what) {
    return [&log, &engine, what](TObject* sender) {
      EXPECT_EQ(sender, &engine);
      log += what;
    };
  };
  engine.OnFirst = note("F");
  engine.OnBeforeExecute = note("B");
  engine.OnAfterExecute = note("A");
  engine.OnNext = [&](TObject*, bool& abort) { log += "N", abort = true; };
  engine.OnCount = [](TObject*, int& count) { count += 7; };
  TVdEColumns columns(nullptr);
  columns.Add()->SetFieldName("old");
  engine.OnFillColumns = [&](TObject* sender) {
    EXPECT_EQ(sender, &columns);
    EXPECT_EQ(columns.Count(), 0);
    columns.Add()->SetFieldName("mine");
  };

  engine.SavePosition();
  engine.MoveFirst();
  engine.MoveNext();
  engine.RestorePosition();
  engine.FillColumns(columns, true);
  EXPECT_EQ(log, "BFNA");
  EXPECT_TRUE(engine.NextAborted());
  EXPECT_EQ(engine.GetRecordCount(), 7);
  EXPECT_EQ(FieldNames(columns), "mine;");
  EXPECT_TRUE(engine.IsEof());
  EXPECT_TRUE(engine.GetValue(*columns[0]).IsNull());
  columns[0]->SetDataType(ctTime);
  EXPECT_EQ(engine.GetColumnFieldType(*columns[0]), ftTime);
}

}  // namespace
}  // namespace VdExport
