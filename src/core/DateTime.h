// TDateTime: days since 30 December 1899 in the integer part, the time of
// day as the fraction (0.5 is noon). Negative values are days before the
// epoch; their fraction is read as a positive time of day (-1.25 is
// 29 December 1899, 06:00), as the framework does.
//
// Also the process clock: Now() and Today() read the local clock unless a
// test has fixed it with SetClockForTesting.
#pragma once

#include <functional>

namespace Vdei {

using TDateTime = double;

constexpr int kHoursPerDay = 24;
constexpr int kMinsPerDay = 24 * 60;
constexpr int kSecsPerDay = 24 * 60 * 60;
constexpr int kMSecsPerDay = 24 * 60 * 60 * 1000;
// Day number of 1 January 1970 (the Unix epoch).
constexpr int kUnixDateDelta = 25569;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// Encoding fails for year outside 1..9999, month outside 1..12, a day
// outside the month, hour > 23, minute or second > 59, ms > 999.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
// As above, raising EConvertError "Invalid argument to date encode" /
// "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// Decoding rounds the time of day to the nearest millisecond; a fraction
// that rounds to a whole day carries into the date. NaN, infinities and
// values beyond 1E11 days raise EConvertError "Invalid argument to date
// decode" (so do the date texts and DayOfWeek of such values).
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

// The date part (whole days) and the time part (fraction) of a value.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
// A date (whole days) with a time of day (0 <= time < 1): date + time, or
// date - time for a date before the epoch, so that the result decodes to
// that date and time.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Local clock, millisecond resolution; fixed while a test clock is set.
TDateTime Now();
TDateTime Today();  // Now() without its time of day

// Replaces the clock until called again with an empty function.
void SetClockForTesting(std::function<TDateTime()> clock);

}  // namespace Vdei
