// TVdIDataFormats: how an import reads the texts of its source cells as
// dates, numbers and Booleans (published as DataFormats on every import
// component).
//
// A new object holds the process regional settings (FormatSettings()) as
// LoadFromRegionalSettings loads them, with BooleanTrue "True",
// BooleanFalse "False" and UseRegionalSettings false. Assign from another
// TVdIDataFormats copies all twelve settings; the published properties
// keep their declaration order (DateOrder first, UseRegionalSettings last).
// LeadingZerosInDate takes no part in reading; it is kept and copied.
#pragma once

#include <string>

#include "core/Object.h"

namespace VdImport {

// The order of month, day and year in a date.
enum TVdIDateOrder { doMDY, doDMY, doYMD, doYDM, doDYM, doMYD };

class TVdIDataFormats : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdIDataFormats)
  TVdIDataFormats();

  // DateOrder := doMDY; the separators and the currency string := the
  // regional settings' current values; FourDigitYear / LeadingZerosInDate
  // := whether the short date format holds "yyyy" / "dd";
  // CustomDateTimeFormat := empty. BooleanTrue, BooleanFalse and
  // UseRegionalSettings are left as they are.
  void LoadFromRegionalSettings();

  void Assign(const Vdei::TPersistent& source) override;

  TVdIDateOrder DateOrder() const { return dateOrder_; }
  void SetDateOrder(TVdIDateOrder value) { dateOrder_ = value; }
  char DateSeparator() const { return dateSeparator_; }
  void SetDateSeparator(char value) { dateSeparator_ = value; }
  char TimeSeparator() const { return timeSeparator_; }
  void SetTimeSeparator(char value) { timeSeparator_ = value; }
  bool FourDigitYear() const { return fourDigitYear_; }
  void SetFourDigitYear(bool value) { fourDigitYear_ = value; }
  bool LeadingZerosInDate() const { return leadingZerosInDate_; }
  void SetLeadingZerosInDate(bool value) { leadingZerosInDate_ = value; }
  // When not empty its upper-case form is the whole date-time mask.
  const std::string& CustomDateTimeFormat() const { return customDateTimeFormat_; }
  void SetCustomDateTimeFormat(std::string value) { customDateTimeFormat_ = std::move(value); }
  char ThousandSeparator() const { return thousandSeparator_; }
  void SetThousandSeparator(char value) { thousandSeparator_ = value; }
  char DecimalSeparator() const { return decimalSeparator_; }
  void SetDecimalSeparator(char value) { decimalSeparator_ = value; }
  const std::string& CurrencyString() const { return currencyString_; }
  void SetCurrencyString(std::string value) { currencyString_ = std::move(value); }
  const std::string& BooleanTrue() const { return booleanTrue_; }
  void SetBooleanTrue(std::string value) { booleanTrue_ = std::move(value); }
  const std::string& BooleanFalse() const { return booleanFalse_; }
  void SetBooleanFalse(std::string value) { booleanFalse_ = std::move(value); }
  // Reload from the regional settings before each run.
  bool UseRegionalSettings() const { return useRegionalSettings_; }
  void SetUseRegionalSettings(bool value) { useRegionalSettings_ = value; }

 private:
  TVdIDateOrder dateOrder_ = doMDY;
  char dateSeparator_ = '/';
  char timeSeparator_ = ':';
  bool fourDigitYear_ = true;
  bool leadingZerosInDate_ = false;
  std::string customDateTimeFormat_;
  char thousandSeparator_ = ',';
  char decimalSeparator_ = '.';
  std::string currencyString_ = "$";
  std::string booleanTrue_ = "True";
  std::string booleanFalse_ = "False";
  bool useRegionalSettings_ = false;
};

}  // namespace VdImport
