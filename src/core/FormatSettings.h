// The process-wide regional settings: separators, currency, date and time
// formats, month and day names, time designators.
//
// The default profile is fixed (it does not come from the machine's locale)
// so that every text the system writes is the same everywhere:
//   DecimalSeparator '.', ThousandSeparator ',', DateSeparator '/',
//   TimeSeparator ':', CurrencyString "$", ShortDateFormat "M/d/yyyy",
//   LongTimeFormat "h:nn:ss AMPM", ShortTimeFormat "h:nn AMPM",
//   TimeAMString "AM", TimePMString "PM", English month and day names,
//   CurrencyFormat 0, NegCurrFormat 0, CurrencyDecimals 2.
//
// Only the user-interface thread touches these settings. An export run
// replaces some of them for its duration through FormatSettingsGuard.
#pragma once

#include <array>
#include <string>

namespace Vdei {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string CurrencyString = "$";
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn AMPM";
  std::string LongTimeFormat = "h:nn:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  // 0: "$1", 1: "1$", 2: "$ 1", 3: "1 $" (currency string before/after).
  int CurrencyFormat = 0;
  // 0: "($1)"; the other Windows negative formats 1..15 are supported too.
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;
};

// The process-wide settings object.
TFormatSettings& FormatSettings();

// The fixed default profile described above.
const TFormatSettings& DefaultFormatSettings();

// Saves the whole settings object and restores it when destroyed (also
// when an exception unwinds), so a run can change settings safely.
class FormatSettingsGuard {
 public:
  FormatSettingsGuard() : saved_(FormatSettings()) {}
  ~FormatSettingsGuard() { FormatSettings() = saved_; }
  FormatSettingsGuard(const FormatSettingsGuard&) = delete;
  FormatSettingsGuard& operator=(const FormatSettingsGuard&) = delete;

 private:
  TFormatSettings saved_;
};

}  // namespace Vdei
