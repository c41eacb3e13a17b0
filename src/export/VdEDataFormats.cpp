#include "export/VdEDataFormats.h"

#include "core/FormatSettings.h"
#include "core/Properties.h"
#include "core/StrUtils.h"

namespace VdExport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::TPersistent;
using Vdei::Variant;

const TClassInfo& TVdEDataFormats::StaticClassInfo() {
  using F = TVdEDataFormats;
  static const TClassInfo info =
      ClassInfoBuilder<F, TPersistent>("TVdEDataFormats")
          .Enum("DateOrder", {"doMDY", "doDMY", "doYMD", "doYDM", "doDYM", "doMYD"}, &F::DateOrder,
                &F::SetDateOrder, Variant(int(doMDY)))
          .Char("DateSeparator", &F::DateSeparator, &F::SetDateSeparator)
          .Char("TimeSeparator", &F::TimeSeparator, &F::SetTimeSeparator)
          .Boolean("FourDigitYear", &F::FourDigitYear, &F::SetFourDigitYear)
          .Boolean("LeadingZerosInDate", &F::LeadingZerosInDate, &F::SetLeadingZerosInDate)
          .Char("ThousandSeparator", &F::ThousandSeparator, &F::SetThousandSeparator)
          .Char("DecimalSeparator", &F::DecimalSeparator, &F::SetDecimalSeparator)
          .String("CurrencyString", &F::CurrencyString,
                  [](F& f, std::string v) { f.SetCurrencyString(std::move(v)); })
          .String("CustomDateTimeFormat", &F::CustomDateTimeFormat,
                  [](F& f, std::string v) { f.SetCustomDateTimeFormat(std::move(v)); })
          .String("BooleanTrue", &F::BooleanTrue,
                  [](F& f, std::string v) { f.SetBooleanTrue(std::move(v)); })
          .String("BooleanFalse", &F::BooleanFalse,
                  [](F& f, std::string v) { f.SetBooleanFalse(std::move(v)); })
          .Boolean("UseRegionalSettings", &F::UseRegionalSettings, &F::SetUseRegionalSettings,
                   Variant(false))
          .Build();
  return info;
}

TVdEDataFormats::TVdEDataFormats() {
  SetDefaults();
}

void TVdEDataFormats::SetDefaults() {
  const Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  dateOrder_ = doMDY;
  dateSeparator_ = settings.DateSeparator;
  timeSeparator_ = settings.TimeSeparator;
  decimalSeparator_ = settings.DecimalSeparator;
  thousandSeparator_ = settings.ThousandSeparator;
  currencyString_ = settings.CurrencyString;
  fourDigitYear_ = Vdei::Pos("yyyy", settings.ShortDateFormat) != std::string::npos;
  leadingZerosInDate_ = Vdei::Pos("dd", settings.ShortDateFormat) != std::string::npos;
  customDateTimeFormat_.clear();
}

void TVdEDataFormats::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdEDataFormats*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other != this) *this = *other;
}

TVdEFormatSwap::TVdEFormatSwap(const TVdEDataFormats& formats) {
  Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  decimalSeparator_ = settings.DecimalSeparator;
  dateSeparator_ = settings.DateSeparator;
  timeSeparator_ = settings.TimeSeparator;
  thousandSeparator_ = settings.ThousandSeparator;
  currencyString_ = settings.CurrencyString;
  settings.DecimalSeparator = formats.DecimalSeparator();
  settings.DateSeparator = formats.DateSeparator();
  settings.TimeSeparator = formats.TimeSeparator();
  settings.ThousandSeparator = formats.ThousandSeparator();
  settings.CurrencyString = formats.CurrencyString();
}

TVdEFormatSwap::~TVdEFormatSwap() {
  Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  settings.DecimalSeparator = decimalSeparator_;
  settings.DateSeparator = dateSeparator_;
  settings.TimeSeparator = timeSeparator_;
  settings.ThousandSeparator = thousandSeparator_;
  settings.CurrencyString = std::move(currencyString_);
}

}  // namespace VdExport
