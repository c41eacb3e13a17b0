#include "import/VdIUtils.h"

#include <gtest/gtest.h>

#include "core/DateTimeFormat.h"
#include "core/Exception.h"
#include "core/FormatSettings.h"

namespace VdImport {
namespace {

using Vdei::EncodeDate;
using Vdei::EncodeTime;
using Vdei::TDateTime;

class ParseDateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Vdei::SetClockForTesting([] { return EncodeDate(2026, 6, 15) + EncodeTime(9, 0, 0, 0); });
  }
  void TearDown() override { Vdei::SetClockForTesting({}); }

  static TDateTime Parse(const char* text, const char* mask) {
    return ParseDateTime(text, mask, '/', ':');
  }
  static TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
    return EncodeDate(y, m, d) + EncodeTime(h, n, s, ms);
  }
};

TEST(MaskTest, MasksFollowDateOrderSeparatorsAndImportKind) {
  TVdIDataFormats formats;
  EXPECT_EQ(GetDateTimeMask(formats, 2), "MM/DD/YYYY HH:NN:SS");
  EXPECT_EQ(GetTimeMask(formats, 2), "HH:NN:SS");
  EXPECT_EQ(GetTimeMask(formats, kImportKindXML), "THH:NN:SS");
  const char* expected[] = {"MM.DD.YY", "DD.MM.YY", "YY.MM.DD", "YY.DD.MM", "DD.YY.MM", "MM.YY.DD"};
  formats.SetDateSeparator('.');
  formats.SetFourDigitYear(false);
  for (int order = doMDY; order <= doMYD; ++order) {
    formats.SetDateOrder(static_cast<TVdIDateOrder>(order));
    EXPECT_EQ(GetDateTimeMask(formats, 2), std::string(expected[order]) + " HH:NN:SS");
  }
  formats.SetTimeSeparator('\0');
  EXPECT_EQ(GetTimeMask(formats, 2), "HHNNSS");
  formats.SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  EXPECT_EQ(GetDateTimeMask(formats, kImportKindXML), "YYYYMMDDTHHNNSSZZZ");
}

// Dates, times and date-times written as the XML package writes them read
// back to the same value under the client's XML reader settings.
TEST_F(ParseDateTimeTest, ReadsBackEveryTextTheXmlWriterWrites) {
  TVdIDataFormats formats;
  formats.SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  const std::string dateMask = GetDateTimeMask(formats, kImportKindXML);
  const std::string timeMask = GetTimeMask(formats, kImportKindXML);
  int checked = 0;
  for (TDateTime day = EncodeDate(1900, 1, 1); day < EncodeDate(2100, 1, 1); day += 97) {
    const int h = checked % 24, n = (checked * 7) % 60, s = (checked * 13) % 60;
    const int ms = (checked * 37) % 1000;
    const TDateTime time = EncodeTime(h, n, s, ms);
    const TDateTime wholeSeconds = EncodeTime(h, n, s, 0);
    const std::string date = Vdei::FormatDateTime("yyyymmdd", day);
    ASSERT_EQ(ParseDateTime(date, dateMask, '/', ':'), day) << date;
    const std::string timeText = Vdei::FormatDateTime("hhnnss", wholeSeconds);
    ASSERT_EQ(ParseDateTime(timeText, timeMask, '/', ':'), wholeSeconds) << timeText;
    const std::string stamp = time == 0 ? date
                                        : date + "T" + Vdei::FormatDateTime("hh:nn:ss", time) +
                                              Vdei::FormatDateTime("zzz", time);
    ASSERT_EQ(ParseDateTime(stamp, dateMask, '/', ':'), day + time) << stamp;
    ++checked;
  }
  EXPECT_GT(checked, 700);
  EXPECT_EQ(Parse("20010315T14:30:05123", "YYYYMMDDTHHNNSSZZZ"), At(2001, 3, 15, 14, 30, 5, 123));
  EXPECT_EQ(Parse("19880113T000000000", "YYYYMMDDTHHNNSSZZZ"), At(1988, 1, 13));
  EXPECT_EQ(Parse("070509", "THH:NN:SS"), At(1899, 12, 30, 7, 5, 9));
  // A placeholder never takes a digit: the XML reader's default mask.
  EXPECT_EQ(Parse("03/15/2001 14:30:00", "MM/DD/YYYY THH:NN:SS"), At(2001, 3, 15, 14, 30));
}

