#include "import/VdIConvert.h"

#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/FormatSettings.h"
#include "core/Properties.h"
#include "dataset/Fields.h"
#include "import/VdIUtils.h"

namespace VdImport {
namespace {

using Vdei::Variant;

template <class F>
std::unique_ptr<F> Named(const char* name) {
  auto field = std::make_unique<F>();
  field->SetFieldName(name);
  return field;
}

template <class F>
Variant Convert(Variant value, const std::unique_ptr<F>& field, const TVdIDataFormats& formats,
                int importKind = 2, bool allowsCData = false) {
  ConvertFieldValue(value, *field, formats, importKind, allowsCData);
  return value;
}

TEST(DataFormatsTest, LoadsRegionalSettingsAndAssignsAllTwelve) {
  Vdei::FormatSettingsGuard guard;
  Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  settings.DateSeparator = '.';
  settings.DecimalSeparator = ',';
  settings.ThousandSeparator = '.';
  settings.CurrencyString = "EUR";
  settings.ShortDateFormat = "dd.MM.yy";
  TVdIDataFormats loaded;
  EXPECT_EQ(loaded.DateSeparator(), '.');
  EXPECT_EQ(loaded.DecimalSeparator(), ',');
  EXPECT_EQ(loaded.ThousandSeparator(), '.');
  EXPECT_EQ(loaded.CurrencyString(), "EUR");
  EXPECT_FALSE(loaded.FourDigitYear());
  EXPECT_TRUE(loaded.LeadingZerosInDate());
  EXPECT_EQ(loaded.BooleanTrue(), "True");

  TVdIDataFormats source;
  source.SetDateOrder(doYDM);
  source.SetTimeSeparator('-');
  source.SetFourDigitYear(true);
  source.SetLeadingZerosInDate(false);
  source.SetCustomDateTimeFormat("yyyymmdd");
  source.SetBooleanTrue("Yes");
  source.SetBooleanFalse("No");
  source.SetUseRegionalSettings(true);
  loaded.Assign(source);
  const auto properties = source.ClassInfo().AllProperties();
  ASSERT_EQ(properties.size(), 12u);
  EXPECT_EQ(properties.front()->Name, "DateOrder");
  EXPECT_EQ(properties.back()->Name, "UseRegionalSettings");
  for (const Vdei::TPropInfo* property : properties) {
    EXPECT_EQ(GetPropValue(loaded, property->Name), GetPropValue(source, property->Name))
        << property->Name;
  }
  loaded.LoadFromRegionalSettings();
  EXPECT_EQ(loaded.CustomDateTimeFormat(), "");
  EXPECT_EQ(loaded.DateOrder(), doMDY);
  EXPECT_EQ(loaded.BooleanTrue(), "Yes");  // left as it was
  EXPECT_TRUE(loaded.UseRegionalSettings());
}

TEST(ConvertFieldValueTest, IntegersFromTextsBlanksAndTheFieldsOwnName) {
  TVdIDataFormats formats;
  const auto field = Named<Vdei::TIntegerField>("CustNo");
  EXPECT_EQ(Convert(" 42 ", field, formats), Variant(42));
  EXPECT_EQ(Convert("   ", field, formats), Variant(0));
  EXPECT_EQ(Convert("CUSTNO", field, formats), Variant(0));
  EXPECT_EQ(Convert("12a", field, formats), Variant("12a"));
  EXPECT_EQ(Convert(Variant::Null(), field, formats).Type(), Vdei::varNull);
  EXPECT_THROW(Convert("1.5", field, formats), Vdei::EConvertError);
  EXPECT_EQ(Convert("7", Named<Vdei::TSmallintField>("S"), formats), Variant(7));
}

TEST(ConvertFieldValueTest, FloatsInBothSeparatorConventionsLeaveSettingsAlone) {
  TVdIDataFormats formats;
  const auto field = Named<Vdei::TFloatField>("Amount");
  EXPECT_EQ(Convert("$1,234.50", field, formats), Variant(1234.5));
  EXPECT_EQ(Convert("amount", field, formats), Variant(0));
  EXPECT_EQ(Convert("$amount", field, formats), Variant(0));
  EXPECT_EQ(Convert("$12 apples", field, formats), Variant("12 apples"));
  formats.SetDecimalSeparator(',');
  formats.SetThousandSeparator('.');
  formats.SetCurrencyString("EUR");
  EXPECT_EQ(Convert("1.234,50 EUR", field, formats), Variant(1234.5));
  EXPECT_EQ(Convert("-0,5", Named<Vdei::TCurrencyField>("C"), formats), Variant(-0.5));
  EXPECT_EQ(Vdei::FormatSettings().DecimalSeparator, '.');
  formats.SetThousandSeparator(',');  // equal separators keep the decimals
  EXPECT_EQ(Convert("1,5", field, formats), Variant(1.5));
}

TEST(ConvertFieldValueTest, DatesAndTimesByTheReadersMasks) {
  Vdei::SetClockForTesting([] { return Vdei::EncodeDate(2026, 1, 1); });
  TVdIDataFormats formats;
  const auto date = Named<Vdei::TDateField>("ShipDate");
  EXPECT_EQ(Convert("3/15/2001 14:30:00", Named<Vdei::TDateTimeField>("At"), formats).AsFloat(),
            Vdei::EncodeDate(2001, 3, 15) + Vdei::EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(Convert("shipdate", date, formats), Variant(0));
  EXPECT_EQ(Convert(" ", date, formats), Variant(0));
  EXPECT_EQ(Convert("nothing", date, formats).AsFloat(), 0);
  EXPECT_EQ(Convert(Variant(2.5), date, formats), Variant(2.5));  // numbers pass
  EXPECT_THROW(Convert("2/30/2001", date, formats), Vdei::EConvertError);
  formats.SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  const Variant xml = Convert("19880113T000000000", date, formats, kImportKindXML);
  EXPECT_EQ(xml.Type(), Vdei::varDateTime);
  EXPECT_EQ(xml.AsFloat(), Vdei::EncodeDate(1988, 1, 13));
  EXPECT_EQ(Convert("070509", Named<Vdei::TTimeField>("T"), formats, kImportKindXML).AsFloat(),
            Vdei::EncodeTime(7, 5, 9, 0));
  Vdei::SetClockForTesting({});
}

TEST(ConvertFieldValueTest, BooleanWordsAndBlobUnwrapping) {
  TVdIDataFormats formats;
  const auto flag = Named<Vdei::TBooleanField>("Paid");
  const char* texts[] = {"Y", "N", "1", "0", "True", "False", "T", "F"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Convert(texts[i], flag, formats), Variant(i % 2 == 0));
  EXPECT_EQ(Convert("yes", flag, formats), Variant("yes"));
  EXPECT_EQ(Convert("true", flag, formats), Variant("true"));

  const auto blob = Named<Vdei::TBlobField>("Photo");
  EXPECT_EQ(Convert("QUJD", blob, formats, kImportKindXML, true), Variant("ABC"));
  EXPECT_EQ(Convert("QUJD", blob, formats, 3, false), Variant("QUJD"));
  EXPECT_EQ(Convert("[CDATA[QUJD]]", blob, formats, kImportKindXML, true), Variant("ABC"));
  EXPECT_EQ(Convert("[CDATA[QUJD]]", Named<Vdei::TStringField>("S"), formats, 7, true),
            Variant("ABC"));
  EXPECT_EQ(Convert("[CDATA[NDI=]]", Named<Vdei::TIntegerField>("N"), formats, 7, true),
            Variant(42));
  EXPECT_THROW(Convert("not base64!", blob, formats, kImportKindXML, true), Vdei::EConvertError);
}

}  // namespace
}  // namespace VdImport
