// Fields: defaults by type, texts under the regional settings of the
// moment, conversions and class tests.
#include "dataset/Fields.h"

#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "core/Exception.h"
#include "core/FormatSettings.h"
#include "dataset/ClientDataSet.h"

namespace Vdei {
namespace {

// A one-record table with one field per type given, all null.
struct OneRecord {
  TClientDataSet Table{nullptr};
  explicit OneRecord(std::initializer_list<std::pair<const char*, TFieldType>> fields) {
    for (auto [name, type] : fields) Table.FieldDefs()->Add(name, type, type == ftString ? 8 : 0);
    Table.CreateDataSet();
    Table.Append();
  }
  TField* operator[](const char* name) { return Table.FieldByName(name); }
};

TEST(Field, DefaultsByType) {
  struct Expected {
    TFieldType Type;
    int Width;
    TAlignment Alignment;
  };
  const Expected table[] = {
      {ftString, 8, taLeftJustify},      {ftSmallint, 6, taRightJustify},
      {ftInteger, 11, taRightJustify},   {ftAutoInc, 11, taRightJustify},
      {ftWord, 5, taRightJustify},       {ftBoolean, 5, taLeftJustify},
      {ftFloat, 10, taRightJustify},     {ftCurrency, 10, taRightJustify},
      {ftBCD, 10, taRightJustify},       {ftDate, 10, taLeftJustify},
      {ftTime, 10, taLeftJustify},       {ftDateTime, 18, taLeftJustify},
      {ftMemo, 10, taLeftJustify},       {ftGraphic, 10, taLeftJustify},
  };
  TClientDataSet data(nullptr);
  for (const Expected& e : table)
    data.FieldDefs()->Add(FieldTypeName(e.Type), e.Type, e.Type == ftString ? 8 : 0);
  data.CreateDataSet();
  for (const Expected& e : table) {
    const TField* field = data.FieldByName(FieldTypeName(e.Type));
    SCOPED_TRACE(field->FieldName());
    EXPECT_EQ(field->DataType(), e.Type);
    EXPECT_EQ(field->DisplayWidth(), e.Width);
    EXPECT_EQ(field->Alignment(), e.Alignment);
    EXPECT_EQ(field->DisplayLabel(), field->FieldName());
    EXPECT_TRUE(field->Visible());
    EXPECT_FALSE(field->ReadOnly());
    EXPECT_FALSE(field->Required());
  }
  EXPECT_EQ(static_cast<TFloatField*>(data.FieldByName("ftFloat"))->Precision(), 15);
}

TEST(Field, TextsFollowTheSettingsOfTheMoment) {
  OneRecord r({{"F", ftFloat}, {"C", ftCurrency}, {"N", ftBCD}, {"D", ftDate},
               {"T", ftTime}, {"DT", ftDateTime}, {"B", ftBoolean}, {"I", ftInteger}});
  r["F"]->SetAsFloat(1.5);
  r["C"]->SetAsFloat(-1234.5);
  r["N"]->SetAsString("00123.4500");
  r["D"]->SetAsDateTime(EncodeDate(2001, 3, 15) + EncodeTime(10, 0, 0, 0));
  r["T"]->SetAsDateTime(EncodeTime(14, 30, 5, 0));
  r["DT"]->SetAsDateTime(EncodeDate(2001, 3, 15) + EncodeTime(14, 30, 5, 0));
  r["B"]->SetAsBoolean(true);
  r["I"]->SetAsInteger(1234567);
  r.Table.Post();

  EXPECT_EQ(r["F"]->AsString(), "1.5");
  EXPECT_EQ(r["C"]->AsString(), "-1234.5");
  EXPECT_EQ(r["C"]->DisplayText(), "($1,234.50)");
  EXPECT_EQ(r["N"]->AsString(), "123.45");
  EXPECT_EQ(r["D"]->AsString(), "3/15/2001");  // a date field keeps the date only
  EXPECT_EQ(r["T"]->DisplayText(), "2:30:05 PM");
  EXPECT_EQ(r["DT"]->AsString(), "3/15/2001 2:30:05 PM");
  EXPECT_EQ(r["B"]->AsString(), "True");
  EXPECT_EQ(r["I"]->DisplayText(), "1234567");
  {
    FormatSettingsGuard guard;
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    FormatSettings().DateSeparator = '-';
    FormatSettings().CurrencyString = "EUR";
    EXPECT_EQ(r["F"]->AsString(), "1,5");
    EXPECT_EQ(r["N"]->AsString(), "123,45");
    EXPECT_EQ(r["C"]->DisplayText(), "(EUR1.234,50)");
    EXPECT_EQ(r["D"]->DisplayText(), "3-15-2001");
  }
  EXPECT_EQ(r["F"]->AsString(), "1.5");

  r.Table.Edit();
  for (int i = 0; i < r.Table.FieldCount(); ++i) r.Table.Fields(i)->Clear();
  for (int i = 0; i < r.Table.FieldCount(); ++i) {
    const TField* field = r.Table.Fields(i);
    EXPECT_EQ(field->AsString(), "") << field->FieldName();
    EXPECT_EQ(field->DisplayText(), "") << field->FieldName();
    EXPECT_TRUE(field->Value().IsNull()) << field->FieldName();
    EXPECT_EQ(field->AsFloat(), 0) << field->FieldName();
  }
}

TEST(Field, GetTextHandlerAndPrecision) {
  OneRecord r({{"F", ftFloat}});
  auto* field = static_cast<TFloatField*>(r["F"]);
  field->SetAsFloat(2.0 / 3.0);
  EXPECT_EQ(field->DisplayText(), "0.666666666666667");
  field->SetPrecision(4);
  EXPECT_EQ(field->DisplayText(), "0.6667");
  EXPECT_EQ(field->AsString(), "0.666666666666667");  // the plain text keeps 15 digits
  std::vector<bool> asked;
  field->OnGetText = [&](TField* sender, std::string& text, bool displayText) {
    asked.push_back(displayText);
    text = "<" + sender->FieldName() + ">";
  };
  EXPECT_EQ(field->DisplayText(), "<F>");
  EXPECT_EQ(field->Text(), "<F>");
  EXPECT_EQ(asked, (std::vector<bool>{true, false}));
}

TEST(Field, ConversionsAndValues) {
  OneRecord r({{"S", ftString}, {"W", ftWord}, {"N", ftBCD}, {"B", ftBoolean},
               {"D", ftDateTime}, {"G", ftGraphic}});
  r["S"]->SetAsString("0123456789");  // Size 8: cut
  EXPECT_EQ(r["S"]->AsString(), "01234567");
  std::string buffer;
  const std::string_view view = r["S"]->AsStringView(buffer);
  EXPECT_EQ(view, "01234567");
  EXPECT_TRUE(buffer.empty());  // a view of the stored text, no copy
  EXPECT_EQ(r["S"]->AsInteger(), 1234567);
  r["S"]->SetAsString("x1");
  EXPECT_THROW(r["S"]->AsInteger(), EConvertError);

  EXPECT_THROW(r["W"]->SetAsInteger(-1), EConvertError);
  r["W"]->SetValue(Variant(2.5));  // floats round to the nearest integer
  EXPECT_EQ(r["W"]->Value().Type(), varInteger);
  EXPECT_EQ(r["W"]->AsInteger(), 3);

  r["N"]->SetAsString("9007199254740993");  // beyond a double's exact range
  EXPECT_EQ(r["N"]->AsString(), "9007199254740993");
  EXPECT_EQ(r["N"]->Value().AsInteger(), 9007199254740993);

  r["B"]->SetAsString("no");
  EXPECT_FALSE(r["B"]->AsBoolean());
  EXPECT_EQ(r["B"]->Value().Type(), varBoolean);
  try {
    r["B"]->SetAsString("maybe");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'maybe' is not a valid boolean value for field 'B'");
  }
  r["D"]->SetValue(Variant("3/15/2001 2:30 PM"));
  EXPECT_EQ(r["D"]->Value().Type(), varDateTime);
  EXPECT_EQ(r["D"]->AsString(), "3/15/2001 2:30:00 PM");
  EXPECT_THROW(r["D"]->SetAsString("31/31/2001"), EConvertError);

  r["G"]->SetAsString(std::string("\0\x01picture", 9));
  EXPECT_EQ(static_cast<TBlobField*>(r["G"])->BlobSize(), 9);
  EXPECT_EQ(r["G"]->DisplayText().size(), 9u);
}

TEST(Field, ClassTests) {
  OneRecord r({{"C", ftCurrency}, {"N", ftBCD}, {"I", ftSmallint}, {"T", ftTime},
               {"M", ftMemo}, {"G", ftGraphic}, {"S", ftString}});
  EXPECT_TRUE(r["C"]->IsFloatField() && r["C"]->Is<TFloatField>());
  EXPECT_TRUE(r["N"]->IsNumericField() && !r["N"]->IsFloatField());
  EXPECT_TRUE(r["I"]->IsNumericField() && r["I"]->Is<TIntegerField>());
  EXPECT_TRUE(r["T"]->IsDateTimeField() && r["T"]->Is<TDateTimeField>());
  EXPECT_TRUE(r["M"]->IsBlobField() && r["M"]->Is<TBlobField>());
  EXPECT_EQ(static_cast<TBlobField*>(r["G"])->BlobType(), ftGraphic);
  EXPECT_FALSE(static_cast<TBlobField*>(r["M"])->IsGraphic());
  EXPECT_FALSE(r["S"]->IsNumericField() || r["S"]->IsBlobField() || r["S"]->IsDateTimeField());
  EXPECT_THROW(CreateField(ftCursor), EDatabaseError);
}

}  // namespace
}  // namespace Vdei