TEST_F(ParseDateTimeTest, AlignsShortPartsSeparatorsAndDayHalves) {
  EXPECT_EQ(Parse("1/5/2001", "MM/DD/YYYY HH:NN:SS"), At(2001, 1, 5));
  EXPECT_EQ(Parse("12/31/2001 14:30", "MM/DD/YYYY HH:NN:SS"), At(2001, 12, 31, 14, 30));
  EXPECT_EQ(Parse("19880113", "YYYY/MM/DD"), At(1988, 1, 13));
  EXPECT_EQ(ParseDateTime("5.3.01", "DD.MM.YY HH:NN:SS", '.', ':'), At(2001, 3, 5));
  EXPECT_EQ(Parse("11:59 PM", "HH:NN:SS"), At(1899, 12, 30, 23, 59));
  EXPECT_EQ(Parse("12:30:00 PM", "HH:NN:SS"), At(1899, 12, 30, 12, 30));
  EXPECT_EQ(Parse("12:15am", "HH:NN:SS"), At(1899, 12, 30, 0, 15));
  EXPECT_EQ(Parse("3/15/2001 1:05:09 pm", "MM/DD/YYYY HH:NN:SS"), At(2001, 3, 15, 13, 5, 9));
  EXPECT_EQ(Parse("", "MM/DD/YYYY"), 0);
  EXPECT_EQ(Parse("3/15", "MM/DD/YYYY"), 0);  // no year: no date
}

TEST_F(ParseDateTimeTest, ReadsMonthNamesInEnglishAndFromRegionalSettings) {
  EXPECT_EQ(Parse("Mar/5/2001", "MMM/DD/YYYY"), At(2001, 3, 5));
  EXPECT_EQ(Parse("5 MARCH 2001", "DD MMM YYYY"), At(2001, 3, 5));
  EXPECT_EQ(Parse("5 september 2001", "DD MMMMMMMMM YYYY"), At(2001, 9, 5));
  Vdei::FormatSettingsGuard guard;
  Vdei::FormatSettings().LongMonthNames[2] = "Maerz";
  EXPECT_EQ(Parse("5 Maerz 2001", "DD MMM YYYY"), At(2001, 3, 5));
  EXPECT_THROW(Parse("5 Foo 2001", "DD MMM YYYY"), Vdei::EConvertError);
}

TEST_F(ParseDateTimeTest, PlacesTwoDigitYearsAroundTheClock) {
  EXPECT_EQ(Parse("1/1/88", "MM/DD/YY"), At(1988, 1, 1));
  EXPECT_EQ(Parse("1/1/50", "MM/DD/YY"), At(2050, 1, 1));
  EXPECT_EQ(Parse("1/1/76", "MM/DD/YY"), At(1976, 1, 1));
  EXPECT_EQ(Parse("1/1/75", "MM/DD/YY"), At(2075, 1, 1));
  EXPECT_EQ(Parse("1/1/00", "MM/DD/YY"), At(2000, 1, 1));
  Vdei::SetClockForTesting([] { return EncodeDate(2075, 1, 1); });
  EXPECT_EQ(Parse("1/1/24", "MM/DD/YY"), At(2124, 1, 1));
  EXPECT_EQ(Parse("1/1/25", "MM/DD/YY"), At(2025, 1, 1));
}

TEST_F(ParseDateTimeTest, RejectsImpossibleDatesTimesAndNonNumbers) {
  for (const char* text : {"2/31/2001", "2/29/2001", "13/01/2001", "0/10/2001", "1x/05/2001",
                           "1/1/2001 25:00:00", "1/1/2001 10:60", "1/1/2001 10:1o"}) {
    EXPECT_THROW(Parse(text, "MM/DD/YYYY HH:NN:SS"), Vdei::EConvertError) << text;
  }
  EXPECT_EQ(Parse("2/29/2000", "MM/DD/YYYY"), At(2000, 2, 29));
}

TEST(IsNumericTest, AcceptsWholeDecimalNumbersOnly) {
  for (const char* text : {"12", "  12", "-1.5", "+.5", "1.", "1.5E3", "2e-3"}) {
    EXPECT_TRUE(IsNumeric(text, '.')) << text;
  }
  for (const char* text : {"", ".", "12 ", "1,5", "1.2.3", "abc", "1e", "--1", "$12", "1 2"}) {
    EXPECT_FALSE(IsNumeric(text, '.')) << text;
  }
  EXPECT_TRUE(IsNumeric("1,5", ','));
  EXPECT_FALSE(IsNumeric("1.5", ','));
  Vdei::FormatSettingsGuard guard;
  Vdei::FormatSettings().DecimalSeparator = ',';
  EXPECT_TRUE(IsNumeric("1,5"));
}

}  // namespace
}  // namespace VdImport
