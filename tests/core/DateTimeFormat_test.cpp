#include "core/DateTimeFormat.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/Exception.h"
#include "core/FormatSettings.h"

namespace Vdei {
namespace {

// 5 March 2001, 14:07:09.045, a Monday.
const TDateTime kAfternoon = EncodeDate(2001, 3, 5) + EncodeTime(14, 7, 9, 45);

class DateTimeFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockForTesting([] { return EncodeDate(2024, 6, 1); });
  }
  void TearDown() override { SetClockForTesting(nullptr); }
  FormatSettingsGuard guard_;
};

TEST_F(DateTimeFormatTest, EveryLetter) {
  EXPECT_EQ(FormatDateTime("yyyy yy yyy", kAfternoon), "2001 01 2001");
  EXPECT_EQ(FormatDateTime("m mm mmm mmmm MMMMM", kAfternoon), "3 03 Mar March March");
  EXPECT_EQ(FormatDateTime("d dd ddd dddd", kAfternoon), "5 05 Mon Monday");
  EXPECT_EQ(FormatDateTime("ddddd", kAfternoon), "3/5/2001");
  EXPECT_EQ(FormatDateTime("dddddd", kAfternoon), "Monday, March 5, 2001");
  EXPECT_EQ(FormatDateTime("h hh n nn s ss z zzz", kAfternoon), "14 14 7 07 9 09 45 045");
  EXPECT_EQ(FormatDateTime("HH:NN:SS.ZZZ", kAfternoon), "14:07:09.045");
  EXPECT_EQ(FormatDateTime("t", kAfternoon), "2:07 PM");
  EXPECT_EQ(FormatDateTime("tt", kAfternoon), "2:07:09 PM");
  EXPECT_EQ(FormatDateTime("c", kAfternoon), "3/5/2001 2:07:09 PM");
  EXPECT_EQ(FormatDateTime("", kAfternoon), "3/5/2001 2:07:09 PM");
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(5, 1, 1)), "0005");
}

TEST_F(DateTimeFormatTest, MinutesAfterAnHour) {
  EXPECT_EQ(FormatDateTime("h:mm", kAfternoon), "14:07");
  EXPECT_EQ(FormatDateTime("hh\"h\"m", kAfternoon), "14h7");
  EXPECT_EQ(FormatDateTime("mm/dd h:m mm", kAfternoon), "03/05 14:7 03");
}

TEST_F(DateTimeFormatTest, TwelveHourClocks) {
  TDateTime midnight = EncodeDate(2001, 3, 5);
  TDateTime noon = midnight + 0.5;
  EXPECT_EQ(FormatDateTime("h am/pm", kAfternoon), "2 pm");
  EXPECT_EQ(FormatDateTime("h AM/PM", midnight), "12 AM");
  EXPECT_EQ(FormatDateTime("hh Am/Pm", noon), "12 Pm");
  EXPECT_EQ(FormatDateTime("h a/p", kAfternoon), "2 p");
  EXPECT_EQ(FormatDateTime("h A/P", midnight + 0.25), "6 A");
  EXPECT_EQ(FormatDateTime("h ampm", kAfternoon), "2 PM");
  // The designator makes only the hours before it 12-hour ones.
  EXPECT_EQ(FormatDateTime("h ampm hh", kAfternoon), "2 PM 14");
  EXPECT_EQ(FormatDateTime("h \"am/pm\"", kAfternoon), "14 am/pm");
  EXPECT_EQ(FormatDateTime("h a", kAfternoon), "14 a");
  FormatSettings().TimePMString = "nachm.";
  EXPECT_EQ(FormatDateTime("h:nn ampm", kAfternoon), "2:07 nachm.");
}

TEST_F(DateTimeFormatTest, QuotedLiteralsAndSeparators) {
  EXPECT_EQ(FormatDateTime("'d/m' \"yyyy\" d", kAfternoon), "d/m yyyy 5");
  EXPECT_EQ(FormatDateTime("d 'unterminated", kAfternoon), "5 unterminated");
  EXPECT_EQ(FormatDateTime("[d] - x", kAfternoon), "[5] - x");
  FormatSettings().DateSeparator = '.';
  FormatSettings().TimeSeparator = '-';
  EXPECT_EQ(FormatDateTime("d/m/yyyy h:nn", kAfternoon), "5.3.2001 14-07");
  EXPECT_EQ(FormatDateTime("d'/'m", kAfternoon), "5/3");
  EXPECT_EQ(DateTimeToStr(kAfternoon), "3.5.2001 2-07-09 PM");
}

