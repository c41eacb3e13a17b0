// TVdEDataFormats: the value formatting settings of an export component
// (published as DataFormats), and TVdEFormatSwap, which puts five of them
// into the process regional settings for the length of a run.
//
// A new object holds the process regional settings as SetDefaults reads
// them, with BooleanTrue "True", BooleanFalse "False" and
// UseRegionalSettings false. Only the decimal, date, time and thousand
// separators and the currency string reach any text (through the swap);
// BooleanTrue / BooleanFalse name the two Boolean values; DateOrder,
// FourDigitYear, LeadingZerosInDate and CustomDateTimeFormat are stored
// and copied only. Assign from another TVdEDataFormats copies all twelve.
#pragma once

#include <string>

#include "core/Object.h"

namespace VdExport {

enum TVdEDateOrder { doMDY, doDMY, doYMD, doYDM, doDYM, doMYD };

class TVdEDataFormats : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdEDataFormats)
  TVdEDataFormats();

  // DateOrder := doMDY; the four separators and CurrencyString := the
  // process's current values; FourDigitYear / LeadingZerosInDate := the
  // short date format contains "yyyy" / "dd" (case-sensitive);
  // CustomDateTimeFormat := empty. The Boolean words and
  // UseRegionalSettings stay as they are.
  void SetDefaults();

  void Assign(const Vdei::TPersistent& source) override;

  TVdEDateOrder DateOrder() const { return dateOrder_; }
  void SetDateOrder(TVdEDateOrder value) { dateOrder_ = value; }
  char DateSeparator() const { return dateSeparator_; }
  void SetDateSeparator(char value) { dateSeparator_ = value; }
  char TimeSeparator() const { return timeSeparator_; }
  void SetTimeSeparator(char value) { timeSeparator_ = value; }
  bool FourDigitYear() const { return fourDigitYear_; }
  void SetFourDigitYear(bool value) { fourDigitYear_ = value; }
  bool LeadingZerosInDate() const { return leadingZerosInDate_; }
  void SetLeadingZerosInDate(bool value) { leadingZerosInDate_ = value; }
  char ThousandSeparator() const { return thousandSeparator_; }
  void SetThousandSeparator(char value) { thousandSeparator_ = value; }
  char DecimalSeparator() const { return decimalSeparator_; }
  void SetDecimalSeparator(char value) { decimalSeparator_ = value; }
  const std::string& CurrencyString() const { return currencyString_; }
  void SetCurrencyString(std::string value) { currencyString_ = std::move(value); }
  const std::string& CustomDateTimeFormat() const { return customDateTimeFormat_; }
  void SetCustomDateTimeFormat(std::string value) { customDateTimeFormat_ = std::move(value); }
  const std::string& BooleanTrue() const { return booleanTrue_; }
  void SetBooleanTrue(std::string value) { booleanTrue_ = std::move(value); }
  const std::string& BooleanFalse() const { return booleanFalse_; }
  void SetBooleanFalse(std::string value) { booleanFalse_ = std::move(value); }
  // BeginExport reloads the regional values first.
  bool UseRegionalSettings() const { return useRegionalSettings_; }
  void SetUseRegionalSettings(bool value) { useRegionalSettings_ = value; }

 private:
  TVdEDateOrder dateOrder_ = doMDY;
  char dateSeparator_ = '/';
  char timeSeparator_ = ':';
  bool fourDigitYear_ = true;
  bool leadingZerosInDate_ = false;
  char thousandSeparator_ = ',';
  char decimalSeparator_ = '.';
  std::string currencyString_ = "$";
  std::string customDateTimeFormat_;
  std::string booleanTrue_ = "True";
  std::string booleanFalse_ = "False";
  bool useRegionalSettings_ = false;
};

// Replaces the process decimal, date, time and thousand separators and the
// currency string by those of formats, and puts the replaced values back
// when destroyed (also when an exception unwinds). Nothing else of the
// regional settings is touched.
class TVdEFormatSwap {
 public:
  explicit TVdEFormatSwap(const TVdEDataFormats& formats);
  ~TVdEFormatSwap();
  TVdEFormatSwap(const TVdEFormatSwap&) = delete;
  TVdEFormatSwap& operator=(const TVdEFormatSwap&) = delete;

 private:
  char decimalSeparator_;
  char dateSeparator_;
  char timeSeparator_;
  char thousandSeparator_;
  std::string currencyString_;
};

}  // namespace VdExport
