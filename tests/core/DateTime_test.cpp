#include "core/DateTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "core/Exception.h"

namespace Vdei {
namespace {

struct Civil {
  int Year, Month, Day;
};

Civil DecodedDate(TDateTime value) {
  Civil c{};
  DecodeDate(value, c.Year, c.Month, c.Day);
  return c;
}

TEST(DateTime, EncodeKnownDays) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61);  // 1900 was no leap year
  EXPECT_EQ(EncodeDate(1970, 1, 1), kUnixDateDelta);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, LeapYearsAndInvalidArguments) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2001, 13), 0);
  TDateTime d = 42;
  EXPECT_TRUE(TryEncodeDate(2004, 2, 29, d));
  EXPECT_FALSE(TryEncodeDate(2003, 2, 29, d));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, d));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, d));
  EXPECT_FALSE(TryEncodeDate(2001, 0, 1, d));
  EXPECT_FALSE(TryEncodeDate(2001, 4, 31, d));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, d));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, d));
  EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, d));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, d));
  EXPECT_FALSE(TryEncodeTime(-1, 0, 0, 0, d));
  try {
    EncodeDate(2001, 2, 30);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to date encode");
  }
  try {
    EncodeTime(25, 0, 0, 0);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to time encode");
  }
}

TEST(DateTime, EveryDayOfTheRangeRoundTrips) {
  TDateTime expected = EncodeDate(1, 1, 1);
  int weekday = DayOfWeek(expected);
  for (int y = 1; y <= 9999; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= DaysInMonth(y, m); ++d) {
        TDateTime value = EncodeDate(y, m, d);
        ASSERT_EQ(value, expected) << y << "-" << m << "-" << d;
        Civil c = DecodedDate(ComposeDateTime(value, 0.75));
        ASSERT_TRUE(c.Year == y && c.Month == m && c.Day == d) << y << "-" << m << "-" << d;
        ASSERT_EQ(DayOfWeek(value), weekday);
        expected += 1;
        weekday = weekday % 7 + 1;
      }
    }
  }
}

TEST(DateTime, NegativeValuesReadTheFractionAsTimeOfDay) {
  Civil c = DecodedDate(-1.25);
  EXPECT_TRUE(c.Year == 1899 && c.Month == 12 && c.Day == 29);
  int h, n, s, ms;
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(n, 0);
  DecodeTime(-0.5, h, n, s, ms);
  EXPECT_EQ(h, 12);
  c = DecodedDate(-0.5);
  EXPECT_TRUE(c.Year == 1899 && c.Month == 12 && c.Day == 30);
  EXPECT_EQ(DayOfWeek(0), 7);                       // Saturday
  EXPECT_EQ(DayOfWeek(-1.25), 6);                   // Friday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);  // Monday
  // A date before the epoch composed with a time decodes back to both.
  TDateTime composed = ComposeDateTime(EncodeDate(1850, 6, 1), EncodeTime(18, 30, 0, 0));
  c = DecodedDate(composed);
  DecodeTime(composed, h, n, s, ms);
  EXPECT_TRUE(c.Year == 1850 && c.Month == 6 && c.Day == 1 && h == 18 && n == 30);
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(DateOf(2.75), 2);
  EXPECT_DOUBLE_EQ(TimeOf(2.75), 0.75);
}

TEST(DateTime, MillisecondRoundingCarriesIntoSecondsAndDays) {
  int h, n, s, ms;
  TDateTime almostSecond = EncodeTime(10, 59, 59, 999) + 0.6 / kMSecsPerDay;
  DecodeTime(almostSecond, h, n, s, ms);
  EXPECT_TRUE(h == 11 && n == 0 && s == 0 && ms == 0) << h << ":" << n << ":" << s << "." << ms;
  TDateTime almostMidnight = EncodeDate(2000, 2, 28) + 0.9999999999;
  Civil c = DecodedDate(almostMidnight);
  EXPECT_TRUE(c.Year == 2000 && c.Month == 2 && c.Day == 29);
  DecodeTime(almostMidnight, h, n, s, ms);
  EXPECT_TRUE(h == 0 && n == 0 && s == 0 && ms == 0);
  c = DecodedDate(EncodeDate(1999, 12, 31) + 0.99999999999);
  EXPECT_TRUE(c.Year == 2000 && c.Month == 1 && c.Day == 1);
  // Every millisecond of a day encodes and decodes exactly.
  for (int t = 0; t < kMSecsPerDay; t += 997) {
    TDateTime v = 40000 + static_cast<double>(t) / kMSecsPerDay;
    DecodeTime(v, h, n, s, ms);
    ASSERT_EQ(((h * 60 + n) * 60 + s) * 1000 + ms, t);
  }
}

TEST(DateTime, TestClockReplacesTheLocalClock) {
  TDateTime fixed = EncodeDate(2010, 7, 4) + EncodeTime(15, 0, 0, 0);
  SetClockForTesting([fixed] { return fixed; });
  EXPECT_EQ(Now(), fixed);
  EXPECT_EQ(Today(), EncodeDate(2010, 7, 4));
  SetClockForTesting(nullptr);
  TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LT(now, EncodeDate(2200, 1, 1));
  time_t unixNow = time(nullptr);
  tm local{};
  localtime_r(&unixNow, &local);
  double apart = std::fabs(std::fmod(now, 1.0) * kSecsPerDay -
                           ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec));
  EXPECT_LT(std::min(apart, kSecsPerDay - apart), 5);  // around midnight too
}

}  // namespace
}  // namespace Vdei