TEST_F(DateTimeFormatTest, DateTimeToStrLeavesOutOnlyAZeroTime) {
  TDateTime day = EncodeDate(1999, 12, 31);
  EXPECT_EQ(DateTimeToStr(day), "12/31/1999");
  EXPECT_EQ(DateTimeToStr(day + EncodeTime(0, 0, 0, 1)), "12/31/1999 12:00:00 AM");
  EXPECT_EQ(DateTimeToStr(0), "12/30/1899");
  EXPECT_EQ(DateTimeToStr(-1.25), "12/29/1899 6:00:00 AM");
  EXPECT_EQ(DateToStr(kAfternoon), "3/5/2001");
  EXPECT_EQ(TimeToStr(kAfternoon), "2:07:09 PM");
  // 23:59:59.9996 rounds into the next day, which then has no time.
  EXPECT_EQ(DateTimeToStr(day + 0.99999999999), "1/1/2000");
  EXPECT_THROW(DateTimeToStr(std::numeric_limits<double>::quiet_NaN()), EConvertError);
  EXPECT_THROW(FormatDateTime("yyyy", 1e300), EConvertError);
}

TEST_F(DateTimeFormatTest, StrToDateInTheShortDateOrder) {
  EXPECT_EQ(StrToDate("3/15/2001"), EncodeDate(2001, 3, 15));
  EXPECT_EQ(StrToDate(" 12/31/1999 "), EncodeDate(1999, 12, 31));
  EXPECT_EQ(StrToDate("3/15"), EncodeDate(2024, 3, 15));       // the current year
  EXPECT_EQ(StrToDate("2001/3/15"), EncodeDate(2001, 3, 15));  // a four-digit year first
  FormatSettings().ShortDateFormat = "dd.mm.yyyy";
  FormatSettings().DateSeparator = '.';
  EXPECT_EQ(StrToDate("15.03.2001"), EncodeDate(2001, 3, 15));
  EXPECT_EQ(StrToDate("15.3"), EncodeDate(2024, 3, 15));
  EXPECT_THROW(StrToDate("3/15/2001"), EConvertError);
  FormatSettings().ShortDateFormat = "yyyy-mm-dd";
  FormatSettings().DateSeparator = '-';
  EXPECT_EQ(StrToDate("2001-03-15"), EncodeDate(2001, 3, 15));
}

TEST_F(DateTimeFormatTest, TwoDigitYearsFallInTheWindowAroundNow) {
  // The window for 2024 is 1974..2073.
  EXPECT_EQ(StrToDate("1/1/74"), EncodeDate(1974, 1, 1));
  EXPECT_EQ(StrToDate("1/1/73"), EncodeDate(2073, 1, 1));
  EXPECT_EQ(StrToDate("1/1/00"), EncodeDate(2000, 1, 1));
  EXPECT_EQ(StrToDate("1/1/99"), EncodeDate(1999, 1, 1));
  EXPECT_EQ(StrToDate("1/1/0099"), EncodeDate(99, 1, 1));  // four digits are taken as written
  SetClockForTesting([] { return EncodeDate(2090, 1, 1); });
  EXPECT_EQ(StrToDate("1/1/40"), EncodeDate(2040, 1, 1));
  EXPECT_EQ(StrToDate("1/1/39"), EncodeDate(2139, 1, 1));
}

TEST_F(DateTimeFormatTest, BadDateAndTimeTexts) {
  TDateTime value = 5;
  for (const char* bad : {"", "3", "2/30/2001", "13/1/2001", "3/15/2001x", "3-15-2001", "a/b/c",
                          "3/15/20011", "3//2001", "3/15/2001/1"}) {
    EXPECT_FALSE(TryStrToDate(bad, value)) << bad;
  }
  for (const char* bad : {"", "25:00", "12:60", "1:2:3:4", "13:00 PM", "0 AM", "14", "x"}) {
    EXPECT_FALSE(TryStrToTime(bad, value)) << bad;
  }
  EXPECT_EQ(value, 5);
  try {
    StrToDate("nope");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'nope' is not a valid date");
  }
  EXPECT_THROW(StrToTime("nope"), EConvertError);
  try {
    StrToDateTime("3/15/2001 nope");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'3/15/2001 nope' is not a valid date and time");
  }
}

TEST_F(DateTimeFormatTest, TimesAndDateTimesReadBack) {
  EXPECT_DOUBLE_EQ(StrToTime("14:07"), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("2:07:09 PM"), EncodeTime(14, 7, 9, 0));
  EXPECT_DOUBLE_EQ(StrToTime("12:00 am"), 0);
  EXPECT_DOUBLE_EQ(StrToTime("12:30 PM"), EncodeTime(12, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("3 PM"), EncodeTime(15, 0, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("1:02:03.5"), EncodeTime(1, 2, 3, 500));
  EXPECT_DOUBLE_EQ(StrToDateTime("3/5/2001 2:07:09 PM"),
                   EncodeDate(2001, 3, 5) + EncodeTime(14, 7, 9, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("3/5/2001"), EncodeDate(2001, 3, 5));
  EXPECT_DOUBLE_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
  // What DateTimeToStr writes, StrToDateTime reads, before the epoch too.
  for (TDateTime v : {kAfternoon, EncodeDate(1850, 6, 1) - 0.75, 0.5, 36526.0}) {
    EXPECT_EQ(DateTimeToStr(StrToDateTime(DateTimeToStr(v))), DateTimeToStr(v));
  }
  FormatSettings().TimeSeparator = '.';
  FormatSettings().DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(StrToTime("14.07.09,250"), EncodeTime(14, 7, 9, 250));
}

}  // namespace
}  // namespace Vdei
